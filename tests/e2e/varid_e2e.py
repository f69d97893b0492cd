"""Drives the built converter from outside, as a person and a screen reader see it.

The harness starts a private X server (Xvfb), a private session bus and the accessibility bus,
then the program with a temporary HOME and a temporary copy of its program folder (the program
writes options.ini and config.ini beside itself), and finds controls in the accessibility tree
(AT-SPI) by role, name, description and window title. Every process it starts runs in its own
session and is ended when the session closes, whatever happened.

Run with Debian's /usr/bin/python3 (pyatspi is not importable from other Pythons). Packages:
xvfb dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi xdotool ffmpeg
(scripts/setup installs them).

API
---
    with Session(program_dir, shots_dir=None, timeout=20) as s:
        main = s.window("Varid Video Converter")   # a top-level window by title (waits)
        s.press(s.find(main, role="push button", name="Add"))   # DoAction without waiting
        dlg = s.window("Add Files")                 # waits for the dialog
        s.focus(dlg); s.type_text("/some/folder"); s.key("Return")
        s.label(main, prefix="Summary:")            # a label's text (its accessible name)
        s.value(main, "Video Width:")               # a value label found by its description
        s.screenshot("name")                        # PNG of the whole screen in shots_dir
        s.screenshot("name", s.extents(window))     # ... or of one window
        s.wait_for(lambda: ..., what="...")         # polls a condition until timeout

Session(program_dir, ...)
    program_dir  the build's program folder (build/bin): varid-converter, langs/, skins/,
                 avcore.dll. It is copied to a temporary folder; s.program_dir is the copy.
    shots_dir    where screenshot() writes (default: a temporary folder, s.shots_dir).
    args         extra command-line arguments for the program.
    prepare      called with the session after the program folder is copied and before the
                 program starts (to write a config.ini that chooses the language, say).
    window_manager  argv of a window manager to run on the X server (["openbox"]: windows get
                 the desktop's frame, for screenshots with title bars and tests of what the
                 frame does); by default there is none.
    s.home       the temporary HOME; s.tmp a scratch folder that is removed at the end.
    s.pid        the program's process id; s.running() whether it still runs;
                 s.program_log() what it printed; s.start_program() starts it again after it
                 ended (a next start with the same home and program folder).

Finding:
    s.app                        the program's accessible application (found by process id)
    s.window(title, timeout)     a top-level window of the program whose name equals title
    s.window_where(test, what)   a showing top-level window whose title passes test (titles that
                                 change; windows kept hidden for reuse are passed over)
    s.gone(test, what)           waits until no showing window's title passes test
    s.find(root, role, name, description, name_prefix, timeout, showing_only)
                                 the first match below root (breadth first), waiting for it;
                                 role is the AT-SPI role name ("push button", "label", "text",
                                 "list", "menu item", "combo box", "check box", "page tab")
    s.find_all(root, ...)        every match, without waiting
    s.children(acc)              the children of an accessible
Acting:
    s.press(acc)                 runs the accessible's first action (press, click, toggle)
                                 asynchronously: Qt answers only after the slot returns, and a
                                 slot that opens a modal dialog would block a synchronous call
    s.focus(window)              gives the window X focus (there is no window manager) and
                                 waits until it is active
    s.type_text(text), s.key("ctrl+n")   keyboard input through xdotool to the focused window
    s.click(acc)                 a real mouse click in the middle of the control
    s.set_text(acc, text)        replaces the text of an editable text field
Reading:
    s.name(acc), s.description(acc), s.text(acc) (text fields), s.states(acc)
    s.label(root, name=None, prefix=None)   the current text of a label
    s.value(root, description)   the current text of the label described by description
    s.extents(acc)               (x, y, width, height) on the screen
    s.frame_extents(window), s.framed(window)   the window manager's frame (left, right, top,
                                 bottom) and the window's box with it
Steps of the main window (module functions):
    MAIN_TITLE                   the main window's title
    summary(s, main)             the status line ("Summary: 3 files")
    add_files(s, main, paths)    adds files through the Add button and the file dialog
    open_chooser(s, main)        "Output Setting"; the chooser window (CHOOSER_TITLE)
    choose_radio_format(s, chooser, "To MP4"), set_output_folder(s, chooser, folder)
    choose_output(s, main, "To AVI", folder)   both in the chooser, closed with OK
    answer(s, title, button)     presses a button of the message box with that title
    start_convert(s, main)       Convert; the progress window (is_progress_title)
    wait_batch_end(s, timeout)   until the progress window is gone
    ffprobe(path, entries), mediainfo(path, inform)   facts of an output file
Sources that stay in flight:
    PipedSource(path)            turns a listed file into a named pipe the test feeds: FFmpeg
                                 converts what it was given and waits for the rest, so the file
                                 converts until the test sends the rest (send(n),
                                 send_more(step, limit), finish())
    child_processes(pid)         the running children of a process (the engine of the program,
                                 the FFmpeg of the engine); process_running(pid)
Ending:
    s.close_program()            asks the program to end (SIGTERM) and waits for it
    leaving the with-block ends everything the harness started.
"""

