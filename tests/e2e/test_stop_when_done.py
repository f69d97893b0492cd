#!/usr/bin/python3
"""A batch of three files stopped "When done": Cancel in the progress window asks whether to stop
now or when the current file is done; after "When done" the current file finishes and is
converted, and the list keeps the two files the batch never reached, in their order. The first
file reaches FFmpeg through a named pipe the test feeds: it converts the first half and waits,
and gets the rest only once the question is answered."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402


def make_clip(path, seconds):
    """A test picture with a tone. A Matroska file has its index in front, so that FFmpeg reading
    it from a pipe converts as the data comes instead of reading ahead for the index."""
    front = ["-cues_to_front", "1"] if path.endswith(".mkv") else []
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=%d" % seconds,
                    "-f", "lavfi", "-i", "sine=frequency=440:duration=%d" % seconds,
                    "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-shortest"] + front + [path],
                   check=True, timeout=300, stdin=subprocess.DEVNULL)


def progress_value(s, bar):
    s.Atspi.Accessible.clear_cache(bar)
    return bar.queryValue().currentValue


def one_file_at_a_time(s):
    """The stop of the one-at-a-time batch: its current file's bar and the question about it."""
    with open(os.path.join(s.program_dir, "options.ini"), "w") as f:
        f.write("[VideoConvertoptions]\nFilesAtOnce=1\n")


def test(program_dir, media_dir, shots_dir):
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30, prepare=one_file_at_a_time) as s:
        clips = [os.path.join(s.tmp, "clips", n) for n in ("first.mkv", "second.mp4", "third.mp4")]
        os.makedirs(os.path.dirname(clips[0]))
        for clip, seconds in zip(clips, (20, 3, 3)):
            make_clip(clip, seconds)
        out_dir = os.path.join(s.tmp, "out")
        os.makedirs(out_dir)

        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, clips)
        varid_e2e.choose_output(s, main, "To AVI", out_dir)

        first = varid_e2e.PipedSource(clips[0])
        first.send(len(first.data) // 2)
        progress = varid_e2e.start_convert(s, main)
        # The first file is converting once its bar moves; FFmpeg gets up to three quarters of it.
        bar = s.find(progress, role="progress bar", name="Current file progress")

        def moving():
            first.send_more(4096, len(first.data) * 3 // 4)
            return progress_value(s, bar) > 0
        s.wait_for(moving, "the first file's progress", timeout=120)
        s.press(s.find(progress, role="push button", name="Cancel"))
        question = s.window_where(lambda t: t == "Question", "the stop question")
        s.screenshot("stop-question")
        s.press(s.find(question, role="push button", name="When done"))
        s.gone(lambda t: t == "Question", "the stop question answered")
        # The window says so and the batch goes on with the current file.
        s.find(progress, role="label", name="Stopping encoding when done with current file...",
               showing_only=True)
        assert progress_value(s, bar) < 100, progress_value(s, bar)
        s.screenshot("stopping-when-done")
        first.finish()

        varid_e2e.wait_batch_end(s, timeout=900)
        s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: 2 files", "two files left")
        files = s.find(main, role="list", name="Source files")
        rows = [s.name(c) for c in s.children(files) if s.role(c) == "list item"]
        assert rows == clips[1:], rows
        assert os.listdir(out_dir) == ["first.avi"], os.listdir(out_dir)
        out = os.path.join(out_dir, "first.avi")
        facts = varid_e2e.ffprobe(out, "format=format_name,duration")
        assert facts.get("format.format_name") == "avi", facts
        # Converted whole, not cut off where the question was answered.
        assert float(facts.get("format.duration", 0)) > 19, facts
        s.screenshot("after-stop")


if __name__ == "__main__":
    varid_e2e.main_guard(test)
