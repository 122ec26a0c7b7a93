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
    """Xvfb, and on request a window manager and a tray host."""

    def __init__(self, width=1280, height=800, window_manager=False, tray=False):
        self.folder = tempfile.mkdtemp(prefix="vistrel-e2e-")
        self.processes = []
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             "%dx%dx24" % (width, height), "-noreset", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise AssertionError("Xvfb did not start")
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