import os
import queue
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time


class HarnessError(AssertionError):
    pass


def _wait(cond, timeout, what, interval=0.05):
    end = time.monotonic() + timeout
    last = None
    while time.monotonic() < end:
        try:
            last = cond()
        except HarnessError:
            raise
        except Exception:  # the tree changes while it is read
            last = None
        if last:
            return last
        time.sleep(interval)
    raise HarnessError("timed out waiting for " + what)


class Session:
    def __init__(self, program_dir, shots_dir=None, timeout=20, args=(), prepare=None,
                 window_manager=None):
        self.source_program_dir = os.path.abspath(program_dir)
        self.prepare = prepare
        self.window_manager = window_manager
        self.timeout = timeout
        self.args = list(args)
        self.tmp = tempfile.mkdtemp(prefix="varid-e2e-")
        self.shots_dir = shots_dir or os.path.join(self.tmp, "shots")
        self.home = os.path.join(self.tmp, "home")
        self.run_dir = os.path.join(self.tmp, "run")
        self.program_dir = os.path.join(self.tmp, "program")
        self._procs = []
        self.proc = None
        self.display = None
        self.pid = None
        self._app = None
        self.pyatspi = None
        self.Atspi = None

    # ---- set-up and tear-down -------------------------------------------------------------

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None and self.display:
            try:  # what the screen showed when the test failed
                print("screen at the failure:", self.screenshot("failure"), file=sys.stderr)
            except Exception:
                pass
        self.close()
        return False

    def _spawn(self, argv, env=None, pass_fds=(), stdout=subprocess.DEVNULL):
        proc = subprocess.Popen(argv, env=env, pass_fds=pass_fds, stdout=stdout,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        self._procs.append(proc)
        return proc

    def _read_line(self, fd, what):
        data = b""
        end = time.monotonic() + self.timeout
        os.set_blocking(fd, False)
        while time.monotonic() < end:
            try:
                chunk = os.read(fd, 4096)
            except BlockingIOError:
                chunk = None
            if chunk:
                data += chunk
                if b"\n" in data:
                    return data.split(b"\n")[0].decode().strip()
            elif chunk == b"":
                break
            time.sleep(0.02)
        raise HarnessError("no answer from " + what)

    def _start(self):
        for d in (self.home, self.run_dir, self.shots_dir):
            os.makedirs(d, exist_ok=True)
        os.chmod(self.run_dir, 0o700)
        shutil.copytree(self.source_program_dir, self.program_dir, symlinks=True)
        if self.prepare:
            self.prepare(self)

        # The X server, on a random display number (the lowest free one may clash).
        for _ in range(10):
            n = random.randint(100, 3999)
            if os.path.exists("/tmp/.X11-unix/X%d" % n) or os.path.exists("/tmp/.X%d-lock" % n):
                continue
            r, w = os.pipe()
            xvfb = self._spawn(["Xvfb", ":%d" % n, "-displayfd", str(w), "-screen", "0", "1280x1024x24",
                                "-nolisten", "tcp", "-noreset"], pass_fds=[w])
            os.close(w)
            try:
                self.display = ":" + self._read_line(r, "Xvfb")
            except HarnessError:
                xvfb.kill()
                continue
            finally:
                os.close(r)
            time.sleep(0.2)
            if xvfb.poll() is None:
                break
            self.display = None  # the number was taken after all
        if not self.display:
            raise HarnessError("could not start Xvfb")
        env = dict(os.environ)
        env.update({"DISPLAY": self.display, "XDG_RUNTIME_DIR": self.run_dir, "HOME": self.home})
        _wait(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], env=env, capture_output=True,
                                     timeout=5).returncode == 0, self.timeout, "a client on " + self.display)
        if self.window_manager:
            self._spawn(list(self.window_manager), env=env)
            _wait(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True, text=True,
                timeout=5).stdout, self.timeout, "the window manager")

        # A private session bus, then the accessibility bus on it.
        r, w = os.pipe()
        self._spawn(["dbus-daemon", "--session", "--nofork", "--address=unix:dir=" + self.run_dir,
                     "--print-address=%d" % w], env=env, pass_fds=[w])
        os.close(w)
        try:
            self.session_bus = self._read_line(r, "dbus-daemon")
        finally:
            os.close(r)
        env["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus
        os.environ.update({"DISPLAY": self.display, "DBUS_SESSION_BUS_ADDRESS": self.session_bus,
                           "XDG_RUNTIME_DIR": self.run_dir})
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Gio, GLib
        self.Gio, self.GLib = Gio, GLib
        bus = Gio.DBusConnection.new_for_address_sync(
            self.session_bus,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        reply = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                              GLib.VariantType.new("(s)"), Gio.DBusCallFlags.NONE, 10000, None)
        self.a11y_bus = reply.unpack()[0]
        bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                      GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
                      None, Gio.DBusCallFlags.NONE, 10000, None)
        self._session_conn = bus
        os.environ["AT_SPI_BUS_ADDRESS"] = self.a11y_bus
        import pyatspi
        from gi.repository import Atspi
        self.pyatspi, self.Atspi = pyatspi, Atspi
        self.a11y_conn = Gio.DBusConnection.new_for_address_sync(
            self.a11y_bus,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)

        # The registry of accessible applications, running before the program registers.
        self.a11y_conn.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                 "StartServiceByName", GLib.Variant("(su)", ("org.a11y.atspi.Registry", 0)),
                                 None, Gio.DBusCallFlags.NONE, 20000, None)

        def registry_up():
            r = self.a11y_conn.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                         "NameHasOwner", GLib.Variant("(s)", ("org.a11y.atspi.Registry",)),
                                         None, Gio.DBusCallFlags.NONE, 5000, None)
            return r.unpack()[0]
        _wait(registry_up, self.timeout, "the accessibility registry")

        # The program.
        penv = dict(env)
        penv.pop("QT_QPA_PLATFORMTHEME", None)
        penv.update({"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb",
                     "ASAN_OPTIONS": "detect_leaks=0:abort_on_error=0",
                     "QT_LOGGING_RULES": os.environ.get("VARID_E2E_QT_LOG", "")})
        self._program_env = penv
        self.start_program()

    def start_program(self):
        """Starts the program (again, after it ended: a next start in the same home and folder)."""
        if self.running():
            raise HarnessError("the program runs already")
        log = open(os.path.join(self.tmp, "program.log"), "ab")
        self.proc = subprocess.Popen([os.path.join(self.program_dir, "varid-converter")] + self.args,
                                     env=self._program_env, cwd=self.home, stdout=log,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        log.close()
        self._procs.append(self.proc)
        self.pid = self.proc.pid
        self._app = None

    def close(self):
        # Programs first, the X server and the buses last; each by its own session.
        for proc in reversed(self._procs):
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for proc in reversed(self._procs):
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                proc.wait()
        # Bus-activated services (the accessibility bus) leave their parent: end them by session.
        for proc in self._procs:
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass
        self._kill_strays()
        self._procs = []
        if self.tmp and os.path.isdir(self.tmp) and not os.environ.get("VARID_E2E_KEEP"):
            shutil.rmtree(self.tmp, ignore_errors=True)

    def _kill_strays(self):
        # Processes started by our private bus carry its address or run folder in their
        # environment; end exactly those.
        if not self.run_dir:
            return
        marker = ("XDG_RUNTIME_DIR=" + self.run_dir).encode()
        for pid in os.listdir("/proc"):
            if not pid.isdigit() or int(pid) == os.getpid():
                continue
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if marker in f.read().split(b"\0"):
                        os.kill(int(pid), signal.SIGKILL)
            except (OSError, ProcessLookupError):
                pass

    def program_log(self):
        """The program's output so far (its last 2000 characters)."""
        try:
            with open(os.path.join(self.tmp, "program.log"), errors="replace") as f:
                return f.read()[-2000:]
        except OSError:
            return ""

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def close_program(self):
        if self.running():
            self.proc.terminate()
            self.proc.wait(timeout=self.timeout)

    # ---- finding --------------------------------------------------------------------------

    @property
    def app(self):
        if self._app is None:
            def find():
                if not self.running():
                    raise HarnessError("the program ended: " + self.program_log())
                desktop = self.Atspi.get_desktop(0)
                self.Atspi.Accessible.clear_cache(desktop)
                for i in range(desktop.childCount):
                    a = desktop.getChildAtIndex(i)
                    try:
                        if a is not None and a.get_process_id() == self.pid:
                            return a
                    except Exception:
                        pass
                return None
            self._app = _wait(find, self.timeout, "the program in the accessibility tree")
        return self._app

    def children(self, acc):
        out = []
        for i in range(acc.childCount):
            c = acc.getChildAtIndex(i)
            if c is not None:
                out.append(c)
        return out

    def name(self, acc):
        return acc.name or ""

    def description(self, acc):
        return acc.description or ""

    def role(self, acc):
        return acc.getRoleName()

    def states(self, acc):
        s = acc.getState()
        return {self.pyatspi.stateToString(x) for x in s.getStates()}

    def window(self, title, timeout=None):
        def find():
            if not self.running():
                raise HarnessError("the program ended: " + self.program_log())
            if not self.children(self.app):
                self._app = None  # registered again (the splash's window is gone): look anew
            self.Atspi.Accessible.clear_cache(self.app)
            if os.environ.get("VARID_E2E_DEBUG"):
                print("windows:", [(self.role(w), self.name(w)) for w in self.children(self.app)],
                      file=sys.stderr)
            for w in self.children(self.app):
                if self.name(w) == title:
                    return w
            return None
        return _wait(find, timeout or self.timeout, "window " + repr(title))

    def window_where(self, test, what, timeout=None):
        """A showing top-level window of the program whose title passes test (titles that change,
        such as the progress window's percentage; windows kept hidden for reuse are passed over)."""
        def find():
            if not self.running():
                raise HarnessError("the program ended: " + self.program_log())
            self.Atspi.Accessible.clear_cache(self.app)
            for w in self.children(self.app):
                if test(self.name(w)) and "showing" in self.states(w):
                    return w
            return None
        return _wait(find, timeout or self.timeout, what)

    def gone(self, title_test, what, timeout=None):
        """Waits until no showing top-level window has a title passing title_test."""
        def absent():
            if not self.running():
                raise HarnessError("the program ended: " + self.program_log())
            self.Atspi.Accessible.clear_cache(self.app)
            return not any(title_test(self.name(w)) and "showing" in self.states(w)
                           for w in self.children(self.app))
        return _wait(absent, timeout or self.timeout, what)

    def _matches(self, acc, role, name, description, name_prefix, showing_only):
        if role is not None and self.role(acc) != role:
            return False
        if name is not None and self.name(acc) != name:
            return False
        if name_prefix is not None and not self.name(acc).startswith(name_prefix):
            return False
        if description is not None and self.description(acc) != description:
            return False
        if showing_only and "showing" not in self.states(acc):
            return False
        return True

    def find_all(self, root, role=None, name=None, description=None, name_prefix=None,
                 showing_only=False):
        found, queue = [], [root]
        while queue:
            acc = queue.pop(0)
            for c in self.children(acc):
                try:
                    if self._matches(c, role, name, description, name_prefix, showing_only):
                        found.append(c)
                    queue.append(c)
                except Exception:
                    pass
        return found

    def find(self, root, role=None, name=None, description=None, name_prefix=None, timeout=None,
             showing_only=False):
        def look():
            self.Atspi.Accessible.clear_cache(root)
            hits = self.find_all(root, role, name, description, name_prefix, showing_only)
            return hits[0] if hits else None
        what = "control role=%r name=%r description=%r prefix=%r" % (role, name, description, name_prefix)
        return _wait(look, timeout or self.timeout, what)

    # ---- acting ---------------------------------------------------------------------------

    def press(self, acc, action=0):
        """Runs an action without waiting for Qt's answer (a modal dialog would block it)."""
        bus_name = acc.get_bus_name() if hasattr(acc, "get_bus_name") else acc.app.bus_name
        self.a11y_conn.call(bus_name, acc.path, "org.a11y.atspi.Action", "DoAction",
                            self.GLib.Variant("(i)", (action,)), None, self.Gio.DBusCallFlags.NONE,
                            -1, None, None, None)
        self.a11y_conn.flush_sync(None)

    def _xdotool(self, *args):
        env = dict(os.environ, DISPLAY=self.display)
        out = subprocess.run(["xdotool"] + list(args), env=env, capture_output=True, text=True,
                             timeout=self.timeout)
        return out.stdout.strip()

    def focus(self, window):
        title = self.name(window)
        wid = self.x_window(window)
        self._xdotool("windowfocus", wid)
        self._xdotool("mousemove", "--window", wid, "20", "20")
        _wait(lambda: "active" in self.states(window), self.timeout, repr(title) + " active")
        return wid

    def click(self, acc):
        """A real mouse click in the middle of the control (opens a combo box's list, as for a
        person; the window must be focused first)."""
        self.Atspi.Accessible.clear_cache(acc)
        box = acc.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        self._xdotool("mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2))
        self._xdotool("click", "1")

    def type_text(self, text):
        self._xdotool("type", "--delay", "5", text)

    def key(self, *keys):
        self._xdotool("key", *keys)

    def set_text(self, acc, text):
        acc.queryEditableText().setTextContents(text)

    # ---- reading --------------------------------------------------------------------------

    def text(self, acc):
        self.Atspi.Accessible.clear_cache(acc)
        t = acc.queryText()
        return t.getText(0, t.characterCount)

    def label(self, root, name=None, prefix=None):
        return self.name(self.find(root, role="label", name=name, name_prefix=prefix))

    def value(self, root, description):
        return self.name(self.find(root, role="label", description=description))

    def wait_for(self, cond, what="condition", timeout=None):
        return _wait(cond, timeout or self.timeout, what)

    def extents(self, acc):
        """(x, y, width, height) of a control or window on the screen."""
        self.Atspi.Accessible.clear_cache(acc)
        box = acc.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def x_window(self, window):
        """The X window id of a top-level window of the program (found by its title)."""
        title = self.name(window)
        ids = _wait(lambda: self._xdotool("search", "--onlyvisible", "--pid", str(self.pid), "--name",
                                          "^" + _regex_escape(title) + "$").split(),
                    self.timeout, "X window " + repr(title))
        return ids[-1]

    def frame_extents(self, window):
        """(left, right, top, bottom): the frame the window manager drew around the window; zeros
        without a window manager."""
        env = dict(os.environ, DISPLAY=self.display)
        out = subprocess.run(["xprop", "-id", self.x_window(window), "_NET_FRAME_EXTENTS"], env=env,
                             capture_output=True, text=True, timeout=10).stdout
        if "=" not in out:
            return 0, 0, 0, 0
        left, right, top, bottom = (int(v) for v in out.split("=")[1].split(","))
        return left, right, top, bottom

    def framed(self, window):
        """(x, y, width, height) of the window with its frame, on the screen."""
        x, y, w, h = self.extents(window)
        left, right, top, bottom = self.frame_extents(window)
        return x - left, y - top, w + left + right, h + top + bottom

    def screenshot(self, name, region=None):
        """A PNG of the screen, or of region (x, y, width, height), in shots_dir."""
        path = os.path.join(self.shots_dir, name if name.endswith(".png") else name + ".png")
        x, y, w, h = region or (0, 0, 1280, 1024)
        x, y = max(0, x), max(0, y)
        w, h = min(w, 1280 - x), min(h, 1024 - y)
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "x11grab", "-draw_mouse", "0",
                        "-video_size", "%dx%d" % (w, h), "-i", "%s+%d,%d" % (self.display, x, y),
                        "-frames:v", "1", path],
                       check=True, timeout=60, stdin=subprocess.DEVNULL)
        return path


