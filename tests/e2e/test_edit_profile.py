#!/usr/bin/python3
"""A profile edited from the chooser is what the next conversion uses: the AVI editor opened with
"Edit ProFile", a new video size typed and another MP3 sample rate picked from its list, Save,
and the converted file has that size and rate."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402

EDITOR_TITLE = "AVI Profile Editor"


def set_spin(s, spin, value):
    s.Atspi.Accessible.clear_cache(spin)
    spin.queryValue().currentValue = float(value)
    s.wait_for(lambda: s.text(spin) == str(value), "%s set to %s" % (s.name(spin), value))


def test(program_dir, media_dir, shots_dir):
    clip = os.path.join(os.path.realpath(media_dir), "rabbit320.mp4")
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        out_dir = os.path.join(s.tmp, "out")
        os.makedirs(out_dir)
        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, [clip])
        chooser = varid_e2e.open_chooser(s, main)
        varid_e2e.choose_radio_format(s, chooser, "To AVI")
        varid_e2e.set_output_folder(s, chooser, out_dir)

        s.press(s.find(chooser, role="push button", name="Edit ProFile"))
        editor = s.window_where(lambda t: t == EDITOR_TITLE, "the AVI editor")
        # The shipped Default profile: DivX video with the source's size, MP3 audio.
        s.find(editor, role="combo box", name="Divx", showing_only=True)
        s.find(editor, role="combo box", name="Mp3", showing_only=True)

        # Video page: the size changed by hand.
        s.press(s.find(editor, role="page tab", name="Video"))
        size = s.find(editor, role="panel", name="Divx Video Size", showing_only=True)
        change = s.find(size, role="radio button", name="Divx Change dimensions")
        s.press(change)
        s.wait_for(lambda: "checked" in s.states(change), "change dimensions chosen")
        width = s.find(size, role="spin button", name="Divx Width")
        height = s.find(size, role="spin button", name="Divx Height")
        s.wait_for(lambda: "enabled" in s.states(width), "the width enabled")
        set_spin(s, width, 352)
        set_spin(s, height, 288)
        s.screenshot("avi-editor-video")

        # Audio page: the next sample rate of the list, picked with the mouse and keyboard.
        s.press(s.find(editor, role="page tab", name="Audio"))
        rate_group = s.find(editor, role="panel", name="Mp3 Sample Rate", showing_only=True)
        rate = s.find(rate_group, role="combo box")
        old_rate = s.name(rate)
        s.focus(editor)
        s.click(rate)
        s.find(rate, role="list", showing_only=True)  # the list is open
        s.key("Down")
        s.key("Return")
        s.wait_for(lambda: s.name(s.find(rate_group, role="combo box")) != old_rate, "another sample rate")
        new_rate = s.name(s.find(rate_group, role="combo box"))
        assert new_rate.isdigit() and int(new_rate) > int(old_rate), (old_rate, new_rate)
        s.screenshot("avi-editor-audio")

        s.press(s.find(editor, role="push button", name="Save"))
        s.gone(lambda t: t == EDITOR_TITLE, "the editor closed")
        with open(os.path.join(s.program_dir, "langs", "English_Profile", "avi", "Default.avo")) as f:
            saved = f.read()
        assert "VideoWidthDivX=352" in saved and "VideoHeightDivX=288" in saved, saved

        s.press(s.find(chooser, role="push button", name="OK"))
        s.gone(lambda t: t == varid_e2e.CHOOSER_TITLE, "the chooser closed")
        varid_e2e.start_convert(s, main)
        varid_e2e.wait_batch_end(s, timeout=300)
        s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: No files", "the file converted")

        out = os.path.join(out_dir, "rabbit320.avi")
        assert os.path.isfile(out), os.listdir(out_dir)
        facts = varid_e2e.ffprobe(out, "format=format_name:stream=codec_type,width,height,sample_rate")
        assert facts.get("format.format_name") == "avi", facts
        video = [k.split(".")[2] for k, v in facts.items() if k.endswith(".codec_type") and v == "video"]
        audio = [k.split(".")[2] for k, v in facts.items() if k.endswith(".codec_type") and v == "audio"]
        assert video and audio, facts
        assert facts["streams.stream.%s.width" % video[0]] == "352", facts
        assert facts["streams.stream.%s.height" % video[0]] == "288", facts
        assert facts["streams.stream.%s.sample_rate" % audio[0]] == new_rate, facts
        assert varid_e2e.mediainfo(out, "Audio;%SamplingRate%") == new_rate, out


if __name__ == "__main__":
    varid_e2e.main_guard(test)
