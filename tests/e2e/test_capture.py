"""From a key press to the picture window, on a desktop with a window
manager and a tray: the grab's pixels, window captures, the cursor, hotkeys
while a window is open, Suspend, and the settings the window writes."""

import os
import signal
import subprocess
import tempfile
import unittest

from desktop import (PICTURE_WINDOW, clear_clipboard, client_and_frame, clipboard_png, crop_rgb,
                     Desktop, make_picture, open_app_window, Program, read_settings, rgb_pixels,
                     wait_until, windows_named, write_settings)

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"
PANEL = 32  # the tray panel at the bottom of the test desktop


def options(**values):
    lines = ['"%s"="%s"' % (k, v) for k, v in values.items()]
    return "REGEDIT4\n\n[%s]\n%s\n" % (ROOT, "\n".join(lines))


class CaptureTest(unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        self.background = os.path.join(self.desktop.folder, "background.png")
        make_picture(self.background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", self.background], check=True)
        with open(self.background, "rb") as f:
            _, _, self.background_rgb = rgb_pixels(f.read())

    def tearDown(self):
        self.desktop.close()

    def start(self, **settings):
        write_settings(self.desktop, options(Auto_Clipboard=1, Sound=0, **settings))
        return Program(self.desktop).wait_resident()

    def key(self, *keys):
        self.desktop.run(["xdotool", "key", *keys], check=True)

    def picture_window(self):
        return wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                          what="the picture window")[0]

    def grabbed(self):
        """The picture the window copied to the clipboard on its first paint."""
        return rgb_pixels(wait_until(lambda: clipboard_png(self.desktop), what="the clipboard"))

    def close_window(self, window):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "Escape"])
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW),
                   what="the picture window to close")

    def test_print_screen_shows_exactly_the_desktop(self):
        program = self.start()
        self.key("Print")
        window = self.picture_window()
        width, height, raw = self.grabbed()
        self.assertEqual((width, height), (self.WIDTH, self.HEIGHT))
        above_panel = self.HEIGHT - PANEL
        self.assertEqual(crop_rgb(width, raw, 0, 0, width, above_panel),
                         crop_rgb(width, self.background_rgb, 0, 0, width, above_panel))
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-picture-window.png"))
        self.close_window(window)
        # Closing the window wrote its settings group.
        other = read_settings(self.desktop)["Setup\\OtherOptions"]
        for key in ("MainFormWidth", "Monitor_0", "AutoFolder", "ResampleFilter"):
            self.assertIn(key, other)
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)

    def test_print_screen_while_open_restores_a_minimised_window_and_grabs_nothing(self):
        self.start()
        self.key("Print")
        window = self.picture_window()
        self.grabbed()
        self.desktop.run(["xdotool", "windowminimize", "--sync", window], check=True)
        clear_clipboard(self.desktop)
        self.key("Print")
        wait_until(lambda: window in windows_named(self.desktop, PICTURE_WINDOW),
                   what="the window to come back")
        self.assertEqual(windows_named(self.desktop, PICTURE_WINDOW), [window])
        self.assertIsNone(clipboard_png(self.desktop))  # no second capture
        self.close_window(window)

    def test_a_hotkey_held_by_another_program_leaves_the_others_working(self):
        holder = subprocess.Popen([os.environ["KEY_HOLDER"], "0xff61", "0"], env=self.desktop.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.desktop.processes.append(holder)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        program = self.start(Client_Area=0)
        self.desktop.run(["xdotool", "key", "alt+Print"])
        window = self.picture_window()
        self.assertTrue(program.running())
        self.close_window(window)
        holder.stdin.close()

    def alt_print_grabs(self, client_only):
        self.start(Client_Area=client_only)
        window = open_app_window(self.desktop)
        client, frame = client_and_frame(self.desktop, window)
        shot = os.path.join(self.desktop.folder, "before.png")
        self.desktop.screenshot(shot)
        with open(shot, "rb") as f:
            _, _, screen = rgb_pixels(f.read())
        self.key("alt+Print")
        picture = self.picture_window()
        width, height, raw = self.grabbed()
        want = client if client_only else frame
        self.assertEqual((width, height), (want[2] - want[0], want[3] - want[1]))
        self.assertEqual(raw, crop_rgb(self.WIDTH, screen, *want))
        self.close_window(picture)

    def test_alt_print_takes_the_active_window_with_its_frame(self):
        self.alt_print_grabs(client_only=0)

    def test_alt_print_with_client_area_only_takes_the_client_area(self):
        self.alt_print_grabs(client_only=1)

    def test_include_cursor_draws_the_pointer_where_it_is(self):
        self.start(IncludeCursor=1)
        self.desktop.run(["xdotool", "mousemove", "--sync", "300", "200"], check=True)
        self.key("Print")
        window = self.picture_window()
        width, _, raw = self.grabbed()
        near = crop_rgb(width, raw, 284, 184, 316, 216)
        self.assertNotEqual(near, crop_rgb(self.WIDTH, self.background_rgb, 284, 184, 316, 216))
        far = crop_rgb(width, raw, 600, 400, 700, 500)
        self.assertEqual(far, crop_rgb(self.WIDTH, self.background_rgb, 600, 400, 700, 500))
        self.close_window(window)

    def tray_menu(self):
        """Right-clicks the tray icon and waits for the menu."""
        def ours():
            return set(self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                         "vistrel-pro"]).split())
        icon = wait_until(lambda: [w for w in ours() if "24x24" in
                                   self.desktop.run(["xdotool", "getwindowgeometry", w])],
                          what="the tray icon")[0]
        wait_until(lambda: ours() == {icon}, what="an earlier menu to close")
        # A click right after a menu closed can go to the closing menu: the
        # user clicks again.
        for attempt in range(3):
            self.desktop.run(["xdotool", "mousemove", "--window", icon, "12", "12", "click", "3"],
                             check=True)
            try:
                return wait_until(lambda: ours() - {icon}, timeout=3, what="the tray menu")
            except AssertionError:
                if attempt == 2:
                    raise

    def test_suspend_silences_the_hotkeys_and_brings_them_back(self):
        self.start()
        for expect_window in (False, True):
            # About, Open, Automatic Save, Direct Printing, Suspend: the enabled
            # items from the top.
            self.tray_menu()
            self.key("Down", "Down", "Down", "Down", "Down", "Return")
            self.key("Print")
            if expect_window:
                self.close_window(self.picture_window())
            else:
                # Once the program shows its menu again it has seen the key.
                self.tray_menu()
                self.key("Escape")
                self.assertEqual(windows_named(self.desktop, PICTURE_WINDOW), [])

    def test_double_click_on_the_tray_icon_opens_a_fresh_grab(self):
        self.start()
        icon = [w for w in self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                             "vistrel-pro"]).split()
                if "24x24" in self.desktop.run(["xdotool", "getwindowgeometry", w])][0]
        self.desktop.run(["xdotool", "mousemove", "--window", icon, "12", "12",
                          "click", "--repeat", "2", "--delay", "80", "1"], check=True)
        window = self.picture_window()
        width, height, _ = self.grabbed()
        self.assertEqual((width, height), (self.WIDTH, self.HEIGHT))
        self.close_window(window)

    def test_reset_to_default_and_exit_erases_every_setting(self):
        program = self.start()
        self.tray_menu()
        # From the bottom: Terminate Vistrel-Pro, Reset to Default and Exit.
        self.key("Up", "Up", "Return")
        box = wait_until(lambda: windows_named(self.desktop, "^Vistrel-Pro$"), what="the question")[0]
        self.desktop.run(["xdotool", "windowactivate", "--sync", box, "key", "alt+y"])
        self.assertEqual(program.wait_ended(), 0)
        self.assertFalse([s for s in read_settings(self.desktop) if s.startswith("Setup")])

    def test_terminate_while_the_picture_window_is_open_keeps_both_settings(self):
        program = self.start()
        self.key("Print")
        self.picture_window()
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)
        other = read_settings(self.desktop)["Setup\\OtherOptions"]
        self.assertIn("TimerEnabled", other)   # the program's exit
        self.assertIn("MainFormLeft", other)   # the picture window's close


class TwoMonitorTest(unittest.TestCase):
    def test_monitor_2_grabs_only_monitor_2(self):
        desktop = Desktop(two_monitors=True, window_manager=True)
        try:
            write_settings(desktop, options(Auto_Clipboard=1, Sound=0, Monitor_0=0, Monitor_2=1))
            Program(desktop).wait_resident()
            desktop.run(["xdotool", "key", "Print"], check=True)
            wait_until(lambda: windows_named(desktop, PICTURE_WINDOW), what="the picture window")
            width, height, _ = rgb_pixels(wait_until(lambda: clipboard_png(desktop),
                                                     what="the clipboard"))
            self.assertEqual((width, height), (1024, 768))
        finally:
            desktop.close()


if __name__ == "__main__":
    unittest.main()
