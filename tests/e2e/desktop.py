"""A private X desktop for end-to-end tests: Xvfb with a free display
number, optionally openbox and a tint2 panel holding the tray, and the real
program started with its own settings and runtime folders.

Every wait has a deadline; nothing sleeps for a fixed time."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

PROGRAM = os.environ.get("VISTREL_PRO", "build/vistrel-pro")
HERE = os.path.dirname(os.path.abspath(__file__))
DEADLINE = float(os.environ.get("VISTREL_E2E_DEADLINE", "20"))


def wait_until(condition, timeout=DEADLINE, what="condition"):
    end = time.monotonic() + timeout
    delay = 0.01
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(delay)
        delay = min(delay * 2, 0.2)


class Desktop:
    """Xvfb (or Xorg with two monitors), and on request a window manager and
    a tray host."""

    def __init__(self, width=1280, height=800, window_manager=False, tray=False,
                 two_monitors=False, second_output=False):
        self.folder = tempfile.mkdtemp(prefix="vistrel-e2e-")
        self.processes = []
        read_fd, write_fd = os.pipe()
        if two_monitors:
            server = ["Xorg", "-config", os.path.join(HERE, "xorg-two-monitors.conf"),
                      "-logfile", os.path.join(self.folder, "xorg.log")]
        else:
            server = ["Xvfb", "-screen", "0", "%dx%dx24" % (width, height)]
        self.xvfb = subprocess.Popen(
            server + ["-displayfd", str(write_fd), "-noreset", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise AssertionError("the X server did not start")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.config = os.path.join(self.folder, "config")
        self.runtime = os.path.join(self.folder, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.env = dict(os.environ, DISPLAY=self.display, XDG_CONFIG_HOME=self.config,
                        XDG_RUNTIME_DIR=self.runtime, HOME=self.folder,
                        TMPDIR=os.path.join(self.folder, "tmp"))
        os.makedirs(self.env["TMPDIR"])
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(key, None)
        if two_monitors:
            # A second real output lets the pointer reach monitor 2; the
            # --setmonitor split keeps it on the first.
            second = ([["xrandr", "--addmode", "DUMMY1", "1024x768"],
                       ["xrandr", "--output", "DUMMY1", "--mode", "1024x768", "--pos", "1920x0"]]
                      if second_output else
                      [["xrandr", "--setmonitor", "LEFT", "1920/508x1080/286+0+0", "DUMMY0"],
                       ["xrandr", "--setmonitor", "RIGHT", "1024/271x768/203+1920+0", "none"]])
            for argv in [["xrandr", "--fb", "2944x1080"]] + second:
                self.run(argv, check=True)
        if window_manager or tray:  # tint2 waits for a window manager
            self.start(["openbox", "--config-file", os.path.join(HERE, "openbox-rc.xml")])
            wait_until(lambda: "_NET_SUPPORTING_WM_CHECK" in self.run(["xprop", "-root"]),
                       what="openbox")
        if tray:
            self.start(["tint2", "-c", os.path.join(HERE, "tint2rc")])
            wait_until(self.tray_host_ready, what="tint2's tray")

    def start(self, argv):
        proc = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.processes.append(proc)
        return proc

    def run(self, argv, check=False):
        done = subprocess.run(argv, env=self.env, capture_output=True, text=True,
                              timeout=DEADLINE)
        if check and done.returncode != 0:
            raise AssertionError("%s failed: %s" % (argv, done.stderr))
        return done.stdout

    def tray_host_ready(self):
        found = subprocess.run(["xdotool", "search", "--class", "tint2"], env=self.env,
                               capture_output=True, text=True).stdout
        return bool(found.strip())

    def set_background(self, width, height, seed=7):
        """A picture with distinct pixels as the root window's background;
        returns its path."""
        path = os.path.join(self.folder, "background-%d.png" % seed)
        make_picture(path, width, height, seed)
        self.run(["hsetroot", "-full", path], check=True)
        return path

    def screenshot(self, path):
        self.run(["import", "-window", "root", path], check=True)

    def close(self):
        for proc in reversed(self.processes):
            stop(proc)
        stop(self.xvfb)
        shutil.rmtree(self.folder, ignore_errors=True)


def stop(proc, timeout=5):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Program:
    """One run of vistrel-pro on a desktop."""

    def __init__(self, desktop, *args):
        self.desktop = desktop
        self.log = tempfile.TemporaryFile()
        self.proc = subprocess.Popen([PROGRAM, *args], env=desktop.env,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        desktop.processes.append(self.proc)

    def wait_resident(self):
        """Until the program answers close requests: its start-up is over."""
        wait_until(lambda: self.proc.poll() is not None or os.path.exists(self.socket()),
                   what="the program to become resident")
        assert self.proc.poll() is None, "the program ended: %s" % self.output()
        return self

    def socket(self):
        return os.path.join(self.desktop.runtime,
                            "Vistrel-Pro.%s.socket" % self.desktop.display.replace(":", "_"))

    def running(self):
        return self.proc.poll() is None

    def wait_ended(self, timeout=DEADLINE):
        return self.proc.wait(timeout)

    def signal(self, number):
        self.proc.send_signal(number)

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")


def run_program(desktop, *args, timeout=DEADLINE):
    """Runs the program to its end (for /C, /U and refused starts)."""
    return subprocess.run([PROGRAM, *args], env=desktop.env, capture_output=True,
                          text=True, timeout=timeout)


def settings_path(desktop):
    return os.path.join(desktop.config, "Vistrel-Pro", "settings.reg")


def read_settings(desktop):
    """The settings file as {section path below the root: {name: raw value}}."""
    path = settings_path(desktop)
    if not os.path.exists(path):
        return {}
    root = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\"
    sections, current = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            if line.startswith("[") and line.endswith("]"):
                key = line[1:-1]
                current = sections.setdefault(key[len(root):] if key.startswith(root) else key, {})
            elif current is not None and line.startswith('"') and "=" in line:
                name, value = line.split("=", 1)
                current[name.strip('"')] = value
    return sections


def write_settings(desktop, text):
    path = settings_path(desktop)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


PICTURE_WINDOW = "Vistrel-Pro   v1.05"  # matched inside the window title
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"


def make_picture(path, width, height, seed=7):
    """A picture with distinct pixels everywhere (gradients and a grid), so
    that an offset or a wrong channel order shows."""
    subprocess.run([CONVERT, "-size", "%dx%d" % (width, height), "gradient:red-blue",
                    "(", "-size", "%dx%d" % (width, height), "gradient:yellow-black", "-rotate", "90",
                    "-resize", "%dx%d!" % (width, height), ")",
                    "-compose", "difference", "-composite",
                    "-fill", "none", "-stroke", "white", "-draw",
                    " ".join("line %d,0 %d,%d" % (x, x, height) for x in range(seed, width, 97)),
                    "PNG24:" + path], check=True, timeout=60)


def rgb_pixels(png_bytes):
    """(width, height, raw RGB bytes) of a PNG given as bytes."""
    size = subprocess.run([CONVERT, "png:-", "-format", "%w %h", "info:"], input=png_bytes,
                          capture_output=True, check=True, timeout=60).stdout.split()
    raw = subprocess.run([CONVERT, "png:-", "-depth", "8", "rgb:-"], input=png_bytes,
                         capture_output=True, check=True, timeout=60).stdout
    return int(size[0]), int(size[1]), raw


def crop_rgb(width, raw, left, top, right, bottom):
    """The RGB bytes of a rectangle (right and bottom exclusive)."""
    return b"".join(raw[(y * width + left) * 3:(y * width + right) * 3] for y in range(top, bottom))


def clipboard_png(desktop):
    """The clipboard's picture as PNG bytes, or None."""
    done = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"],
                          env=desktop.env, capture_output=True, timeout=DEADLINE)
    return done.stdout if done.returncode == 0 and done.stdout.startswith(b"\x89PNG") else None


