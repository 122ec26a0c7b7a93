"""Editing a captured picture as a user does: a drag with Auto Crop, Undo,
the right-click rectangles, the picture functions, a resize preset, Paste,
text insertion and the effects dialog. Results are read with Ctrl+C and
xclip and compared with ImageMagick."""

import os
import signal
import stat
import subprocess
import time
import unittest

from desktop import (CONVERT, PICTURE_WINDOW, Desktop, Program, answer_save_question, clear_clipboard,
                     clipboard_png, crop_rgb, make_picture, rgb_pixels, wait_until, windows_named, write_settings)
from notification_server import NotificationService

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"


def settings(other, text=None):
    def section(name, values):
        lines = []
        for key, value in values.items():
            lines.append('"%s"=%s' % (key, value if isinstance(value, str) and value.startswith("dword:")
                                       else '"%s"' % value))
        return "[%s%s]\n%s\n" % (ROOT, name, "\n".join(lines))
    text_section = "\n" + section("TextOptions", text) if text else ""
    return "REGEDIT4\n\n" + section("OtherOptions", other) + text_section


def convert_rgb(png_bytes, *args):
    """ImageMagick's result of `args` on a PNG, as (width, height, RGB bytes)."""
    out = subprocess.run([CONVERT, "png:-", *args, "png:-"], input=png_bytes, capture_output=True,
                         check=True, timeout=60).stdout
    return rgb_pixels(out)


def find_all(haystack, needle):
    found, start = [], 0
    while True:
        at = haystack.find(needle, start)
        if at < 0:
            return found
        found.append(at)
        start = at + 1


