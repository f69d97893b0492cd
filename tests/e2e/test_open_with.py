#!/usr/bin/python3
"""Opens media files with the program as a file manager does: files given at start-up fill the
list, and a second start with more files hands them to the running window and ends."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402


def test(program_dir, media_dir, shots_dir):
    media_dir = os.path.realpath(media_dir)
    first = os.path.join(media_dir, "viper.mp3")
    second = [os.path.join(media_dir, n) for n in ("rabbit320.mp4", "again.mkv")]
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30, args=[first]) as s:
        main = s.window(varid_e2e.MAIN_TITLE)
        s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: One file", "the file given at start-up")

        env = dict(os.environ)
        env.update({"DISPLAY": s.display, "XDG_RUNTIME_DIR": s.run_dir, "HOME": s.home})
        env.pop("QT_QPA_PLATFORM", None)
        handover = subprocess.run([os.path.join(s.program_dir, "varid-converter")] + second, env=env,
                                  timeout=60, capture_output=True, text=True)
        assert handover.returncode == 0, handover.stderr

        s.wait_for(lambda: varid_e2e.summary(s, main) == "Summary: 3 files", "the handed-over files")
        files = s.find(main, role="list", name="Source files")
        rows = [s.name(c) for c in s.children(files) if s.role(c) == "list item"]
        assert rows == [first] + second, rows
        assert s.running(), "the first program still runs"
        s.screenshot("opened-with")


if __name__ == "__main__":
    varid_e2e.main_guard(test)
