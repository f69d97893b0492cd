#!/usr/bin/python3
"""A whole conversion as a person does it: files added through the add dialog, their facts read in
the summary and the media panel, a format and a new output folder chosen in the chooser (the
program offers to create the folder), Convert, and the outputs checked for their container."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402


def test(program_dir, media_dir, shots_dir):
    media_dir = os.path.realpath(media_dir)
    names = ["rabbit320.mp4", "again.mkv"]
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, [os.path.join(media_dir, n) for n in names])
        assert varid_e2e.summary(s, main) == "Summary: 2 files"
        # The last file added is selected and described in the panel.
        s.wait_for(lambda: s.value(main, "General Complete Name:") == os.path.join(media_dir, "again.mkv"),
                   "the panel showing again.mkv")
        assert s.value(main, "Video Width:") == "640", s.value(main, "Video Width:")
        assert s.value(main, "Video Height:") == "480", s.value(main, "Video Height:")

        # A folder that does not exist yet: the program asks to create it when the batch starts.
        out_dir = os.path.join(s.tmp, "out", "mp4")
        chooser = varid_e2e.open_chooser(s, main)
        varid_e2e.choose_radio_format(s, chooser, "To MP4")
        s.wait_for(lambda: s.value(main, "Output Format:") == "To MP4", "the main window showing MP4")
        varid_e2e.set_output_folder(s, chooser, out_dir)
        s.screenshot("chooser")
        s.press(s.find(chooser, role="push button", name="OK"))
        s.gone(lambda t: t == varid_e2e.CHOOSER_TITLE, "the chooser closed")
        s.wait_for(lambda: s.value(main, "Output Directory:") == out_dir, "the folder in the main window")
        assert s.value(main, "ProFile:") not in ("", "..."), s.value(main, "ProFile:")

        s.press(s.find(main, role="push button", name="Convert"))
        varid_e2e.answer(s, "Create directory", "Yes")
        s.window_where(varid_e2e.is_progress_title, "the progress window", timeout=60)
        varid_e2e.wait_batch_end(s, timeout=300)
        # Every converted file leaves the list.
        s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: No files", "the list emptied")

        for name in names:
            out = os.path.join(out_dir, os.path.splitext(name)[0] + ".mp4")
            assert os.path.isfile(out), "missing output %s; folder holds %s" % (out, os.listdir(out_dir))
            facts = varid_e2e.ffprobe(out, "format=format_name:stream=codec_type")
            assert "mp4" in facts.get("format.format_name", ""), facts
            assert "video" in facts.values(), facts
            assert varid_e2e.mediainfo(out, "General;%Format%") == "MPEG-4", out
        assert sorted(os.listdir(out_dir)) == ["again.mp4", "rabbit320.mp4"], os.listdir(out_dir)


if __name__ == "__main__":
    varid_e2e.main_guard(test)