MAIN_TITLE = "Varid Video Converter"


def summary(s, main):
    """The status line of the main window ("Summary: 3 files")."""
    return s.label(main, prefix="Summary:")


def add_files(s, main, paths, shot=None):
    """Adds files one by one through the main window's Add button and Qt's own file dialog: the
    full path goes into the dialog's name field, Return accepts it. Waits until the summary
    counts each file; shot names a screenshot of the first dialog."""
    for i, path in enumerate(paths):
        before = summary(s, main)
        s.press(s.find(main, role="push button", name="Add"))
        dialog = s.window("Add Files")
        s.focus(dialog)
        # The text is set whole: typing it races the dialog's completer.
        s.set_text(s.find(dialog, role="text", name="File name:"), path)
        if shot and i == 0:
            s.screenshot(shot)
        s.key("Return")
        s.wait_for(lambda: summary(s, main) != before, "%s added" % path)


CHOOSER_TITLE = "Output Setting"


def is_progress_title(title):
    """The progress window's title: the batch percentage, then its caption, which changes during
    the batch ("37% - Encoding in progress")."""
    return re.match(r"^\d{1,3}% - ", title) is not None


def open_chooser(s, main):
    """Opens the output chooser with the main window's "Output Setting" button."""
    s.press(s.find(main, role="push button", name="Output Setting"))
    return s.window_where(lambda t: t == CHOOSER_TITLE, "the chooser")


