"""Captures asked for from a shell: every mode with and without a running
copy, exact pixels against `import -window root`, standard output piped
into convert, the clipboard of a one-shot capture, every exit status, a
request while a picture window is open, and a delay."""

import os
import subprocess
import unittest

from desktop import (CONVERT, DEADLINE, PICTURE_WINDOW, PROGRAM, client_and_frame, clipboard_png,
                     crop_rgb, deepest_window, Desktop, make_picture, open_app_window, Program,
                     rgb_pixels, settings_path, wait_until, windows_named, write_settings)

OPTIONS = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"
PANEL = 32  # the tray panel at the bottom of the test desktop


def captures_holding_the_clipboard():
    """The processes still running `vistrel-pro --capture custom --clipboard`."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                argv = f.read().split(b"\0")[:-1]
        except OSError:
            continue
        if argv[-3:] == [b"--capture", b"custom", b"--clipboard"]:
            found.append(pid)
    return found


class CommandLineTest(unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        self.desktop.set_background(self.WIDTH, self.HEIGHT)
        write_settings(self.desktop, "REGEDIT4\n\n[%s]\n%s\n" % (OPTIONS, "\n".join(
            '"%s"="%s"' % item for item in {
                "Sound": 0, "IncludeCursor": 0, "ShowInfo": 0, "CustomLeft": 100, "CustomTop": 60,
                "CustomRight": 420, "CustomBottom": 300}.items())))
        self.out = os.path.join(self.desktop.folder, "out")
        os.makedirs(self.out)

    def tearDown(self):
        self.desktop.close()

    def ask(self, *args, wait=True):
        proc = subprocess.Popen([PROGRAM, "--capture", *args], env=self.desktop.env,
                                cwd=self.out, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.desktop.processes.append(proc)
        return self.finish(proc) if wait else proc

    def finish(self, proc):
        out, err = proc.communicate(timeout=DEADLINE)
        return proc.returncode, out, err.decode()

    def screen(self):
        shot = os.path.join(self.desktop.folder, "screen.png")
        self.desktop.screenshot(shot)
        with open(shot, "rb") as f:
            return rgb_pixels(f.read())[2]

    def picture(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return rgb_pixels(f.read())

    def assert_shows(self, name, rect, screen):
        width, height, raw = self.picture(name)
        self.assertEqual((width, height), (rect[2] - rect[0], rect[3] - rect[1]), name)
        above_panel = min(rect[3], self.HEIGHT - PANEL)
        self.assertEqual(crop_rgb(width, raw, 0, 0, width, above_panel - rect[1]),
                         crop_rgb(self.WIDTH, screen, rect[0], rect[1], rect[2], above_panel),
                         name)

    def wait_frozen_desktop(self):
        whole = "Position: 0,0 (screen: 0)\n  Geometry: %dx%d" % (self.WIDTH, self.HEIGHT)
        wait_until(lambda: [w for w in self.desktop.run(["xdotool", "search", "--onlyvisible",
                                                         "--class", "vistrel-pro"]).split()
                            if whole in self.desktop.run(["xdotool", "getwindowgeometry", w])],
                   what="the frozen desktop")

    def xdotool(self, *args):
        self.desktop.run(["xdotool", *args], check=True)

    def every_mode(self, tag, window):
        """Each mode once, saved under `tag`-<mode>.png, against the screen,
        with `window` active."""
        self.desktop.run(["xdotool", "windowactivate", "--sync", window])
        wait_until(lambda: self.desktop.run(["xdotool", "getactivewindow"]).strip() == window,
                   what="the window to become active")
        client, frame = client_and_frame(self.desktop, window)
        screen = self.screen()
        whole = (0, 0, self.WIDTH, self.HEIGHT)
        for mode, extra, rect in [("desktop", [], whole), ("monitor", ["--monitor", "1"], whole),
                                  ("window", [], frame), ("client", [], client),
                                  ("custom", [], (100, 60, 420, 300))]:
            name = "%s-%s.png" % (tag, mode)
            status, out, err = self.ask(mode, *extra, "--output", name)
            self.assertEqual((status, out.decode().strip()),
                             (0, os.path.join(self.out, name)), err)
            self.assert_shows(name, rect, screen)

        # Area: a drag over the frozen desktop, then Esc for nothing.
        proc = self.ask("area", "--output", tag + "-area.png", wait=False)
        self.wait_frozen_desktop()
        self.xdotool("mousemove", "60", "40", "mousedown", "1", "mousemove", "150", "90",
                     "mousemove", "260", "140", "mouseup", "1")
        self.assertEqual(self.finish(proc)[0], 0)
        self.assert_shows(tag + "-area.png", (60, 40, 261, 141), screen)
        proc = self.ask("area", "--output", tag + "-none.png", wait=False)
        self.wait_frozen_desktop()
        self.xdotool("key", "Escape")
        status, _, err = self.finish(proc)
        self.assertEqual(status, 1, err)
        self.assertFalse(os.path.exists(os.path.join(self.out, tag + "-none.png")))

        # Object: a click on the text part of the other program's window.
        part = wait_until(lambda: deepest_window(self.desktop, window, 600, 230), what="a part")
        proc = self.ask("object", "--output", tag + "-object.png", wait=False)
        self.wait_frozen_desktop()
        self.xdotool("mousemove", "600", "230", "click", "1")
        self.assertEqual(self.finish(proc)[0], 0)
        self.assert_shows(tag + "-object.png", part[1:], screen)

    def test_every_mode_with_a_running_copy_and_alone(self):
        program = Program(self.desktop).wait_resident()
        window = open_app_window(self.desktop, "420x260+500+200")
        self.every_mode("running", window)
        self.assertTrue(program.running())
        program.proc.terminate()
        program.wait_ended()
        self.every_mode("alone", window)

    def test_standard_output_clipboard_and_every_failure(self):
        # PNG on standard output, piped into convert, with no copy running.
        pipeline = subprocess.run(
            "%s --capture desktop --output - | %s png:- -format '%%w %%h' info:" % (PROGRAM,
                                                                                   CONVERT),
            shell=True, env=self.desktop.env, capture_output=True, text=True, timeout=DEADLINE)
        self.assertEqual(pipeline.stdout, "%d %d" % (self.WIDTH, self.HEIGHT), pipeline.stderr)

        # Alone, the clipboard stays with the capture until another program takes it.
        self.assertEqual(self.ask("custom", "--clipboard")[0], 0)
        width, height, _ = rgb_pixels(clipboard_png(self.desktop))
        self.assertEqual((width, height), (320, 240))
        self.assertTrue(captures_holding_the_clipboard())
        self.desktop.start(["xclip", "-selection", "clipboard", "-i", "/dev/null"]).wait(DEADLINE)
        wait_until(lambda: not captures_holding_the_clipboard(),
                   what="the one-shot capture to end")

        # Bad usage names the argument; failures name their cause.
        for args, word in [(["nothing"], '"nothing"'), (["desktop", "--delay", "x"], "--delay"),
                           (["window", "--monitor", "2"], "--monitor"),
                           (["desktop", "--zoom"], '"--zoom"')]:
            status, _, err = self.ask(*args)
            self.assertEqual(status, 2, args)
            self.assertIn(word, err)
        Program(self.desktop).wait_resident()
        for args, cause in [(["monitor", "--monitor", "3"], "no monitor 3"),
                            (["desktop", "--output", "/nonexistent/x.png"], "/nonexistent/x.png"),
                            (["desktop", "--output", "x.unknown"], "x.unknown")]:
            status, _, err = self.ask(*args)
            self.assertEqual(status, 3, args)
            self.assertIn(cause, err)
        no_display = dict(self.desktop.env)
        del no_display["DISPLAY"]
        done = subprocess.run([PROGRAM, "--capture", "desktop", "--output", "-"], env=no_display,
                              capture_output=True, text=True, timeout=DEADLINE)
        self.assertEqual((done.returncode, done.stdout), (3, ""))
        self.assertIn("DISPLAY", done.stderr)

    def test_alone_a_shown_capture_leaves_the_settings_file_as_it_is(self):
        with open(settings_path(self.desktop), "rb") as f:
            stored = f.read()
        proc = self.ask("desktop", "--show", wait=False)
        window = wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                            what="the picture window")[0]
        self.xdotool("windowactivate", "--sync", window, "key", "Escape")
        self.assertEqual(self.finish(proc)[0], 0)
        with open(settings_path(self.desktop), "rb") as f:
            self.assertEqual(f.read(), stored)

    def test_a_request_waits_while_a_picture_window_is_open_and_after_its_delay(self):
        Program(self.desktop).wait_resident()
        self.xdotool("key", "Print")
        window = wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                            what="the picture window")[0]
        proc = self.ask("desktop", "--output", "after.png", wait=False)
        # The request waits; closing the window lets it run.
        with self.assertRaises(subprocess.TimeoutExpired):
            proc.wait(1)
        self.xdotool("windowactivate", "--sync", window, "key", "Escape")
        self.assertEqual(self.finish(proc)[0], 0)

        # The delay: what the desktop shows after it is what is taken.
        later = os.path.join(self.desktop.folder, "later-background.png")
        make_picture(later, self.WIDTH, self.HEIGHT, seed=41)
        proc = self.ask("custom", "--delay", "2", "--output", "later.png", wait=False)
        self.desktop.run(["hsetroot", "-full", later], check=True)
        screen = self.screen()
        self.assertEqual(self.finish(proc)[0], 0)
        self.assert_shows("later.png", (100, 60, 420, 300), screen)


if __name__ == "__main__":
    unittest.main()
