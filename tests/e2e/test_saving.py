"""Saving without a window: "Get Desktop + Save" on a hotkey writes numbered
files with the desktop's pixels, in the stored type and writer options, and
a failed save is reported with its path while the program goes on."""

import os
import signal
import subprocess
import unittest

from desktop import (PICTURE_WINDOW, Desktop, Program, crop_rgb, make_picture, rgb_pixels, wait_until,
                     windows_named, write_settings)

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
PANEL = 32


class SavingTest(unittest.TestCase):
    WIDTH, HEIGHT = 800, 600

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        background = os.path.join(self.desktop.folder, "background.png")
        make_picture(background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", background], check=True)
        with open(background, "rb") as f:
            _, _, self.background_rgb = rgb_pixels(f.read())
        self.shots = os.path.join(self.desktop.folder, "shots") + "/"
        os.makedirs(self.shots)

    def tearDown(self):
        self.desktop.close()

    def start(self, **other):
        values = dict(AutoFolder=self.shots, Sound=0, ShowInfo=0)
        values.update(other)
        lines = "\n".join('"%s"="%s"' % item for item in values.items())
        # F12 is "Get Desktop + Save" (slot 1).
        write_settings(self.desktop,
                       "REGEDIT4\n\n[%sHotKeys]\n\"HotKey1\"=dword:0000007b\n\"IndexH1\"=dword:0000000d\n"
                       "\n[%sOtherOptions]\n%s\n" % (ROOT, ROOT, lines))
        return Program(self.desktop).wait_resident()

    def save_once(self, name):
        path = os.path.join(self.shots, name)
        self.desktop.run(["xdotool", "key", "F12"], check=True)
        wait_until(lambda: os.path.exists(path), what=name)
        return path

    def test_numbered_files_with_the_desktop_and_the_first_gap_filled(self):
        self.start()
        first = self.save_once("Picture0001.png")
        self.save_once("Picture0002.png")
        with open(first, "rb") as f:
            width, height, raw = rgb_pixels(f.read())
        self.assertEqual((width, height), (self.WIDTH, self.HEIGHT))
        rows = self.HEIGHT - PANEL
        self.assertEqual(crop_rgb(width, raw, 0, 0, width, rows),
                         crop_rgb(width, self.background_rgb, 0, 0, width, rows))
        os.remove(first)
        self.save_once("Picture0001.png")
        self.assertEqual(windows_named(self.desktop, "Vistrel-Pro"), [])  # no window shown
        self.assertEqual(sorted(n for n in os.listdir(self.shots)),
                         ["Picture0001.png", "Picture0002.png"])  # nothing half-written left

    def test_stored_type_and_writer_options_reach_the_files(self):
        self.start(AutoExtention="gif", DefGifVer89=0, AutoFileName="Shot")
        with open(self.save_once("Shot0001.gif"), "rb") as f:
            self.assertEqual(f.read(6), b"GIF87a")

    def test_jpeg_quality_and_png_level_are_the_stored_ones(self):
        program = self.start(AutoExtention="jpg", DefJpgQuality=23)
        path = self.save_once("Picture0001.jpg")
        quality = self.desktop.run(["identify", "-format", "%Q", path]).strip()
        self.assertEqual(quality, "23")
        program.signal(signal.SIGTERM)
        program.wait_ended()
        self.start(AutoExtention="png", DefPngComp=9)
        with open(self.save_once("Picture0001.png"), "rb") as f:
            data = f.read()
        idat = data.index(b"IDAT")
        self.assertEqual(data[idat + 5] >> 6, 3)  # zlib's "maximum compression" level

    def test_the_type_chosen_in_the_save_dialog_reaches_later_automatic_saves(self):
        self.start(SaveFolder=self.shots)
        self.desktop.run(["xdotool", "key", "Print"], check=True)
        window = wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                            what="the picture window")[0]
        dialog = self.open_save_dialog(window)
        # Alt+T goes to the type list, where Home picks the first, JPEG;
        # Alt+N back to the name, which now ends in ".jpg".
        self.desktop.run(["xdotool", "windowactivate", "--sync", dialog,
                          "key", "alt+t", "Home", "alt+n", "Return"])
        wait_until(lambda: os.path.exists(self.shots + "Picture0001.jpg"), what="the JPEG save")
        # The next dialog proposes the chosen type; from now on automatic
        # saves write it.
        dialog = self.open_save_dialog(window)
        self.desktop.run(["xdotool", "windowactivate", "--sync", dialog, "key", "Escape"])
        wait_until(lambda: not windows_named(self.desktop, "^Save Picture as"), what="the dialog to close")
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "Escape"])
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to close")
        with open(self.save_once("Picture0002.jpg"), "rb") as f:
            self.assertEqual(f.read(3), b"\xff\xd8\xff")

    def open_save_dialog(self, window):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "ctrl+s"])
        return wait_until(lambda: windows_named(self.desktop, "^Save Picture as"),
                          what="the save dialog")[0]

    def test_a_folder_that_is_gone_is_reported_and_the_next_save_works(self):
        missing = os.path.join(self.desktop.folder, "gone") + "/"
        program = self.start(AutoFolder=missing)
        self.desktop.run(["xdotool", "key", "F12"], check=True)
        self.dismiss_error_box()
        os.makedirs(missing)
        self.desktop.run(["xdotool", "key", "F12"], check=True)
        wait_until(lambda: os.path.exists(missing + "Picture0001.png"), what="the next save")
        self.assertTrue(program.running())

    def dismiss_error_box(self):
        box = wait_until(lambda: windows_named(self.desktop, "^Vistrel-Pro$"), what="the error box")[0]
        self.desktop.run(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
        wait_until(lambda: not windows_named(self.desktop, "^Vistrel-Pro$"), what="the box to close")

    def test_a_full_disk_leaves_no_half_written_file(self):
        full = os.path.join(self.desktop.folder, "full")
        os.makedirs(full)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=16k", "tmpfs", full],
                          capture_output=True).returncode != 0:
            self.skipTest("cannot mount a small tmpfs here (needs root)")
        try:
            program = self.start(AutoFolder=full + "/")
            self.desktop.run(["xdotool", "key", "F12"], check=True)
            self.dismiss_error_box()
            self.assertEqual(os.listdir(full), [])
            self.assertTrue(program.running())
            program.signal(signal.SIGTERM)
            program.wait_ended()
        finally:
            subprocess.run(["umount", full])

    def test_the_info_popup_names_the_file_and_goes_away(self):
        self.start(ShowInfo=1)
        icon = set(self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                     "vistrel-pro"]).split())
        self.desktop.run(["xdotool", "key", "F12"], check=True)
        popup = wait_until(lambda: set(self.desktop.run(
            ["xdotool", "search", "--onlyvisible", "--class", "vistrel-pro"]).split()) - icon,
            what="the info popup")
        self.assertTrue(os.path.exists(os.path.join(self.shots, "Picture0001.png")))
        wait_until(lambda: not (set(self.desktop.run(
            ["xdotool", "search", "--onlyvisible", "--class", "vistrel-pro"]).split()) & popup),
            what="the popup to go")


if __name__ == "__main__":
    unittest.main()