def windows_named(desktop, name, visible=True):
    argv = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
    return desktop.run(argv).split()


# The question before an edited picture closes: its window title is the
# program's name alone.
SAVE_QUESTION = "^Vistrel-Pro$"


def answer_save_question(desktop, key):
    """Answers "Save the changes to the picture before closing?" with a key:
    alt+s Save, alt+d Discard, Escape Cancel."""
    question = wait_until(lambda: windows_named(desktop, SAVE_QUESTION), what="the save question")[0]
    desktop.run(["xdotool", "windowactivate", "--sync", question], check=True)
    desktop.run(["xdotool", "key", key], check=True)


def clear_clipboard(desktop):
    # xclip stays behind as the clipboard's owner, holding nothing.
    desktop.start(["xclip", "-selection", "clipboard", "-i", "/dev/null"]).wait(DEADLINE)
    wait_until(lambda: clipboard_png(desktop) is None, what="the clipboard to empty")


def window_info(desktop, window):
    return dict(line.strip().split(": ", 1) for line in
                desktop.run(["xwininfo", "-id", window]).splitlines() if ": " in line)


def client_and_frame(desktop, window):
    """(left, top, right, bottom) of a top-level window's client area and of
    its frame, right and bottom exclusive."""
    info = window_info(desktop, window)
    x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
    w, h = int(info["Width"]), int(info["Height"])
    extents = desktop.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"])
    left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
    return (x, y, x + w, y + h), (x - left, y - top, x + w + right, y + h + bottom)


def deepest_window(desktop, top, x, y):
    """(id, left, top, right, bottom) of the deepest window under (x, y)
    inside `top`, its border included."""
    best = None
    for line in desktop.run(["xwininfo", "-tree", "-id", top]).splitlines():
        parts = line.split()
        if not parts or not parts[0].startswith("0x"):
            continue
        info = window_info(desktop, parts[0])
        if info.get("Map State") != "IsViewable":
            continue
        left, top_ = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
        border = int(info["Border width"])
        # xwininfo's upper-left corner is outside the border already.
        rect = (left, top_, left + int(info["Width"]) + 2 * border,
                top_ + int(info["Height"]) + 2 * border)
        if rect[0] <= x < rect[2] and rect[1] <= y < rect[3]:
            if best is None or (rect[2] - rect[0]) * (rect[3] - rect[1]) < \
                    (best[3] - best[1]) * (best[4] - best[2]):
                best = (parts[0],) + rect
    return best


def open_app_window(desktop, geometry="420x260+150+120"):
    """An application window (xmessage), made active the way a user does."""
    desktop.start(["xmessage", "-geometry", geometry, "-name", "victim", "An application window"])
    window = wait_until(lambda: windows_named(desktop, "victim"), what="xmessage")[0]
    desktop.run(["xdotool", "windowfocus", "--sync", window, "click", "1"])
    wait_until(lambda: desktop.run(["xdotool", "getactivewindow"]).strip() == window,
               what="xmessage to become active")
    return window
