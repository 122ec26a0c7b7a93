"""The picture window and the tray on a real desktop: the tray menu's
banner, maximising and restoring the window, "Refresh screen"."""

import os
import re
import signal
import tempfile
import unittest

from desktop import (PICTURE_WINDOW, Desktop, Program, read_settings, rgb_pixels, wait_until,
                     windows_named, write_settings)

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"
SHOTS = tempfile.gettempdir()


def options(**values):
    lines = []
    for key, value in values.items():
        if isinstance(value, int):
            lines.append('"%s"=dword:%08x' % (key, value & 0xFFFFFFFF))
        else:
            lines.append('"%s"="%s"' % (key, value))
    return "REGEDIT4\n\n[%s]\n%s\n" % (ROOT, "\n".join(lines))


class WindowDesktopTest(unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)

    def tearDown(self):
        self.desktop.close()

    def start(self, **settings):
        write_settings(self.desktop, options(Sound="0", **settings))
        return Program(self.desktop).wait_resident()

    def picture_window(self):
        self.desktop.run(["xdotool", "key", "Print"], check=True)
        return wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                          what="the picture window")[0]

    def client_rect(self, window):
        """(left, top, width, height) of the window's client area."""
        info = self.desktop.run(["xwininfo", "-id", window])
        value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))

    def toggle_maximised(self, window, maximised):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window], check=True)
        self.desktop.run(["xdotool", "key", "super+m"], check=True)
        wait_until(lambda: ("_NET_WM_STATE_MAXIMIZED_HORZ" in self.desktop.run(
            ["xprop", "-id", window, "_NET_WM_STATE"])) == maximised,
            what="the window to %s" % ("maximise" if maximised else "restore"))

    def settle(self, window, previous=None):
        """The client rectangle once it stops changing."""
        last = [previous]

        def steady():
            now = self.client_rect(window)
            same = now == last[0]
            last[0] = now
            return same
        wait_until(steady, what="the window to settle")
        return last[0]

    def close(self, window):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "Escape"])
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW),
                   what="the picture window to close")

    def test_tray_menu_shows_its_banner_along_the_side(self):
        self.start()
        tree = self.desktop.run(["xwininfo", "-root", "-tree"])
        found = re.search(r'\("vistrel-pro" "Vistrel-Pro"\)\s+24x24\+-?\d+\+-?\d+\s+\+(\d+)\+(\d+)',
                          tree)
        self.assertIsNotNone(found, tree)
        x, y = int(found.group(1)) + 12, int(found.group(2)) + 12
        self.desktop.run(["xdotool", "mousemove", str(x), str(y), "click", "3"], check=True)

        def menu():
            for window in self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                            "vistrel-pro"]).split():
                geometry = self.desktop.run(["xdotool", "getwindowgeometry", window])
                size = re.search(r"Geometry: (\d+)x(\d+)", geometry)
                where = re.search(r"Position: (-?\d+),(-?\d+)", geometry)
                if size and where and int(size.group(2)) > 150:
                    return (int(where.group(1)), int(where.group(2)), int(size.group(1)),
                            int(size.group(2)))
            return None
        left, top, width, height = wait_until(menu, what="the tray menu")
        shot = os.path.join(SHOTS, "vistrel-tray-menu.png")

        def banner_drawn():
            self.desktop.screenshot(shot)
            with open(shot, "rb") as f:
                screen_width, _, raw = rgb_pixels(f.read())
            pixel = lambda px, py: raw[(py * screen_width + px) * 3:(py * screen_width + px) * 3 + 3]
            r, g, b = pixel(left + 2, top + height - 3)
            white = sum(1 for py in range(top, top + height) for px in range(left, left + 24)
                        if pixel(px, py) == b"\xff\xff\xff")
            return b > 100 and r < 40 and white > 30
        wait_until(banner_drawn, what="the banner on the tray menu (see %s)" % shot)
        self.desktop.run(["xdotool", "key", "Escape"])

    def test_unmaximising_puts_the_window_back_exactly(self):
        program = self.start(MainFormLeft=120, MainFormTop=90, MainFormWidth=700,
                             MainFormHeight=480)
        window = self.picture_window()
        before = self.settle(window)
        self.toggle_maximised(window, True)
        self.settle(window)
        self.toggle_maximised(window, False)
        self.assertEqual(self.settle(window), before)
        self.close(window)
        other = read_settings(self.desktop)["Setup\\OtherOptions"]
        self.assertEqual(other["MainFormState"], "dword:00000001")
        self.assertEqual(other["MainFormLeft"], "dword:%08x" % 120)
        self.assertEqual(other["MainFormTop"], "dword:%08x" % 90)
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)

    def test_window_opened_maximised_goes_back_to_its_stored_rectangle(self):
        program = self.start(MainFormState=2, MainFormLeft=300, MainFormTop=200,
                             MainFormWidth=650, MainFormHeight=450, OldWinLeft=40, OldWinTop=50,
                             OldWinRight=740, OldWinBottom=550)
        window = self.picture_window()
        wait_until(lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" in self.desktop.run(
            ["xprop", "-id", window, "_NET_WM_STATE"]), what="the window to open maximised")
        self.toggle_maximised(window, False)
        _, _, width, height = self.settle(window)
        self.assertEqual((width, height), (700, 500))
        self.close(window)
        other = read_settings(self.desktop)["Setup\\OtherOptions"]
        self.assertEqual(other["MainFormLeft"], "dword:%08x" % 40)
        self.assertEqual(other["MainFormTop"], "dword:%08x" % 50)
        self.assertEqual(other["OldWinLeft"], "dword:%08x" % 40)
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)

    def test_info_popup_grows_to_show_a_long_file_name(self):
        shots = os.path.join(self.desktop.folder, "shots") + "/"
        os.makedirs(shots)
        # F12 is "Get Desktop + Save" (slot 1).
        keys = "[%s]\n\"HotKey1\"=dword:0000007b\n\"IndexH1\"=dword:0000000d\n" % (
            ROOT.replace("OtherOptions", "HotKeys"))
        write_settings(self.desktop, options(Sound="0", ShowInfo="1", AutoFolder=shots,
                                             AutoFileName="AVeryLongPictureShotName")
                       + "\n" + keys)
        Program(self.desktop).wait_resident()
        before = set(self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                       "vistrel-pro"]).split())
        self.desktop.run(["xdotool", "mousemove", "200", "200", "key", "F12"], check=True)
        popup = wait_until(lambda: set(self.desktop.run(
            ["xdotool", "search", "--onlyvisible", "--class", "vistrel-pro"]).split()) - before,
            what="the info popup")
        geometry = self.desktop.run(["xdotool", "getwindowgeometry", popup.pop()])
        width, height = map(int, re.search(r"Geometry: (\d+)x(\d+)", geometry).groups())
        self.desktop.screenshot(os.path.join(SHOTS, "vistrel-info-popup.png"))
        self.assertGreater(width, 152)
        self.assertGreaterEqual(height, 42)


if __name__ == "__main__":
    unittest.main()
