"""Areas, objects and the custom capture rectangle on the frozen desktop,
driven with the mouse and keys on a desktop with a window manager and a
tray: the overlay stays frozen, drags take exactly the pixels under them
also with the size label and the magnifier on the screen, Esc, the menu by
keyboard, Auto Crop off, the tray item, Object with its outline, and timed
files holding exactly the defined rectangle."""

import glob
import os
import struct
import subprocess
import tempfile
import unittest

from desktop import (PICTURE_WINDOW, Desktop, Program, clear_clipboard, clipboard_png, crop_rgb,
                     deepest_window,
                     make_picture, read_settings, rgb_pixels, wait_until, windows_named,
                     write_settings)

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
F9 = 120  # the "Get Rectangular Area" hotkey of these tests


def value(v):
    if isinstance(v, bool):
        return '"%d"' % v
    if isinstance(v, int):
        return "dword:%08x" % (v & 0xFFFFFFFF)
    if isinstance(v, float):
        return "hex:" + ",".join("%02x" % b for b in struct.pack("<d", v))
    return '"%s"' % v


def settings(other, hotkeys):
    def section(name, values):
        return "[%s%s]\n%s\n" % (ROOT, name, "\n".join('"%s"=%s' % (k, value(v))
                                                     for k, v in values.items()))
    return "REGEDIT4\n\n" + section("OtherOptions", other) + "\n" + section("HotKeys", hotkeys)


def hotkey_table():
    keys = {0: (44, 0), 1: (0, 0), 2: (F9, 0), 3: (44, 1), 4: (0, 0), 5: (0, 0)}
    table = {}
    for slot, (key, modifier) in keys.items():
        table.update({"HotKey%d" % slot: key, "Modifier%d" % slot: modifier,
                      "IndexH%d" % slot: 0, "IndexM%d" % slot: 0})
    return table


