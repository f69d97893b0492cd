#!/usr/bin/python3
"""A newcomer's first batch: the chooser keeps the choice (To WMV and a folder, OK; opened again
it shows them and the main window stays as it was), Cancel puts the choice back after To MP4 was
picked, and the batch (with "Delete source file after encoding" kept from the last session) moves
the converted source to the Trash; with neither a tray nor a notification service on this desktop
the main window says how many files were converted and where the source went."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402


def labels(s, main):
    return [s.value(main, d) for d in ("Output Format:", "ProFile:", "Output Directory:")]


def test(program_dir, media_dir, shots_dir):
    def tick_delete_source(s):
        # The last session left "Delete source file after encoding" ticked.
        with open(os.path.join(s.program_dir, "options.ini"), "w") as f:
            f.write("[VideoConvertoptions]\nDeleteFileAfterProcessing=1\n")

    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30, prepare=tick_delete_source,
                           window_manager=["openbox"]) as s:
        clip = os.path.join(s.tmp, "clips", "clip.mp4")
        os.makedirs(os.path.dirname(clip))
        shutil.copy(os.path.join(os.path.realpath(media_dir), "rabbit320.mp4"), clip)
        out_dir = os.path.join(s.tmp, "out")
        os.makedirs(out_dir)

        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, [clip])
        varid_e2e.choose_output(s, main, "To WMV", out_dir)
        s.wait_for(lambda: labels(s, main) == ["To WMV", "Default", out_dir], "the choice in the main window")

        # Opened again: the choice in use, and nothing changed in the main window.
        chooser = varid_e2e.open_chooser(s, main)
        wmv = s.find(chooser, role="radio button", name="To WMV")
        assert "checked" in s.states(wmv), s.states(wmv)
        assert s.text(s.find(chooser, role="text", name="Output Directory:")) == out_dir
        assert labels(s, main) == ["To WMV", "Default", out_dir], labels(s, main)
        s.focus(chooser)
        s.screenshot("chooser-reopened", s.framed(chooser))

        # To MP4, then Cancel: WMV is back, in the main window and in the chooser.
        varid_e2e.choose_radio_format(s, chooser, "To MP4")
        s.wait_for(lambda: s.value(main, "Output Format:") == "To MP4", "MP4 shown while choosing")
        s.press(s.find(chooser, role="push button", name="Cancel"))
        s.gone(lambda t: t == varid_e2e.CHOOSER_TITLE, "the chooser cancelled")
        s.wait_for(lambda: labels(s, main) == ["To WMV", "Default", out_dir], "the choice put back")
        chooser = varid_e2e.open_chooser(s, main)
        s.wait_for(lambda: "checked" in s.states(s.find(chooser, role="radio button", name="To WMV")),
                   "To WMV checked after the Cancel")
        s.focus(chooser)
        s.screenshot("chooser-after-cancel", s.framed(chooser))
        s.press(s.find(chooser, role="push button", name="OK"))
        s.gone(lambda t: t == varid_e2e.CHOOSER_TITLE, "the chooser closed")

        varid_e2e.start_convert(s, main)
        varid_e2e.wait_batch_end(s, timeout=300)
        s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: No files", "the list emptied")
        assert os.path.isfile(os.path.join(out_dir, "clip.wmv")), os.listdir(out_dir)
        # The source went to the Trash, from where it can be put back.
        assert not os.path.exists(clip)
        assert os.path.isfile(os.path.join(s.home, ".local", "share", "Trash", "files", "clip.mp4"))

        # No tray and no notification service here: the window itself says it.
        message = s.find(main, role="label", name_prefix="One file converted.")
        assert s.name(message) == "One file converted.\nSource files moved to the Trash: 1", s.name(message)
        s.find(main, role="push button", name="Open Destination Folder")
        s.find(main, role="push button", name="Close this message")
        s.focus(main)
        s.screenshot("success", s.framed(main))


if __name__ == "__main__":
    varid_e2e.main_guard(test)
