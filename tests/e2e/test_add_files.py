#!/usr/bin/python3
"""Adds media files through the add dialog, as a person does, and reads the list summary and the
media panel of the selected file."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402

def test(program_dir, media_dir, shots_dir):
    media_dir = os.path.realpath(media_dir)
    names = ["again.mkv", "rabbit320.mp4", "viper.mp3"]
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        main = s.window(varid_e2e.MAIN_TITLE)
        assert varid_e2e.summary(s, main) == "Summary: No files"
        varid_e2e.add_files(s, main, [os.path.join(media_dir, n) for n in names], shot="add-dialog")
        assert varid_e2e.summary(s, main) == "Summary: 3 files"
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