def choose_radio_format(s, chooser, caption):
    """Checks the chooser's radio button of a format ("To MP4") and waits for it to be checked."""
    radio = s.find(chooser, role="radio button", name=caption)
    s.press(radio)
    s.wait_for(lambda: "checked" in s.states(radio), caption + " checked")


def set_output_folder(s, chooser, folder):
    field = s.find(chooser, role="text", name="Output Directory:")
    s.set_text(field, folder)
    s.wait_for(lambda: s.text(field) == folder, "the output folder typed")


def choose_output(s, main, format_caption, folder):
    """Chooses a format and an output folder in the chooser and closes it with OK."""
    chooser = open_chooser(s, main)
    choose_radio_format(s, chooser, format_caption)
    set_output_folder(s, chooser, folder)
    s.press(s.find(chooser, role="push button", name="OK"))
    s.gone(lambda t: t == CHOOSER_TITLE, "the chooser closed")


def answer(s, title, button, timeout=None):
    """Presses a button of the message box with the given title."""
    box = s.window_where(lambda t: t == title, "the message box " + repr(title), timeout)
    s.press(s.find(box, role="push button", name=button))
    s.gone(lambda t: t == title, "the message box " + repr(title) + " answered")


def start_convert(s, main):
    """Presses Convert and waits for the progress window; returns it."""
    s.press(s.find(main, role="push button", name="Convert"))
    return s.window_where(is_progress_title, "the progress window")


