#!/usr/bin/python3
"""Adds media files through the add dialog, as a person does, and reads the list summary and the
media panel of the selected file."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402

MAIN_TITLE = "Varid Video Converter"


def test(program_dir, media_dir, shots_dir):
    media_dir = os.path.realpath(media_dir)
    names = ["again.mkv", "rabbit320.mp4", "viper.mp3"]
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        main = s.window(MAIN_TITLE)
        assert s.label(main, prefix="Summary:") == "Summary: No files"
        for i, name in enumerate(names):
            s.press(s.find(main, role="push button", name="Add"))
            dialog = s.window("Add Files")
            s.focus(dialog)
            # Qt's own file dialog: the full path typed into the name field. The text is set
            # whole (typing it races the dialog's completer).
            s.set_text(s.find(dialog, role="text", name="File name:"), os.path.join(media_dir, name))
            if i == 0:
                s.screenshot("add-dialog")
            s.key("Return")
            s.wait_for(lambda: s.label(main, prefix="Summary:") != ("Summary: No files", "Summary: One file",
                                                                   "Summary: 2 files")[i], "file %d added" % (i + 1))
        s.wait_for(lambda: s.label(main, prefix="Summary:") == "Summary: 3 files", "three files listed")
        files = s.find(main, role="list", name="Source files")
        rows = [s.name(c) for c in s.children(files) if s.role(c) == "list item"]
        assert rows == [os.path.join(media_dir, n) for n in names], rows

        # The last file added is selected: an audio-only file has no video facts.
        viper = os.path.join(media_dir, "viper.mp3")
        s.wait_for(lambda: s.value(main, "General Complete Name:") == viper, "the panel showing viper.mp3")
        assert s.value(main, "Video Width:") == "<None>"
        assert s.value(main, "Video Codec:") == "<None>"
        assert s.value(main, "Audio Codec:") not in ("", "<None>", "...")
        assert s.value(main, "Audio Channels:") == "2", s.value(main, "Audio Channels:")
        assert s.find(main, role="push button", name="More...")
        # The output labels show the stored choice from the start.
        assert s.value(main, "Output Format:") == "To AVI"
        s.screenshot("main-with-files")


if __name__ == "__main__":
    varid_e2e.main_guard(test)