class EditingTest(unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        self.background = os.path.join(self.desktop.folder, "background.png")
        make_picture(self.background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", self.background], check=True)
        with open(self.background, "rb") as f:
            self.background_png = f.read()
        _, _, self.background_rgb = rgb_pixels(self.background_png)

    def tearDown(self):
        self.desktop.close()

    # ---- driving the program --------------------------------------------

    def open_window(self, text=None, **options):
        values = dict(Sound=0, Auto_Clipboard=0, AutoCrop=0, Quality_Zoom=1, ResampleFilter="dword:00000001")
        values.update(options)
        write_settings(self.desktop, settings(values, text))
        self.program = Program(self.desktop).wait_resident()
        self.key("Print")
        self.window = wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW),
                                 what="the picture window")[0]
        self.desktop.run(["xdotool", "windowactivate", "--sync", self.window])
        self.view_origin = self.locate_picture_row(self.background_rgb[:64 * 3], exclude=(0, 0))

    def key(self, *keys):
        self.desktop.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)

    def screen(self):
        shot = os.path.join(self.desktop.folder, "screen.png")
        self.desktop.screenshot(shot)
        with open(shot, "rb") as f:
            return rgb_pixels(f.read())[2]

    def locate_picture_row(self, needle, exclude=None):
        """Screen position where these RGB bytes start a row (waits for them)."""
        def found():
            raw = self.screen()
            for at in find_all(raw, needle):
                if at % 3:
                    continue
                pos = ((at // 3) % self.WIDTH, (at // 3) // self.WIDTH)
                if pos != exclude:
                    return pos
            return None
        return wait_until(found, what="the picture on the screen")

    def copied(self):
        """Ctrl+C, then the clipboard's picture."""
        clear_clipboard(self.desktop)
        self.desktop.run(["xdotool", "windowactivate", "--sync", self.window])
        self.key("ctrl+c")
        return wait_until(lambda: clipboard_png(self.desktop), what="the copied picture")

    def drag(self, x0, y0, x1, y1):
        ox, oy = self.view_origin
        self.desktop.run(["xdotool", "mousemove", "--sync", str(ox + x0), str(oy + y0), "mousedown", "1"])
        for step in range(1, 5):
            x = x0 + (x1 - x0) * step // 4
            y = y0 + (y1 - y0) * step // 4
            self.desktop.run(["xdotool", "mousemove", "--sync", str(ox + x), str(oy + y)])
        self.desktop.run(["xdotool", "mouseup", "1"])

    def popup(self, *keys):
        """Right click in the picture, then keys in its menu."""
        ox, oy = self.view_origin
        shown = self.program_windows()
        self.desktop.run(["xdotool", "mousemove", "--sync", str(ox + 300), str(oy + 150), "click", "3"])
        wait_until(lambda: self.program_windows() - shown, what="the menu")
        for k in keys:
            self.key(k)

    def program_windows(self):
        return set(self.desktop.run(["xdotool", "search", "--onlyvisible", "--class", "vistrel"]).split())

    def wait_for_size(self, width, height):
        def right_size():
            png = self.copied()
            w, h, raw = rgb_pixels(png)
            return (w, h, raw, png) if (w, h) == (width, height) else None
        return wait_until(right_size, what="a %dx%d picture" % (width, height))

    # ---- the cases -------------------------------------------------------

    def test_drag_with_auto_crop_crops_the_desktop_then_undo_and_a_preset_rectangle(self):
        self.open_window(AutoCrop=1)
        self.drag(50, 40, 250, 140)
        w, h, raw = rgb_pixels(wait_until(lambda: (lambda p: p if rgb_pixels(p)[0] < 1024 else None)(
            self.copied()), what="the crop"))
        self.assertIn(w, (200, 201))
        self.assertIn(h, (100, 101))
        self.assertEqual(raw, crop_rgb(self.WIDTH, self.background_rgb, 50, 40, 50 + w, 40 + h))
        self.key("ctrl+z")
        _, _, raw, _ = self.wait_for_size(self.WIDTH, self.HEIGHT)
        self.assertEqual(crop_rgb(self.WIDTH, raw, 0, 0, self.WIDTH, 500),
                         crop_rgb(self.WIDTH, self.background_rgb, 0, 0, self.WIDTH, 500))
        # "128 x 128" from the right-click menu, then Ctrl+R.
        self.popup("Down", "Right", "Down", "Down", "Down", "Return")
        self.key("ctrl+r")
        _, _, raw, png = self.wait_for_size(128, 128)
        row = raw[:128 * 3]
        at = self.background_rgb.find(row)
        self.assertGreaterEqual(at, 0)
        x, y = (at // 3) % self.WIDTH, (at // 3) // self.WIDTH
        self.assertEqual(raw, crop_rgb(self.WIDTH, self.background_rgb, x, y, x + 128, y + 128))

        # The picture functions, each against ImageMagick or the grey rule.
        def after(keys, size=(128, 128)):
            self.key(keys)
            return self.wait_for_size(*size)

        _, _, rotated, png = after("ctrl+alt+r")
        self.assertEqual(rotated, convert_rgb(self.png_of(raw, 128, 128), "-rotate", "-90")[2])
        _, _, flopped, _ = after("ctrl+alt+h")
        self.assertEqual(flopped, convert_rgb(png, "-flop")[2])
        _, _, flipped, _ = after("ctrl+alt+v")
        self.assertEqual(flipped, convert_rgb(self.png_of(flopped, 128, 128), "-flip")[2])
        _, _, negated, _ = after("ctrl+alt+i")
        self.assertEqual(negated, bytes(255 - v for v in flipped))
        _, _, grey, _ = after("ctrl+alt+g")
        want = bytearray()
        for i in range(0, len(negated), 3):
            r, g, b = negated[i], negated[i + 1], negated[i + 2]
            want += bytes([(r * 21 + g * 71 + b * 8) // 100] * 3)
        self.assertEqual(grey, bytes(want))

    def test_marks_by_key_reach_the_clipboard_and_a_pixelated_area_is_saved_as_blocks(self):
        self.open_window(SaveFolder=self.desktop.folder, ShowInfo=0)
        self.key("r")
        self.drag(100, 100, 300, 200)
        w, _, raw = rgb_pixels(self.copied())

        def pixel(data, x, y):
            return data[(y * w + x) * 3:(y * w + x) * 3 + 3]

        for x, y in ((100, 100), (300, 200), (200, 100), (100, 150), (300, 120)):
            self.assertEqual(pixel(raw, x, y), b"\xff\x00\x00", (x, y))
        for x, y in ((200, 150), (96, 100), (305, 200)):
            self.assertEqual(pixel(raw, x, y), pixel(self.background_rgb, x, y), (x, y))

        self.key("x")
        self.drag(400, 150, 479, 229)
        self.key("ctrl+s")
        wait_until(lambda: windows_named(self.desktop, "^Save Picture as"), what="the save dialog")
        self.key("Return")
        saved = os.path.join(self.desktop.folder, "Picture0001.png")
        wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0, what="the saved picture")
        time.sleep(0.5)
        with open(saved, "rb") as f:
            _, _, raw = rgb_pixels(f.read())
        # Ten by ten blocks of 8 x 8, each one colour: the mean of what lay there.
        for by in range(10):
            for bx in range(10):
                x0, y0 = 400 + bx * 8, 150 + by * 8
                block = {pixel(raw, x0 + i, y0 + j) for j in range(8) for i in range(8)}
                self.assertEqual(len(block), 1, (x0, y0))
                under = [pixel(self.background_rgb, x0 + i, y0 + j) for j in range(8) for i in range(8)]
                mean = [sum(p[c] for p in under) / 64 for c in range(3)]
                got = next(iter(block))
                for c in range(3):
                    self.assertLessEqual(abs(got[c] - mean[c]), 1, (x0, y0))
        self.assertEqual(pixel(raw, 399, 150), pixel(self.background_rgb, 399, 150))
        self.assertEqual(pixel(raw, 480, 229), pixel(self.background_rgb, 480, 229))
        # The rectangle committed before is in the file too.
        self.assertEqual(pixel(raw, 100, 100), b"\xff\x00\x00")

    def test_second_start_answered_cancel_keeps_the_edited_picture(self):
        self.open_window()
        before = self.copied()
        self.key("ctrl+alt+i")
        wait_until(lambda: self.copied() != before, what="the negative")
        second = Program(self.desktop)
        answer_save_question(self.desktop, "Escape")  # Cancel
        # The new copy ends as when the guard is held; the edited one stays.
        self.assertEqual(second.wait_ended(), 0)
        self.assertTrue(self.program.running())
        self.assertEqual(windows_named(self.desktop, PICTURE_WINDOW), [self.window])

    def test_session_end_keeps_an_edited_picture_and_the_next_start_names_it(self):
        shared = os.path.join(self.desktop.folder, "shared")
        os.mkdir(shared)
        os.chmod(shared, 0o1777)  # a folder every user may list
        self.open_window(AutoFolder=shared + "/")
        before = self.copied()
        self.key("ctrl+alt+i")
        edited = wait_until(lambda: (lambda c: c if c != before else None)(self.copied()),
                            what="the negative")
        self.program.signal(signal.SIGTERM)
        self.assertEqual(self.program.wait_ended(), 0)
        kept = os.path.join(shared, "Unsaved-0001.png")
        self.assertEqual(stat.S_IMODE(os.stat(kept).st_mode), 0o600)
        with open(kept, "rb") as f:
            self.assertEqual(rgb_pixels(f.read()), rgb_pixels(edited))

        notifications = NotificationService(self.desktop)
        Program(self.desktop).wait_resident()
        notice = wait_until(notifications.notices, what="the notice")[0]
        self.assertIn(kept, notice["body"])
        time.sleep(1)  # the notice comes once
        self.assertEqual(len(notifications.notices()), 1)

    def png_of(self, raw, width, height):
        return subprocess.run([CONVERT, "-size", "%dx%d" % (width, height), "-depth", "8", "rgb:-", "png:-"],
                              input=raw, capture_output=True, check=True, timeout=60).stdout

    def test_resize_preset_is_near_imagemagicks_mitchell(self):
        self.open_window()
        self.key("ctrl+shift+F1")
        _, _, ours, _ = self.wait_for_size(640, 480)
        _, _, theirs = convert_rgb(self.background_png, "-filter", "Mitchell", "-resize", "640x480!")
        # Compare above the tray panel, which the grab holds and the background does not.
        rows = 440
        a, b = ours[:640 * 3 * rows], theirs[:640 * 3 * rows]
        mean = sum(abs(x - y) for x, y in zip(a, b)) / len(a)
        self.assertLess(mean, 4.0)

    def test_paste_takes_the_picture_xclip_offers(self):
        self.open_window()
        pasted = os.path.join(self.desktop.folder, "pasted.png")
        make_picture(pasted, 300, 200, seed=11)
        with open(pasted, "rb") as f:
            png = f.read()
        self.desktop.start(["xclip", "-selection", "clipboard", "-t", "image/png", "-i", pasted])
        wait_until(lambda: clipboard_png(self.desktop), what="xclip to offer the picture")
        self.desktop.run(["xdotool", "windowactivate", "--sync", self.window])
        self.key("ctrl+v")
        _, _, raw, _ = self.wait_for_size(300, 200)
        self.assertEqual(raw, rgb_pixels(png)[2])

    def test_text_goes_to_the_click_in_the_font_colour_and_size(self):
        self.open_window(text={"FontName": "DejaVu Sans", "FontSize": "dword:00000014",
                               "FontColor": "dword:000000ff", "FontStyle": "dword:00000000",
                               "UserText": "Sample Text"})
        # A pale yellow picture to write on (the view's margin is white).
        white = os.path.join(self.desktop.folder, "paper.png")
        subprocess.run([CONVERT, "-size", "500x260", "xc:#FFFFC8", "PNG24:" + white], check=True)
        self.desktop.start(["xclip", "-selection", "clipboard", "-t", "image/png", "-i", white])
        wait_until(lambda: clipboard_png(self.desktop), what="xclip to offer the picture")
        self.desktop.run(["xdotool", "windowactivate", "--sync", self.window])
        self.key("ctrl+v")
        self.wait_for_size(500, 260)
        self.popup("Down", "Down", "Down", "Return")  # "Insert Text"
        editor = wait_until(lambda: windows_named(self.desktop, "Text Editor"), what="the text editor")[0]
        shot = os.path.join(os.environ.get("TMPDIR", "/tmp"), "vistrel-text-editor.png")
        self.desktop.run(["xdotool", "type", "--delay", "20", "HI"])
        self.desktop.screenshot(shot)
        self.key("Escape")
        wait_until(lambda: not windows_named(self.desktop, "Text Editor"), what="the editor to close")
        del editor
        # The paper's place on the screen: the view centres it.
        paper = b"\xff\xff\xc8"
        corner = self.locate_picture_row(paper * 500)
        self.desktop.run(["xdotool", "mousemove", "--sync", str(corner[0] + 100), str(corner[1] + 60),
                          "click", "1"])
        w, h, raw = rgb_pixels(wait_until(
            lambda: (lambda p: p if rgb_pixels(p)[2] != paper * 500 * 260 else None)(self.copied()),
            what="the text"))
        ink = [(i // 3 % w, i // 3 // w) for i in range(0, len(raw), 3) if raw[i:i + 3] != paper]
        xs, ys = [p[0] for p in ink], [p[1] for p in ink]
        self.assertTrue(100 <= min(xs) <= 104, min(xs))
        self.assertTrue(60 <= min(ys) <= 70, min(ys))
        for x, y in ink:
            r, g, b = raw[(y * w + x) * 3:(y * w + x) * 3 + 3]
            self.assertGreaterEqual(r, max(g, b))
        darkest = min(ink, key=lambda p: sum(raw[(p[1] * w + p[0]) * 3 + 1:(p[1] * w + p[0]) * 3 + 3]))
        self.assertEqual(raw[(darkest[1] * w + darkest[0]) * 3:(darkest[1] * w + darkest[0]) * 3 + 3],
                         b"\xff\x00\x00")
        # ImageMagick's ink of the same text at 96 dpi.
        label = subprocess.run([CONVERT, "-density", "96", "-font", "DejaVu-Sans", "-pointsize", "20",
                                "label:HI", "-trim", "-format", "%w %h", "info:"],
                               capture_output=True, text=True, check=True).stdout.split()
        self.assertLessEqual(abs((max(ys) - min(ys) + 1) - int(label[1])), 2)
        self.assertLessEqual(abs((max(xs) - min(xs) + 1) - int(label[0])), 3)

    def test_previews_cancel_changes_nothing_and_ok_applies(self):
        self.open_window()
        before = rgb_pixels(self.copied())[2]
        self.key("ctrl+a")
        wait_until(lambda: windows_named(self.desktop, "Previews"), what="the effects dialog")
        shot = os.path.join(os.environ.get("TMPDIR", "/tmp"), "vistrel-previews.png")
        self.desktop.screenshot(shot)
        self.key("Escape")
        wait_until(lambda: not windows_named(self.desktop, "Previews"), what="Cancel")
        self.assertEqual(rgb_pixels(self.copied())[2], before)
        # Contrast page, first slider in the focus: End moves it to 100; Enter is OK.
        self.key("ctrl+a")
        wait_until(lambda: windows_named(self.desktop, "Previews"), what="the effects dialog")
        self.key("End", "Return")
        wait_until(lambda: not windows_named(self.desktop, "Previews"), what="OK")
        _, _, after = rgb_pixels(self.copied())
        self.assertNotEqual(after, before)
        _, _, want = convert_rgb(self.png_of(before, self.WIDTH, self.HEIGHT), "-fx", "(u-128/255)*5+128/255")
        diff = sum(abs(x - y) for x, y in zip(after, want)) / len(after)
        self.assertLess(diff, 1.0)


if __name__ == "__main__":
    unittest.main()