def wait_batch_end(s, timeout):
    """Waits until the progress window is gone."""
    s.gone(is_progress_title, "the end of the batch", timeout)


def ffprobe(path, entries="format=format_name"):
    """ffprobe's flat output for entries, as a dict ("format.format_name": "...")."""
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", entries, "-of", "flat", path],
                         capture_output=True, text=True, timeout=60, stdin=subprocess.DEVNULL)
    if out.returncode != 0:
        raise HarnessError("ffprobe failed on %s: %s" % (path, out.stderr.strip()))
    facts = {}
    for line in out.stdout.splitlines():
        key, _, value = line.partition("=")
        facts[key] = value.strip('"')
    return facts


def mediainfo(path, inform):
    """One MediaInfo fact, e.g. mediainfo(p, "General;%Format%")."""
    out = subprocess.run(["mediainfo", "--Inform=" + inform, path], capture_output=True, text=True,
                         timeout=60, stdin=subprocess.DEVNULL)
    return out.stdout.strip()


class PipedSource:
    """A source the test feeds: the file's bytes, written through a named pipe that takes its
    place (the program lists it before, as the file it was). Opened for reading as well as
    writing, the pipe never blocks its opening and never breaks before FFmpeg opens it; a full
    pipe takes more only as FFmpeg reads on."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        os.unlink(path)
        os.mkfifo(path)
        self._fd = os.open(path, os.O_RDWR)
        self._sent = 0
        self.queued = 0  # the offset the bytes are sent up to
        self._todo = queue.Queue()
        threading.Thread(target=self._write, daemon=True).start()

    def send(self, upto):
        """Writes the bytes up to offset upto (returns at once; the writing waits for FFmpeg)."""
        self.queued = max(self.queued, upto)
        self._todo.put(upto)

    def send_more(self, step, limit):
        """Sends step bytes more, but not beyond offset limit. FFmpeg reports how far it got only
        as it reads on, so a test that waits for a report feeds a little at each look."""
        self.send(min(self.queued + step, limit))

    def finish(self):
        """Writes the rest and ends the pipe: FFmpeg sees the end of the file."""
        self._todo.put(None)

    def _write(self):
        while True:
            upto = self._todo.get()
            end = len(self.data) if upto is None else upto
            while self._sent < end:
                self._sent += os.write(self._fd, self.data[self._sent:end])
            if upto is None:
                os.close(self._fd)
                return


def child_processes(pid):
    """The running children of a process, from /proc."""
    children = []
    for entry in os.listdir("/proc"):
        fields = _stat_fields(entry) if entry.isdigit() else []
        if len(fields) > 1 and fields[0] not in (b"Z", b"X") and int(fields[1]) == pid:
            children.append(int(entry))
    return children


def process_running(pid):
    """Whether the process exists and has not ended (one that waits to be reaped has)."""
    fields = _stat_fields(pid)
    return bool(fields) and fields[0] not in (b"Z", b"X")


def _stat_fields(pid):
    # /proc/<pid>/stat after the command name (which may hold blanks): state, parent, ...
    try:
        with open("/proc/%s/stat" % pid, "rb") as f:
            return f.read().rsplit(b")", 1)[-1].split()
    except OSError:
        return []


def _regex_escape(text):
    out = []
    for ch in text:
        out.append("\\" + ch if ch in ".^$*+?()[]{}|\\" else ch)
    return "".join(out)


def main_guard(test):
    """Runs test(program_dir, media_dir) from the command line: varid_e2e-style tests take the
    program folder and the media folder as their two arguments and exit 0 on success."""
    if len(sys.argv) < 3:
        print("usage: %s PROGRAM_DIR MEDIA_DIR [SHOTS_DIR]" % sys.argv[0], file=sys.stderr)
        sys.exit(2)
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    try:
        test(sys.argv[1], sys.argv[2], shots)
    except AssertionError as e:
        print("FAILED:", e, file=sys.stderr)
        sys.exit(1)
    print("passed")
