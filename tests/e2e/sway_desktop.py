"""A private Wayland desktop for end-to-end tests: a headless sway with one
or two outputs, run as the unprivileged user `nobody` (sway refuses root),
with grim as the reference for pixels and swaymsg for the compositor's
state. The program under test runs as that user too.

Every wait has a deadline; nothing sleeps for a fixed time."""

import glob
import json
import os
import shutil
import subprocess
import tempfile
import time

from desktop import DEADLINE, HERE, PROGRAM, make_picture, rgb_pixels, stop, wait_until

USER = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
NOBODY = 65534


def missing_tools(portal=False):
    """What this machine lacks for a sway desktop (with the desktop portal
    when asked), or an empty list."""
    needed = ["sway", "swaymsg", "grim", "swaybg", "setpriv", "dbus-daemon"]
    if portal:
        needed += ["pipewire", "/usr/libexec/xdg-desktop-portal",
                   "/usr/libexec/xdg-desktop-portal-wlr", "/usr/libexec/xdg-desktop-portal-gtk"]
    lacking = [tool for tool in needed if not shutil.which(tool)]
    if os.getuid() != 0:
        lacking.append("root, to run the desktop as another user")
    return lacking


class SwayDesktop:
    """Headless sway. `outputs` lists (width, height) per output, placed side
    by side from the left; each shows a picture with distinct pixels."""

    def __init__(self, outputs=((1024, 768),)):
        self.folder = tempfile.mkdtemp(prefix="vistrel-sway-")
        os.chmod(self.folder, 0o755)
        self.processes = []
        self.home = self._user_folder("home", 0o755)
        self.runtime = self._user_folder("runtime", 0o700)
        self.config = os.path.join(self.home, "config")
        lines = ["xwayland disable", "focus_follows_mouse no"]
        left = 0
        for number, (width, height) in enumerate(outputs, 1):
            picture = os.path.join(self.folder, "output-%d.png" % number)
            make_picture(picture, width, height, seed=number * 11)
            os.chmod(picture, 0o644)
            lines.append("output HEADLESS-%d resolution %dx%d position %d 0 bg %s center"
                         % (number, width, height, left, picture))
            left += width
        sway_config = os.path.join(self.folder, "sway.conf")
        with open(sway_config, "w") as f:
            f.write("\n".join(lines) + "\n")
        os.chmod(sway_config, 0o644)
        self.env = {
            "PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": self.home,
            "XDG_RUNTIME_DIR": self.runtime, "XDG_CONFIG_HOME": self.config,
            "TMPDIR": self._user_folder("home/tmp", 0o700), "LANG": "C.UTF-8",
            "XDG_CURRENT_DESKTOP": "sway",
            "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman",
            "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_HEADLESS_OUTPUTS": str(len(outputs)),
        }
        self.sway = self.start(["sway", "-c", sway_config], log="sway.log")
        socket = wait_until(self._wayland_socket, what="sway's Wayland socket")
        ipc = wait_until(lambda: glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock")),
                         what="sway's IPC socket")[0]
        self.env.update(WAYLAND_DISPLAY=socket, SWAYSOCK=ipc)
        self.names = ["HEADLESS-%d" % n for n in range(1, len(outputs) + 1)]
        wait_until(lambda: self._backgrounds_shown(outputs), what="the outputs' backgrounds")

    def _user_folder(self, name, mode):
        path = os.path.join(self.folder, name)
        os.makedirs(path, exist_ok=True)
        os.chmod(path, mode)
        os.chown(path, NOBODY, NOBODY)
        return path

    def reachable(self, path, beside=()):
        """`path` as `nobody` can run it: where it is when every folder above
        lets that user through, else a copy (with the named programs that
        lie beside it)."""
        path = os.path.abspath(path)
        if subprocess.run(USER + ["test", "-x", path]).returncode == 0:
            return path
        folder = os.path.join(self.folder, "bin")
        copy = os.path.join(folder, os.path.basename(path))
        if os.path.exists(copy):
            return copy
        os.makedirs(folder, mode=0o755, exist_ok=True)
        for name in (os.path.basename(path), *beside):
            shutil.copy2(os.path.join(os.path.dirname(path), name), folder)
        return copy

    def _wayland_socket(self):
        found = [os.path.basename(p) for p in glob.glob(os.path.join(self.runtime, "wayland-*"))
                 if not p.endswith(".lock")]
        if self.sway.poll() is not None:
            raise AssertionError("sway ended: " + self.log("sway.log"))
        return found[0] if found else None

    def _backgrounds_shown(self, outputs):
        # swaybg draws a moment after the outputs appear; until then an
        # output is one colour.
        for name in self.names:
            done = self.run(["grim", "-o", name, "-t", "ppm", "-"], check=False)
            if done.returncode != 0 or len(set(done.stdout[-30000:])) < 16:
                return False
        return True

    def start(self, argv, log=None, env=None):
        out = open(os.path.join(self.folder, log), "wb") if log else subprocess.DEVNULL
        proc = subprocess.Popen(USER + argv, env=env or self.env, stdout=out,
                                stderr=subprocess.STDOUT, cwd=self.home)
        if log:
            out.close()
        self.processes.append(proc)
        return proc

    def run(self, argv, check=True, input=None, env=None):
        done = subprocess.run(USER + argv, env=env or self.env, capture_output=True,
                              timeout=DEADLINE, input=input, cwd=self.home)
        if check and done.returncode != 0:
            raise AssertionError("%s failed: %s" % (argv, done.stderr.decode(errors="replace")))
        return done

    def log(self, name):
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read().decode(errors="replace")

    def swaymsg(self, *args):
        """The reply of `swaymsg -r ARGS`, decoded."""
        return json.loads(self.run(["swaymsg", "-r", *args]).stdout)

    def outputs(self):
        return [o for o in self.swaymsg("-t", "get_outputs") if o.get("active")]

    def grim(self, *args):
        """A PNG of what the compositor shows: `grim ARGS -` (the whole
        layout without ARGS, `-o NAME` for one output)."""
        return self.run(["grim", *args, "-t", "png", "-"]).stdout

    def launcher(self):
        return self.reachable(PROGRAM, ("vistrel-pro-gui", "vistrel-metafile"))

    def run_program(self, *args, check=False):
        """Runs vistrel-pro ARGS to its end as the desktop's user."""
        return self.run([self.launcher(), *args], check=check)

    def capture(self, *args):
        """The program's capture `--capture ARGS` as (width, height, RGB
        bytes); a failed run raises with what the program said."""
        path = os.path.join(self.home, "capture.png")
        done = self.run_program("--capture", *args, "--output", path)
        if done.returncode != 0:
            raise AssertionError("the capture failed (%d): %s"
                                 % (done.returncode, done.stderr.decode(errors="replace")))
        with open(path, "rb") as f:
            return rgb_pixels(f.read())

    def start_program(self):
        """The resident program, once it answers on its socket."""
        proc = self.start([self.launcher()], log="program.log")
        socket = os.path.join(self.runtime, "Vistrel-Pro.%s.socket" % self.env["WAYLAND_DISPLAY"])
        wait_until(lambda: proc.poll() is not None or os.path.exists(socket),
                   what="the program to become resident")
        if proc.poll() is not None:
            raise AssertionError("the program ended: " + self.log("program.log"))
        return proc

    def window(self, title):
        """The tree node of the application window titled `title`, or None."""
        for node in tree_nodes(self.swaymsg("-t", "get_tree")):
            if node.get("pid") and node.get("name") == title:
                return node
        return None

    def open_window(self, title, floating_at=None):
        """An application window (a Qt program on the Wayland plugin),
        focused; floating at (x, y, width, height) when asked."""
        proc = self.start([self.reachable(os.environ["APP_WINDOW"]), title],
                          env=dict(self.env, QT_QPA_PLATFORM="wayland"))
        wait_until(lambda: self.window(title), what="the window " + title)
        if floating_at:
            self.run(["swaymsg", '[title="%s"]' % title, "floating enable, resize set %d %d, "
                      "move position %d %d" % (floating_at[2], floating_at[3], *floating_at[:2])])
        # Moved, resized and drawn anew: the tree and the screen stay as they are.
        wait_until(lambda: self._settled(title, floating_at), what="the window to settle")
        return proc

    def session_bus(self):
        """A private session bus of the desktop's user, for this desktop's
        programs from now on."""
        bus = subprocess.Popen(USER + ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               text=True, cwd=self.home)
        self.processes.append(bus)
        address = bus.stdout.readline().strip()
        if not address:
            raise AssertionError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def portal(self):
        """The desktop portal as a sway session has it: PipeWire (which the
        wlroots portal needs) and a session bus that starts the portals on
        demand."""
        self.start(["pipewire"], log="pipewire.log")
        wait_until(lambda: os.path.exists(os.path.join(self.runtime, "pipewire-0")),
                   what="PipeWire")
        self.session_bus()
        # Started now: the portal starts its backends before it answers, and
        # on a busy machine that alone can take most of a capture's deadline.
        subprocess.run(USER + ["dbus-send", "--session", "--print-reply", "--reply-timeout=60000",
                               "--dest=org.freedesktop.portal.Desktop",
                               "/org/freedesktop/portal/desktop",
                               "org.freedesktop.DBus.Properties.Get",
                               "string:org.freedesktop.portal.Screenshot", "string:version"],
                       env=self.env, capture_output=True, timeout=3 * DEADLINE, check=True,
                       cwd=self.home)

    def _service(self, name, script, *args, copies=(), before=None):
        """Runs tests/e2e/`script` FOLDER ARGS as the desktop's user, with
        the script (and `copies`) in its own folder `name`, once it has
        written FOLDER/ready; `before(folder)` prepares the folder.
        Returns the folder."""
        folder = self._user_folder(name, 0o755)
        for file in (script, *copies):
            shutil.copy(os.path.join(HERE, file), folder)
        if before:
            before(folder)
        self.start(["/usr/bin/python3", os.path.join(folder, script), folder, *args],
                   log=name + ".log")
        wait_until(lambda: os.path.exists(os.path.join(folder, "ready")), what=name)
        return folder

    def refusing_portal(self):
        """A desktop portal on the session bus that refuses every screenshot."""
        self._service("portal", "refusing_portal.py")

    def shortcuts_portal(self, mode):
        """A desktop portal on the session bus with global shortcuts, binding
        them ("accept") or refusing ("refuse"); returns its folder (see
        shortcuts_portal.py)."""
        return self._service("shortcuts-portal", "shortcuts_portal.py", mode)

    def notifications(self):
        """A notification server on the session bus; returns a function that
        gives the notices shown so far."""
        folder = self._service("notifications", "notification_server.py", copies=("desktop.py",))
        return lambda: json_lines(os.path.join(folder, "notices.jsonl"))

    def standin_portal(self, picture, mode="pick"):
        """A desktop portal on the session bus that answers screenshots as
        refusing_portal.py describes, with `picture` (a PNG file) for picks.
        Returns its folder: write the next answer's mode with
        set_portal_mode, read its requests from the file "requests"."""
        def prepare(folder):
            shutil.copy(picture, os.path.join(folder, "picture.png"))
            os.chmod(os.path.join(folder, "picture.png"), 0o644)
            self.set_portal_mode(folder, mode)
        return self._service("standin-portal", "refusing_portal.py", before=prepare)

    @staticmethod
    def set_portal_mode(folder, mode):
        path = os.path.join(folder, "mode")
        with open(path, "w") as f:
            f.write(mode)
        os.chmod(path, 0o644)

    def tray(self):
        """A tray watcher on the session bus; returns a function that gives
        the items registered so far."""
        folder = self._service("tray", "tray_watcher.py")
        return lambda: json_lines(os.path.join(folder, "items.jsonl"))

    def _settled(self, title, floating_at):
        def state():
            node = self.window(title)
            return node["rect"], node["window_rect"], self.grim()
        before = state()
        # A quarter second apart: a resize under load arrives in more than
        # one frame, and two readings in a row can fall between them.
        time.sleep(0.25)
        return before == state() and (not floating_at or before[0]["x"] == floating_at[0])

    def pointer(self):
        """A pointer device; the compositor draws a cursor from now on."""
        proc = subprocess.Popen(USER + [self.reachable(os.environ["VIRTUAL_POINTER"])], env=self.env,
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.processes.append(proc)
        if proc.stdout.readline().strip() != "ready":
            raise AssertionError("no virtual pointer")
        return Pointer(proc, self)

    def close(self):
        for proc in reversed(self.processes):
            stop(proc)
            for pipe in (proc.stdin, proc.stdout):
                if pipe:
                    pipe.close()
        shutil.rmtree(self.folder, ignore_errors=True)


class Pointer:
    """Moves the virtual pointer and clicks with it."""

    def __init__(self, proc, desktop):
        self.proc = proc
        self.desktop = desktop

    def _say(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        if self.proc.stdout.readline().strip() != "ok":
            raise AssertionError("the virtual pointer ended")

    def move(self, x, y):
        """To (x, y) of the layout, in logical pixels."""
        outputs = self.desktop.outputs()
        width = max(o["rect"]["x"] + o["rect"]["width"] for o in outputs)
        height = max(o["rect"]["y"] + o["rect"]["height"] for o in outputs)
        self._say("move %d %d %d %d" % (x, y, width, height))


def json_lines(path):
    """The objects of a file with one JSON object per line; none before it
    exists."""
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [json.loads(line) for line in f if line.strip()]


def tree_nodes(node):
    """Every node of a sway tree, depth first."""
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from tree_nodes(child)
