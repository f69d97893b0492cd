#!/usr/bin/python3
"""Opens the file information window of a listed file and saves its report through Qt's save
dialog, then changes a setting with the keyboard shortcut and confirms it."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402


def test(program_dir, media_dir, shots_dir):
    clip = os.path.join(os.path.realpath(media_dir), "rabbit320.mp4")
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, [clip])

        s.press(s.find(main, role="push button", name="More..."))
        info = s.window("File Information - rabbit320.mp4")
        report = s.text(s.find(info, role="text"))
        assert "MPEG-4" in report, report[:200]
        s.screenshot("file-information")
        s.press(s.find(info, role="push button", name="Save File Info..."))
        save = s.window("Save File Info")
        name_field = s.find(save, role="text", name="File name:")
        assert s.text(name_field) == "File Info", s.text(name_field)
        target = os.path.join(s.tmp, "File Info")
        s.focus(save)
        s.set_text(name_field, target)
        s.key("Return")
        s.wait_for(lambda: os.path.exists(target + ".txt"), "File Info.txt written")
        with open(target + ".txt") as f:
            assert "MPEG-4" in f.read()
        s.press(s.find(info, role="push button", name="OK"))
        # The window is kept for the next file: it is hidden, not gone.
        s.wait_for(lambda: "showing" not in s.states(info), "the window hidden")

        # Ctrl+E opens the settings; the choice is stored on OK.
        s.focus(main)
        s.key("ctrl+e")
        settings = s.window("Settings")
        s.screenshot("settings")
        s.press(s.find(settings, role="check box", name="Use DirectShow"))
        s.wait_for(lambda: "checked" in s.states(s.find(settings, role="check box", name="Use DirectShow")),
                   "the box checked")
        s.press(s.find(settings, role="push button", name="OK"))
        options = os.path.join(s.program_dir, "options.ini")
        s.wait_for(lambda: "UseDirectShow=1" in open(options).read(), "the option saved")


if __name__ == "__main__":
    varid_e2e.main_guard(test)
