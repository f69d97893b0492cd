#!/usr/bin/python3
"""The main window under a window manager (openbox), as the desktop manages it: it has the
desktop's frame with a title bar, it is made smaller by dragging its frame's corner and maximised
by a double click on its title bar, the frame's close (Alt+F4) ends the program and saves the
options as the close button does, and the next start comes back maximised, with the smaller size
when it is restored."""
import configparser
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import varid_e2e  # noqa: E402

SCREEN = (1280, 1024)


def read_options(s):
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini.read(os.path.join(s.program_dir, "options.ini"), encoding="utf-8")
    return ini


def double_click_title(s, window):
    x, y, w, _ = s.extents(window)
    top = s.frame_extents(window)[2]
    s._xdotool("mousemove", str(x + w // 2), str(y - top // 2))
    s._xdotool("click", "--repeat", "2", "--delay", "80", "1")


def is_maximised(s, window):
    _, _, w, h = s.extents(window)
    return w >= SCREEN[0] - 20 and h >= SCREEN[1] - 80


def test(program_dir, media_dir, shots_dir):
    with varid_e2e.Session(program_dir, shots_dir=shots_dir, timeout=30,
                           window_manager=["openbox"]) as s:
        main = s.window(varid_e2e.MAIN_TITLE)
        s.focus(main)
        left, right, top, bottom = s.frame_extents(main)
        assert top >= 10 and left + right + bottom >= 0, ("no title bar from the desktop",
                                                         (left, right, top, bottom))
        # The help menu stays in the window, as its "?" button.
        assert s.name(s.find(main, role="push button", name="Help Content")) == "Help Content"
        x, y, w, h = s.extents(main)
        s.screenshot("framed", s.framed(main))

        # Made smaller by dragging the frame's bottom-right corner.
        corner_x, corner_y = x + w + right - 2, y + h + bottom - 2
        s._xdotool("mousemove", str(corner_x), str(corner_y))
        s._xdotool("mousedown", "1")
        s._xdotool("mousemove", str(corner_x - 60), str(corner_y - 40))
        s._xdotool("mousemove", str(corner_x - 140), str(corner_y - 100))
        s._xdotool("mouseup", "1")
        s.wait_for(lambda: s.extents(main)[2] <= w - 100 and s.extents(main)[3] <= h - 60,
                   "the window made smaller by its frame")
        small = s.extents(main)[2:]
        s.screenshot("small", s.framed(main))

        # Maximised by a double click on its title bar.
        double_click_title(s, main)
        s.wait_for(lambda: is_maximised(s, main), "the window maximised")
        s.screenshot("maximised")

        # The frame's close asks the program to end, which saves the options with the window's
        # size and state. Once, in a full parallel test run, one Alt+F4 went by without effect (the
        # window stayed, maximised and focused; the cause was not found): the key is pressed a
        # second time then, and the log says so.
        s.key("alt+F4")
        try:
            s.wait_for(lambda: not s.running(), "the program ended by the frame's close", timeout=10)
        except varid_e2e.HarnessError:
            print("the program still ran 10 s after Alt+F4: pressed again", file=sys.stderr)
            s.key("alt+F4")
            s.wait_for(lambda: not s.running(), "the program ended by the frame's close")
        ini = read_options(s)
        assert list(ini["VideoConvertoptions"])[:9] == [
            "OutputFormat", "LastInputOpenDir", "LastOutputOpenDir", "Priority", "ShutdownFlag",
            "DeleteFileAfterProcessing", "ShutdownWindowsWhenDone", "ShowWindow", "UseDirectShow"], \
            list(ini["VideoConvertoptions"])
        placement = ini["MainWindow"]
        assert placement["Maximized"] == "1", dict(placement)
        assert (int(placement["Width"]), int(placement["Height"])) == small, (dict(placement), small)

        # The next start comes back maximised; restored, it has its smaller size.
        s.start_program()
        main = s.window(varid_e2e.MAIN_TITLE)
        s.wait_for(lambda: is_maximised(s, main), "the window maximised at the next start")
        s.focus(main)
        double_click_title(s, main)
        s.wait_for(lambda: tuple(s.extents(main)[2:]) == small, "the window restored to its size")
        s.screenshot("restored", s.framed(main))


if __name__ == "__main__":
    varid_e2e.main_guard(test)