class AreaTest(unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768
    SCALE = None  # Qt's scale factor for the program, when set

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        if self.SCALE:
            self.desktop.env["QT_SCALE_FACTOR"] = str(self.SCALE)
        self.background = os.path.join(self.desktop.folder, "background.png")
        make_picture(self.background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", self.background], check=True)
        with open(self.background, "rb") as f:
            _, _, self.background_rgb = rgb_pixels(f.read())

    def tearDown(self):
        self.desktop.close()

    def start(self, **other):
        values = dict(Auto_Clipboard=True, Sound=False, ShowInfo=False)
        values.update(other)
        write_settings(self.desktop, settings(values, hotkey_table()))
        return Program(self.desktop).wait_resident()

    def xdotool(self, *args):
        self.desktop.run(["xdotool", *args], check=True)

    def ours(self):
        return set(self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                     "vistrel-pro"]).split())

    def overlay(self, y=200):
        """The frozen-desktop window, once it covers the whole desktop and
        shows the background's row y (which nothing else may cover)."""
        def covering():
            for window in self.ours():
                geometry = self.desktop.run(["xdotool", "getwindowgeometry", window])
                if "Position: 0,0" in geometry and "%dx%d" % (self.WIDTH, self.HEIGHT) in geometry:
                    return window
            return None
        window = wait_until(covering, what="the frozen desktop")
        # Shown once its picture is on the screen.
        row = slice((y * self.WIDTH + 16) * 3, ((y + 1) * self.WIDTH - 16) * 3)  # inside any outline
        wait_until(lambda: self.screen_rgb()[row] == self.background_rgb[row],
                   what="the frozen picture")
        return window

    def overlay_gone(self):
        wait_until(lambda: not [w for w in self.ours() if "%dx%d" % (self.WIDTH, self.HEIGHT) in
                                self.desktop.run(["xdotool", "getwindowgeometry", w])],
                   what="the frozen desktop to close")

    def screen_rgb(self):
        shot = os.path.join(self.desktop.folder, "screen.png")
        self.desktop.screenshot(shot)
        with open(shot, "rb") as f:
            return rgb_pixels(f.read())[2]

    def picture_window(self):
        return wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                          what="the picture window")[0]

    def grabbed(self):
        return rgb_pixels(wait_until(lambda: clipboard_png(self.desktop), what="the clipboard"))

    def close_window(self, window):
        self.xdotool("windowactivate", "--sync", window, "key", "Escape")
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW),
                   what="the picture window to close")

    def drag(self, x0, y0, x1, y1):
        self.xdotool("mousemove", "--sync", str(x0), str(y0), "mousedown", "1")
        self.xdotool("mousemove", "--sync", str((x0 + x1) // 2), str((y0 + y1) // 2))
        self.xdotool("mousemove", "--sync", str(x1), str(y1), "mouseup", "1")

    def assert_picture(self, left, top, right, bottom):
        """The clipboard holds exactly the desktop's pixels of the rectangle
        (right and bottom exclusive)."""
        width, height, raw = self.grabbed()
        self.assertEqual((width, height), (right - left, bottom - top))
        self.assertEqual(raw, crop_rgb(self.WIDTH, self.background_rgb, left, top, right, bottom))

    def tray_menu(self):
        icon = wait_until(lambda: [w for w in self.ours() if "24x24" in
                                   self.desktop.run(["xdotool", "getwindowgeometry", w])],
                          what="the tray icon")[0]
        shown = self.ours()
        for attempt in range(3):
            self.xdotool("mousemove", "--window", icon, "12", "12", "click", "3")
            try:
                return wait_until(lambda: self.ours() - shown, timeout=3, what="the tray menu")
            except AssertionError:
                if attempt == 2:
                    raise

    def get_rectangular_area_from_the_tray(self):
        self.tray_menu()
        # From the bottom: Terminate, Reset to Default and Exit, Get Rectangular Area.
        self.xdotool("key", "Up", "Up", "Up", "Return")

    def automatic_save_menu(self, window):
        """Opens the Automatic Save button's drop-down of the picture window."""
        info = dict(line.strip().split(": ", 1) for line in
                    self.desktop.run(["xwininfo", "-id", window]).splitlines() if ": " in line)
        x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
        shown = self.ours()
        # The arrow beside "Off", the eleventh button of the toolbar.
        self.xdotool("mousemove", "--sync", str(x + 520), str(y + 46), "click", "1")
        wait_until(lambda: self.ours() - shown, what="the Automatic Save menu")


class FrozenDesktopTest(AreaTest):
    def test_the_overlay_stays_frozen_and_a_drag_takes_exactly_its_pixels(self):
        self.start()
        before = self.screen_rgb()  # the desktop with its panel
        self.xdotool("key", "F9")
        overlay = self.overlay()
        # The program's own window: its class and process id.
        props = self.desktop.run(["xprop", "-id", overlay, "WM_CLASS", "_NET_WM_PID"])
        self.assertIn("vistrel-pro", props)
        self.assertIn("_NET_WM_PID(CARDINAL)", props)
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-area-overlay.png"))
        # The desktop changes underneath; the overlay still shows it as it was.
        self.desktop.run(["hsetroot", "-solid", "#20a040"], check=True)
        self.assertEqual(self.screen_rgb(), before)
        self.drag(100, 50, 300, 80)
        window = self.picture_window()
        self.assert_picture(100, 50, 301, 81)
        self.close_window(window)

    def test_size_and_magnifier_show_while_dragging_and_are_never_taken(self):
        self.start()
        self.xdotool("key", "F9")
        self.overlay()
        self.xdotool("mousemove", "--sync", "100", "50", "keydown", "shift", "mousedown", "1")
        self.xdotool("mousemove", "--sync", "200", "65")
        self.xdotool("mousemove", "--sync", "300", "80")

        def changed(left, top, right, bottom):
            shown = crop_rgb(self.WIDTH, self.screen_rgb(), left, top, right, bottom)
            return shown != crop_rgb(self.WIDTH, self.background_rgb, left, top, right, bottom)
        # The label under the selection, the magnifier down and right of the pointer.
        wait_until(lambda: changed(100, 88, 140, 100), what="the size label")
        wait_until(lambda: changed(330, 110, 440, 220), what="the magnifier")
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-area-marks.png"))
        self.xdotool("mouseup", "1", "keyup", "shift")
        window = self.picture_window()
        self.assert_picture(100, 50, 301, 81)
        self.close_window(window)

    def test_esc_keeps_the_whole_desktop(self):
        self.start()
        self.xdotool("key", "F9")
        self.overlay()
        self.xdotool("key", "Escape")
        window = self.picture_window()
        width, height, _ = self.grabbed()
        self.assertEqual((width, height), (self.WIDTH, self.HEIGHT))
        self.close_window(window)

    def test_a_preset_from_the_menu_by_keyboard_then_enter(self):
        self.start()
        self.xdotool("key", "F9")
        self.overlay()
        before = self.ours()
        self.xdotool("mousemove", "--sync", "500", "400", "click", "3")
        wait_until(lambda: self.ours() - before, what="the menu")
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-area-menu.png"))
        # Rectangles > 128 x 128 (the submenu opens on its first item).
        self.xdotool("key", "Down", "Right")
        wait_until(lambda: len(self.ours() - before) == 2, what="the Rectangles menu")
        self.xdotool("key", "Down", "Down", "Down", "Return")
        wait_until(lambda: not self.ours() - before, what="the menus to close")
        self.xdotool("key", "Return")
        window = self.picture_window()
        self.assert_picture(448, 320, 576, 448)
        self.close_window(window)

    def test_without_auto_crop_the_selection_is_moved_and_enter_takes_it(self):
        self.start(AutoCrop=False)
        self.xdotool("key", "F9")
        self.overlay()
        self.drag(100, 50, 300, 80)
        self.drag(200, 65, 210, 70)  # from inside: moves it
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-area-selection.png"))
        self.assertFalse(windows_named(self.desktop, PICTURE_WINDOW))
        self.xdotool("key", "Return")
        window = self.picture_window()
        self.assert_picture(110, 55, 311, 86)
        self.close_window(window)


class TrayAndWindowTest(AreaTest):
    def test_tray_item_without_and_with_an_open_window(self):
        self.start()
        self.get_rectangular_area_from_the_tray()
        self.overlay()
        self.drag(40, 30, 139, 89)
        window = self.picture_window()
        self.assert_picture(40, 30, 140, 90)
        # With the window open the item captures into it.
        clear_clipboard(self.desktop)
        self.get_rectangular_area_from_the_tray()
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to hide")
        self.overlay()
        self.drag(500, 300, 563, 331)
        self.assertEqual(self.picture_window(), window)
        self.xdotool("windowactivate", "--sync", window, "key", "ctrl+c")
        self.assert_picture(500, 300, 564, 332)
        self.close_window(window)


class CustomRectangleTest(AreaTest):
    def test_defined_rectangle_is_what_timed_files_and_get_desktop_take(self):
        shots = os.path.join(self.desktop.folder, "shots") + "/"
        os.makedirs(shots)
        self.start(AutoFolder=shots, AutoIntTime=10 / 86400.0)
        self.xdotool("key", "Print")
        window = self.picture_window()
        self.automatic_save_menu(window)
        self.xdotool("key", "Down", "Down", "Return")  # Define Capture Rectangle
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to hide")
        self.overlay()
        # The stored rectangle, the desktop inset by 4, resized by its grips.
        self.drag(4, 4, 100, 50)
        self.drag(1019, 763, 300, 200)
        self.xdotool("key", "Return")
        window = self.picture_window()
        self.close_window(window)
        # The window writes its settings as it is destroyed, after it is gone
        # from the screen.
        other = wait_until(lambda: [o for o in [read_settings(self.desktop)["Setup\\OtherOptions"]]
                                    if "CustomLeft" in o], what="the stored rectangle")[0]
        self.assertEqual([other[k] for k in ("CustomLeft", "CustomTop", "CustomRight", "CustomBottom")],
                         [value(100), value(50), value(301), value(201)])
        # Automatic Save on from the tray: the timed files hold the rectangle.
        self.tray_menu()
        # About, Open, Automatic Save.
        self.xdotool("key", "Down", "Down", "Down", "Return")
        box = wait_until(lambda: windows_named(self.desktop, "^Vistrel-Pro$"), what="the question")[0]
        self.xdotool("windowactivate", "--sync", box, "key", "alt+y")
        first = wait_until(lambda: sorted(glob.glob(shots + "*.png")), timeout=60,
                           what="a timed file")[0]
        wait_until(lambda: os.path.getsize(first) > 0, what="the file to be written")
        with open(first, "rb") as f:
            width, height, raw = rgb_pixels(f.read())
        self.assertEqual((width, height), (201, 151))
        self.assertEqual(raw, crop_rgb(self.WIDTH, self.background_rgb, 100, 50, 301, 201))
        # Get Desktop while the timer runs: the same rectangle.
        clear_clipboard(self.desktop)
        self.xdotool("key", "Print")
        window = self.picture_window()
        self.assert_picture(100, 50, 301, 201)
        self.close_window(window)


class ObjectTest(AreaTest):
    def test_object_takes_the_button_of_another_program(self):
        self.start(MainFormLeft=380, MainFormTop=300)
        self.desktop.start(["xmessage", "-geometry", "300x200+20+20", "-name", "victim",
                            "Another program"])
        app = wait_until(lambda: windows_named(self.desktop, "victim"), what="xmessage")[0]
        self.xdotool("key", "Print")
        window = self.picture_window()
        info = dict(line.strip().split(": ", 1) for line in
                    self.desktop.run(["xwininfo", "-id", window]).splitlines() if ": " in line)
        x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
        # The button of xmessage, bottom left of its window.
        button = wait_until(lambda: [r for r in [deepest_window(self.desktop, app, 40, 220)]
                                     if r and r[3] - r[1] < 150], what="the button")[0]
        bx, by = (button[1] + button[3]) // 2, (button[2] + button[4]) // 2
        # "Object", the ninth button of the toolbar.
        self.xdotool("mousemove", "--sync", str(x + 412), str(y + 37), "click", "1")
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to hide")
        self.overlay(y=270)
        frozen = self.screen_rgb()
        # Before the click the button is outlined on its own edge pixels.
        self.xdotool("mousemove", "--sync", str(bx), str(by))
        red = bytes((230, 0, 0))
        wait_until(lambda: crop_rgb(self.WIDTH, self.screen_rgb(), button[1], button[2],
                                    button[1] + 1, button[2] + 1) == red, what="the outline")
        self.assertEqual(crop_rgb(self.WIDTH, self.screen_rgb(), button[3] - 1, button[4] - 1,
                                  button[3], button[4]), red)
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-object-outline.png"))
        self.xdotool("click", "1")
        self.picture_window()
        self.xdotool("windowactivate", "--sync", window, "key", "ctrl+c")
        width, height, raw = self.grabbed()
        self.assertEqual((width, height), (button[3] - button[1], button[4] - button[2]))
        # As the frozen desktop showed it, at its own place on the screen.
        self.assertEqual(raw, crop_rgb(self.WIDTH, frozen, *button[1:]))
        self.close_window(window)


    def test_object_holds_the_frozen_pixels_of_a_window_changed_meanwhile(self):
        self.start(MainFormLeft=380, MainFormTop=300)
        flag = os.path.join(self.desktop.folder, "recolour")
        self.desktop.start(["python3", os.path.join(os.path.dirname(__file__), "recolour_window.py"),
                            "240x160+40+40", flag, "#2050c0", "#c03020"])
        app = wait_until(lambda: windows_named(self.desktop, "recolour"), what="the window")[0]
        self.xdotool("key", "Print")
        window = self.picture_window()
        info = dict(line.strip().split(": ", 1) for line in
                    self.desktop.run(["xwininfo", "-id", window]).splitlines() if ": " in line)
        x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
        panel = wait_until(lambda: deepest_window(self.desktop, app, 150, 120), what="the panel")
        self.xdotool("mousemove", "--sync", str(x + 412), str(y + 37), "click", "1")
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to hide")
        self.overlay(y=270)
        frozen = self.screen_rgb()
        # The window changes colour under the overlay, which still shows it blue.
        open(flag, "w").close()
        wait_until(lambda: os.path.exists(flag + ".done"), what="the window to recolour")
        self.assertEqual(self.screen_rgb(), frozen)
        self.xdotool("mousemove", "--sync", "150", "120", "click", "1")
        self.picture_window()
        self.xdotool("windowactivate", "--sync", window, "key", "ctrl+c")
        width, height, raw = self.grabbed()
        self.assertEqual((width, height), (panel[3] - panel[1], panel[4] - panel[2]))
        self.assertEqual(raw, crop_rgb(self.WIDTH, frozen, *panel[1:]))
        self.assertEqual(raw[:3], bytes((0x20, 0x50, 0xc0)))
        self.close_window(window)


class TwoMonitorsTest(AreaTest):
    """A 1920 x 1080 monitor and a 1024 x 768 one to its right."""
    WIDTH, HEIGHT = 2944, 1080

    def setUp(self):
        self.desktop = Desktop(window_manager=True, two_monitors=True, second_output=True)
        self.background = os.path.join(self.desktop.folder, "background.png")
        make_picture(self.background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", self.background], check=True)

    def monitor2_overlay(self):
        return wait_until(lambda: [w for w in self.ours() if "%dx%d" % (self.WIDTH, self.HEIGHT) in
                                   self.desktop.run(["xdotool", "getwindowgeometry", w])],
                          what="the frozen desktop")

    def test_drags_across_the_boundary_and_on_monitor_2(self):
        self.start()
        screen = self.screen_rgb()
        self.background_rgb = screen
        for area in ((1800, 100, 2100, 200), (2500, 300, 2700, 700)):
            clear_clipboard(self.desktop)
            self.xdotool("key", "F9")
            self.overlay(y=50)
            self.drag(*area)
            window = self.picture_window()
            self.assert_picture(area[0], area[1], area[2] + 1, area[3] + 1)
            self.close_window(window)

    def test_monitor_2_alone_is_centred_on_white_and_keeps_screen_pixels(self):
        self.start(Monitor_0=False, Monitor_2=True)
        self.background_rgb = self.screen_rgb()
        self.xdotool("key", "F9")
        self.monitor2_overlay()
        left, top = (self.WIDTH - 1024) // 2, (self.HEIGHT - 768) // 2
        shown = wait_until(lambda: [s for s in [self.screen_rgb()]
                                    if s[:3] == b"\xff\xff\xff"], what="the white background")[0]
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-area-monitor2.png"))
        self.assertEqual(crop_rgb(self.WIDTH, shown, left, top, left + 1024, top + 768),
                         crop_rgb(self.WIDTH, self.background_rgb, 1920, 0, 2944, 768))
        # An area: the pixels under the selection, which are monitor 2's.
        self.drag(left + 10, top + 20, left + 109, top + 119)
        window = self.picture_window()
        self.assert_picture(1930, 20, 2030, 120)
        # The custom capture rectangle: monitor 2's screen pixels, stored.
        self.automatic_save_menu(window)
        self.xdotool("key", "Down", "Down", "Return")
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to hide")
        self.monitor2_overlay()
        # The stored rectangle (the desktop inset by 4) covers nearly all of
        # monitor 2; a new one starts in its free top-right corner.
        self.drag(left + 1022, top + 1, left + 900, top + 100)
        self.xdotool("key", "Return")
        window = self.picture_window()
        self.close_window(window)
        # The window writes its settings as it is destroyed, after it is gone
        # from the screen.
        other = wait_until(lambda: [o for o in [read_settings(self.desktop)["Setup\\OtherOptions"]]
                                    if "CustomLeft" in o], what="the stored rectangle")[0]
        self.assertEqual([other[k] for k in ("CustomLeft", "CustomTop", "CustomRight", "CustomBottom")],
                         [value(2820), value(1), value(2943), value(101)])


class ScaledTest(AreaTest):
    """Qt scales the interface by two; the overlay still shows one screen
    pixel for each frozen pixel and a drag takes the screen pixels under it."""
    SCALE = 2

    def test_a_drag_with_the_interface_scaled(self):
        self.start()
        before = self.screen_rgb()
        self.xdotool("key", "F9")
        self.overlay()
        self.assertEqual(self.screen_rgb(), before)
        self.drag(101, 51, 301, 81)
        window = self.picture_window()
        self.assert_picture(101, 51, 302, 82)
        self.close_window(window)


class DpiScaledTest(ScaledTest):
    """The desktop says 192 dots per inch (Xft.dpi), which Qt turns into a
    scale of two on its own."""
    SCALE = None

    def setUp(self):
        super().setUp()
        subprocess.run(["xrdb", "-merge"], input="Xft.dpi: 192\n", env=self.desktop.env, text=True,
                       check=True, timeout=30)
        self.desktop.env["QT_AUTO_SCREEN_SCALE_FACTOR"] = "1"


if __name__ == "__main__":
    unittest.main()
