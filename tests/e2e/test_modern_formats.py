#!/usr/bin/python3
"""The modern formats as a person uses them: "To Others..." offers them after the classic ones; the
MKV editor switches to H.265 video at the fastest speed with Opus sound, the FLAC editor to 16-bit
samples at 22050 Hz; Save; and each conversion gives what was saved, the song's tags included."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402

# The "To Others..." menu as it shows, top to bottom (a line stands between ASF and MKV).
OTHERS = ["To AAC", "To AC3", "To MP2", "To MP3", "To AMR", "To WAV", "To VOB", "To ASF",
          "To MKV", "To WebM", "To M4A", "To FLAC", "To Opus", "To OGG"]


def choose_other_format(s, main, chooser, caption):
    """Opens "To Others..." with the mouse and picks caption with the keyboard, as the open menu is
    not in the accessibility tree; the main window then shows the format."""
    s.focus(chooser)
    s.click(s.find(chooser, name="To Others..."))
    for _ in range(OTHERS.index(caption) + 1):
        s.key("Down")
    s.key("Return")
    s.wait_for(lambda: s.value(main, "Output Format:") == caption, "the main window showing " + caption)


def pick_in_list(s, window, combo, steps):
    """Opens a combo box with the mouse and moves steps entries down with the keyboard; its new
    text."""
    old = s.name(combo)
    s.focus(window)
    s.click(combo)
    s.find(combo, role="list", showing_only=True)  # the list is open
    for _ in range(steps):
        s.key("Down")
    s.key("Return")
    s.wait_for(lambda: s.name(combo) != old, "another entry of " + repr(old))
    return s.name(combo)


def edit_default(s, chooser, title, edit):
    """Chooses the format's Default profile (the list starts with the first by name), opens its
    editor, runs edit on it and saves."""
    # The profile list takes typing: the arrow key in its field steps to the next profile.
    profiles = [c for c in s.find_all(chooser, role="combo box") if "showing" in s.states(c)][0]
    if s.name(profiles) != "Default":
        s.focus(chooser)
        s.click(profiles)
        s.key("Down")
        s.wait_for(lambda: s.name(profiles) == "Default", "the Default profile")
    s.press(s.find(chooser, role="push button", name="Edit ProFile"))
    editor = s.window_where(lambda t: t == title, "the " + title)
    edit(editor)
    s.press(s.find(editor, role="push button", name="Save"))
    s.gone(lambda t: t == title, title + " closed")


def convert(s, main, chooser, source):
    """Adds the source, closes the chooser with OK and converts; the list is empty afterwards."""
    s.press(s.find(chooser, role="push button", name="OK"))
    s.gone(lambda t: t == varid_e2e.CHOOSER_TITLE, "the chooser closed")
    varid_e2e.add_files(s, main, [source])
    varid_e2e.start_convert(s, main)
    varid_e2e.wait_batch_end(s, timeout=300)
    s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: No files", "the file converted")


def test(program_dir, media_dir, shots_dir):
    media_dir = os.path.realpath(media_dir)
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        out_dir = os.path.join(s.tmp, "out")
        os.makedirs(out_dir)
        profiles = os.path.join(s.program_dir, "langs", "English_Profile")
        main = s.window(varid_e2e.MAIN_TITLE)

        # MKV: H.265 at the fastest speed, Opus sound.
        chooser = varid_e2e.open_chooser(s, main)
        choose_other_format(s, main, chooser, "To MKV")
        varid_e2e.set_output_folder(s, chooser, out_dir)

        def edit_mkv(editor):
            video = s.find(s.find(editor, role="panel", name="Video Codec", showing_only=True), role="combo box")
            assert s.name(video) == "H264", s.name(video)
            assert pick_in_list(s, editor, video, 1) == "H.265 (HEVC)"
            audio = s.find(s.find(editor, role="panel", name="Audio Codec", showing_only=True), role="combo box")
            assert pick_in_list(s, editor, audio, 1) == "Opus"
            s.press(s.find(editor, role="page tab", name="Video"))
            quality = s.find(editor, role="check box", name="H.265 (HEVC) Use a constant quality (CRF) instead of a bitrate",
                             showing_only=True)
            assert "checked" in s.states(quality)
            speed = s.find(s.find(editor, role="panel", name="H.265 (HEVC) Encoder Speed", showing_only=True),
                           role="combo box")
            s.focus(editor)
            s.click(speed)
            s.find(speed, role="list", showing_only=True)
            s.key("Home")
            s.key("Return")
            s.wait_for(lambda: s.name(speed) == "ultrafast", "the fastest speed")
            s.screenshot("mkv-editor-video", s.extents(editor))
        edit_default(s, chooser, "MKV Profile Editor", edit_mkv)
        with open(os.path.join(profiles, "mkv", "Default.mko")) as f:
            saved = f.read()
        for line in ("VideoCodec=1", "AudioCodec=1", "VideoSpeedH265=0"):
            assert line in saved.splitlines(), (line, saved)
        convert(s, main, chooser, os.path.join(media_dir, "rabbit320.mp4"))
        out = os.path.join(out_dir, "rabbit320.mkv")
        facts = varid_e2e.ffprobe(out, "format=format_name:stream=codec_name")
        assert "matroska" in facts.get("format.format_name", ""), facts
        assert sorted(v for k, v in facts.items() if k.endswith(".codec_name")) == ["hevc", "opus"], facts
        assert varid_e2e.mediainfo(out, "Video;%Format%") == "HEVC", out

        # FLAC: 16-bit samples at 22050 Hz; the song's tags come along.
        chooser = varid_e2e.open_chooser(s, main)
        choose_other_format(s, main, chooser, "To FLAC")
        varid_e2e.set_output_folder(s, chooser, out_dir)  # a new chooser reads the stored folder

        def edit_flac(editor):
            s.press(s.find(editor, role="page tab", name="Audio"))
            size = s.find(s.find(editor, role="panel", name="FLAC (lossless) Sample Size", showing_only=True),
                          role="combo box")
            assert s.name(size) == "As source", s.name(size)
            assert pick_in_list(s, editor, size, 1) == "16 bit"
            rate = s.find(s.find(editor, role="panel", name="FLAC (lossless) Sample Rate", showing_only=True),
                          role="combo box")
            assert pick_in_list(s, editor, rate, 4) == "22050"
            s.screenshot("flac-editor-audio", s.extents(editor))
        edit_default(s, chooser, "FLAC Profile Editor", edit_flac)
        convert(s, main, chooser, os.path.join(media_dir, "viper.ogg"))
        out = os.path.join(out_dir, "viper.flac")
        facts = varid_e2e.ffprobe(out, "stream=codec_name,sample_rate,sample_fmt:format_tags=title")
        assert facts.get("streams.stream.0.codec_name") == "flac", facts
        assert facts.get("streams.stream.0.sample_rate") == "22050", facts
        assert facts.get("streams.stream.0.sample_fmt") == "s16", facts
        assert varid_e2e.mediainfo(out, "General;%Title%") == "Horned Viper", out


if __name__ == "__main__":
    varid_e2e.main_guard(test)
