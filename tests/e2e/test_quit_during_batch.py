#!/usr/bin/python3
"""The program told to end while a file converts (as the desktop does when the session ends): the
engine and its FFmpeg end with it, and nothing of the file is left in the output folder. The file
reaches FFmpeg through a named pipe nobody writes, so it is converting until the program ends."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402


def test(program_dir, media_dir, shots_dir):
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30) as s:
        clip = os.path.join(s.tmp, "clips", "clip.mkv")
        os.makedirs(os.path.dirname(clip))
        shutil.copy(os.path.join(media_dir, "again.mkv"), clip)
        out_dir = os.path.join(s.tmp, "out")
        os.makedirs(out_dir)

        main = s.window(varid_e2e.MAIN_TITLE)
        varid_e2e.add_files(s, main, [clip])
        varid_e2e.choose_output(s, main, "To AVI", out_dir)

        os.unlink(clip)
        os.mkfifo(clip)
        varid_e2e.start_convert(s, main)
        # Converting: the engine runs FFmpeg, which waits in the pipe, and has its temporary file.
        found = {}

        def converting():
            if not any(".varid-part-" in name for name in os.listdir(out_dir)):
                return False
            for engine in varid_e2e.child_processes(s.pid):
                for ffmpeg in varid_e2e.child_processes(engine):
                    found.update(engine=engine, ffmpeg=ffmpeg)
            return bool(found)
        s.wait_for(converting, "the file converting", timeout=60)
        s.screenshot("converting")

        s.close_program()
        s.wait_for(lambda: not varid_e2e.process_running(found["engine"]), "the engine's end", timeout=60)
        assert not varid_e2e.process_running(found["ffmpeg"]), "FFmpeg outlived the program"
        assert os.listdir(out_dir) == [], os.listdir(out_dir)


if __name__ == "__main__":
    varid_e2e.main_guard(test)
