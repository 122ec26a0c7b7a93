"""The standard editing window's stored recipe on new pictures, choices saved
as default against unsaved ones, and loading pictures with a history that
survives a restart. Expected pictures are made by ImageMagick from a grab of
the same desktop and compared pixel by pixel."""

import os
import signal
import subprocess
import unittest

from desktop import (CONVERT, PICTURE_WINDOW, Desktop, Program, answer_save_question, clear_clipboard,
                     clipboard_png, make_picture, read_settings, rgb_pixels, wait_until, windows_named,
                     write_settings)

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
EDIT_WINDOW = "Standard Picture Editing Window"
# Grey as the program computes it: (21 R + 71 G + 8 B) div 100.
GREY = "floor((21*r+71*g+8*b)*2.55+0.000001)/255"


class EditingWindowTest(unittest.TestCase):
    WIDTH, HEIGHT = 800, 600

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        background = os.path.join(self.desktop.folder, "background.png")
        make_picture(background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", background], check=True)
        self.shots = os.path.join(self.desktop.folder, "shots") + "/"
        os.makedirs(self.shots)

    def tearDown(self):
        self.desktop.close()

    def path(self, name):
        return os.path.join(self.desktop.folder, name)

    def start(self, recipe=None, **other):
        values = dict(AutoFolder=self.shots, Sound=0, ShowInfo=0, Quality_Zoom=0)
        values.update(other)
        text = ("REGEDIT4\n\n[%sHotKeys]\n\"HotKey1\"=dword:0000007b\n\"IndexH1\"=dword:0000000d\n"
                "\n[%sOtherOptions]\n%s\n" % (ROOT, ROOT, "\n".join(
                    '"%s"="%s"' % item for item in values.items())))
        if recipe:
            text += "\n[%sPictureOptions]\n%s\n" % (ROOT, "\n".join(
                '"%s"=dword:%08x' % (k, v) if isinstance(v, int) else '"%s"="%s"' % (k, v)
                for k, v in recipe.items()))
        write_settings(self.desktop, text)
        return Program(self.desktop).wait_resident()

    def key(self, *keys):
        self.desktop.run(["xdotool", "key", *keys], check=True)

    def window(self, name):
        return wait_until(lambda: windows_named(self.desktop, name), what=name)[0]

    def keys_to(self, window, *keys):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window], check=True)
        self.key(*keys)

    def root_grab(self, name):
        path = self.path(name)
        self.desktop.run(["import", "-window", "root", "PNG24:" + path], check=True)
        return path

    def expected(self, name, *arguments):
        out = self.path(name)
        subprocess.run([CONVERT, *arguments, "-depth", "8", "PNG24:" + out], check=True, timeout=300)
        return out

    def assert_same_pixels(self, got, want):
        pictures = []
        for path in (got, want):
            with open(path, "rb") as f:
                pictures.append(rgb_pixels(f.read()))
        (gw, gh, graw), (ww, wh, wraw) = pictures
        self.assertEqual((gw, gh), (ww, wh), "%s has another size than %s" % (got, want))
        differing = sum(1 for i in range(0, len(graw), 3) if graw[i:i + 3] != wraw[i:i + 3])
        self.assertEqual(differing, 0, "%s differs from %s" % (got, want))

    def save_once(self, name):
        path = os.path.join(self.shots, name)
        self.key("F12")
        wait_until(lambda: os.path.exists(path), what=name)
        return path

    def test_stored_recipe_shapes_the_saved_file_and_the_first_paint(self):
        # Grey, 640 x 480 regardless of proportions, a 3-pixel red frame.
        recipe = dict(CheckBoxItem0="1", PictureSize=1, RFrameSize=3, RFrameColor=0x0000FF)
        self.start(recipe, Auto_Clipboard=1)
        grab = self.root_grab("grab.png")
        # Nearest pixel: the source pixel under the centre of each new one,
        # column floor((x + 0.5) * 800 / 640), row likewise.
        nearest = "v.p{floor((i+0.5)*%d/640),floor((j+0.5)*%d/480)}" % (self.WIDTH, self.HEIGHT)
        want = self.expected("want.png", "-size", "640x480", "xc:", grab, "-interpolate", "integer",
                             "-fx", nearest, "-fx", GREY, "-bordercolor", "#FF0000", "-border", "3")
        self.assert_same_pixels(self.save_once("Picture0001.png"), want)

        clear_clipboard(self.desktop)
        self.key("Print")
        window = self.window(PICTURE_WINDOW)
        shown = self.path("shown.png")
        with open(shown, "wb") as f:
            f.write(wait_until(lambda: clipboard_png(self.desktop), what="the first paint's copy"))
        self.assert_same_pixels(shown, want)
        self.keys_to(window, "Escape")

    def test_choices_saved_as_default_reach_the_next_capture_and_unsaved_ones_do_not(self):
        self.start()
        self.key("Print")
        window = self.window(PICTURE_WINDOW)
        self.keys_to(window, "ctrl+e")
        editor = self.window(EDIT_WINDOW)
        # The effects list has the focus on "Grayscale Colors".
        self.keys_to(editor, "space", "alt+d")
        wait_until(lambda: read_settings(self.desktop).get("Setup\\PictureOptions"),
                   what="the saved recipe")
        # "Invert Colors", not saved.
        self.keys_to(editor, "Down", "space")
        self.keys_to(editor, "Escape")
        wait_until(lambda: not windows_named(self.desktop, EDIT_WINDOW), what="the editor to close")
        self.keys_to(window, "Escape")
        answer_save_question(self.desktop, "alt+d")  # the edited picture is not wanted
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to close")

        stored = read_settings(self.desktop)["Setup\\PictureOptions"]
        self.assertEqual(stored["CheckBoxItem0"], '"1"')
        self.assertEqual(stored["CheckBoxItem1"], '"0"')
        self.assertIn("RSubsituteColors", stored)
        grab = self.root_grab("grab.png")
        want = self.expected("grey.png", grab, "-fx", GREY)
        self.assert_same_pixels(self.save_once("Picture0001.png"), want)

    def load_through_dialog(self, window, path):
        self.keys_to(window, "ctrl+l")
        dialog = self.window("Load Picture")
        self.keys_to(dialog, "ctrl+a")
        self.desktop.run(["xdotool", "type", "--delay", "20", path], check=True)
        self.key("Return")
        wait_until(lambda: not windows_named(self.desktop, "Load Picture"), what="the dialog to close")

    def test_loaded_files_are_offered_after_a_restart_and_an_entry_loads(self):
        pictures = []
        for n, size in enumerate(("40x30", "50x20", "60x70")):
            p = self.path("load%d.png" % n)
            subprocess.run([CONVERT, "-size", size, "xc:#%02x4080" % (40 * n + 10), "PNG24:" + p],
                           check=True, timeout=60)
            pictures.append(p)
        program = self.start(Auto_Clipboard=0)
        self.key("Print")
        window = self.window(PICTURE_WINDOW)
        for p in pictures:
            self.load_through_dialog(window, p)
        clear_clipboard(self.desktop)
        self.keys_to(window, "ctrl+c")
        got = self.path("got.png")
        with open(got, "wb") as f:
            f.write(wait_until(lambda: clipboard_png(self.desktop), what="the copy"))
        self.assert_same_pixels(got, pictures[2])
        self.keys_to(window, "Escape")
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW), what="the window to close")
        program.signal(signal.SIGTERM)
        program.wait_ended()

        stored = read_settings(self.desktop)["Setup\\OtherOptions"]
        self.assertEqual(stored["Load_History_Count"], "dword:00000003")
        self.assertEqual([stored["History_Line%d" % i] for i in range(3)],
                         ['"%s"' % p for p in pictures])
        self.assertEqual(stored["LoadFolder"], '"%s/"' % self.desktop.folder)

        Program(self.desktop).wait_resident()
        self.key("Print")
        window = self.window(PICTURE_WINDOW)
        # The Load button's drop-down: its arrow is the right edge of the first button.
        self.desktop.run(["xdotool", "windowactivate", "--sync", window], check=True)
        x, y = self.load_arrow(window)
        self.desktop.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1"],
                         check=True)
        self.key("Down", "Return")  # the first entry
        clear_clipboard(self.desktop)
        self.keys_to(window, "ctrl+c")
        got = self.path("entry.png")
        with open(got, "wb") as f:
            f.write(wait_until(lambda: clipboard_png(self.desktop), what="the copy"))
        self.assert_same_pixels(got, pictures[0])

    @staticmethod
    def load_arrow(window):
        """The drop-down arrow right of the "Load" caption, in window
        coordinates (first toolbar button, below the menu bar)."""
        return 54, 46


if __name__ == "__main__":
    unittest.main()
