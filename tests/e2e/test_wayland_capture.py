"""Captures on a Wayland desktop (headless sway): the command line's
desktop, monitor, window and client-area captures give grim's pixels on one
and two outputs, at scale one and two, turned and mirrored, with and
without the cursor."""

import unittest

from desktop import crop_rgb, rgb_pixels, wait_until
from sway_desktop import SwayDesktop, missing_tools

MISSING = missing_tools()
MISSING_PORTAL = missing_tools(portal=True)


@unittest.skipIf(MISSING, "no Wayland desktop to test on: missing %s" % ", ".join(MISSING))
class WaylandCaptureTest(unittest.TestCase):
    OUTPUTS = ((1024, 768),)

    def setUp(self):
        self.desktop = SwayDesktop(self.OUTPUTS)
        self.addCleanup(self.desktop.close)

    def assertSamePixels(self, got, expected):
        self.assertEqual(got[:2], expected[:2], "sizes differ")
        self.assertTrue(got[2] == expected[2], "pixels differ")

    def test_desktop_and_each_monitor_are_the_compositors_pixels(self):
        self.assertDesktopAndMonitorsAsGrimSeesThem()

    def test_at_scale_two_captures_keep_every_device_pixel(self):
        self.desktop.run(["swaymsg", "output * scale 2"])
        wait_until(lambda: all(o["scale"] == 2 for o in self.desktop.outputs()),
                   what="the outputs to scale")
        # The backgrounds are drawn anew for the new scale.
        wait_until(lambda: self.desktop.grim() == self.desktop.grim(), what="a still screen")
        width, height = self.OUTPUTS[0]
        self.assertEqual(self.desktop.capture("monitor", "--monitor", "1")[:2], (width, height))
        self.assertDesktopAndMonitorsAsGrimSeesThem()

    def test_at_a_fractional_scale_each_monitor_keeps_its_buffers_pixels(self):
        # grim -o copies one output at its native buffer size; at 1.6 the
        # outputs' logical sizes are whole, so grim does not resample it
        # (at 1.5 it would) and it stays an exact reference.
        self.desktop.run(["swaymsg", "output * scale 1.6"])
        if len(self.OUTPUTS) > 1:
            # Beside the first output's logical width, as a user lays them.
            left = self.OUTPUTS[0][0] * 5 // 8
            self.desktop.run(["swaymsg", "output HEADLESS-2 position %d 0" % left])
        wait_until(lambda: all(abs(o["scale"] - 1.6) < 1e-3 for o in self.desktop.outputs()),
                   what="the outputs to scale")
        wait_until(lambda: self.desktop.grim() == self.desktop.grim(), what="a still screen")
        width, height, desktop = self.desktop.capture("desktop")
        left = 0
        for number, (name, size) in enumerate(zip(self.desktop.names, self.OUTPUTS), 1):
            monitor = rgb_pixels(self.desktop.grim("-o", name))
            self.assertEqual(monitor[:2], size)
            self.assertSamePixels(self.desktop.capture("monitor", "--monitor", str(number)), monitor)
            self.assertTrue(crop_rgb(width, desktop, left, 0, left + size[0], size[1]) == monitor[2],
                            name + " differs in the desktop")
            left += size[0]
        self.assertEqual(width, left)

    def test_turned_and_mirrored_outputs_are_captured_upright(self):
        for transform in ("90", "flipped-270"):
            self.desktop.run(["swaymsg", "output HEADLESS-1 transform " + transform])
            wait_until(lambda: self.desktop.outputs()[0]["transform"] == transform,
                       what="the output to turn")
            wait_until(lambda: self.desktop.grim() == self.desktop.grim(), what="a still screen")
            self.assertDesktopAndMonitorsAsGrimSeesThem()

    def assertDesktopAndMonitorsAsGrimSeesThem(self):
        self.assertSamePixels(self.desktop.capture("desktop"), rgb_pixels(self.desktop.grim()))
        for number, name in enumerate(self.desktop.names, 1):
            self.assertSamePixels(self.desktop.capture("monitor", "--monitor", str(number)),
                                  rgb_pixels(self.desktop.grim("-o", name)))

    def test_the_active_window_with_its_frame_and_its_client_area(self):
        self.desktop.open_window("victim", floating_at=(150, 120, 420, 260))
        node = self.desktop.window("victim")
        rect, inner = node["rect"], node["window_rect"]
        title = node["deco_rect"]["height"]
        frame = (rect["x"], rect["y"] - title, rect["width"], rect["height"] + title)
        client = (rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"], inner["height"])
        self.assertGreater(title, 0)
        width, _, screen = rgb_pixels(self.desktop.grim())
        for mode, (x, y, w, h) in (("window", frame), ("client", client)):
            self.assertSamePixels(self.desktop.capture(mode),
                                  (w, h, crop_rgb(width, screen, x, y, x + w, y + h)))
        # The client area begins with the window's own first pixel: its red
        # control lies at (50, 40).
        w, _, raw = self.desktop.capture("client")
        pixel = lambda x, y: raw[(y * w + x) * 3:(y * w + x) * 3 + 3]
        self.assertEqual(pixel(50, 40), b"\xff\x00\x00")
        self.assertNotEqual(pixel(49, 40), b"\xff\x00\x00")
        self.assertNotEqual(pixel(50, 39), b"\xff\x00\x00")

    def test_the_cursor_is_drawn_once_where_the_compositor_shows_it(self):
        before = self.desktop.grim()
        self.desktop.pointer().move(300, 200)
        wait_until(lambda: self.desktop.grim("-c") != before, what="the cursor to show")
        # The headless compositor draws its cursor into every frame, so a
        # capture without it keeps it too; with it, it is not drawn twice.
        self.assertSamePixels(self.desktop.capture("desktop", "--cursor"), rgb_pixels(self.desktop.grim("-c")))
        self.assertSamePixels(self.desktop.capture("desktop", "--no-cursor"), rgb_pixels(self.desktop.grim()))


class TwoOutputsTest(WaylandCaptureTest):
    OUTPUTS = ((1024, 768), (800, 600))

    def test_at_different_scales_each_monitor_keeps_its_pixels_beside_the_other(self):
        # A laptop panel at scale two, an external monitor at one beside it.
        self.desktop.run(["swaymsg", "output HEADLESS-1 scale 2, output HEADLESS-2 position 512 0"])
        wait_until(lambda: [(o["scale"], o["rect"]["x"]) for o in self.desktop.outputs()] ==
                   [(2, 0), (1, 512)], what="the new layout")
        wait_until(lambda: self.desktop.grim() == self.desktop.grim(), what="a still screen")
        width, height, desktop = self.desktop.capture("desktop")
        self.assertEqual((width, height), (1024 + 800, 768))
        for number, (name, left) in enumerate((("HEADLESS-1", 0), ("HEADLESS-2", 1024)), 1):
            monitor = rgb_pixels(self.desktop.grim("-o", name))
            self.assertSamePixels(self.desktop.capture("monitor", "--monitor", str(number)), monitor)
            self.assertTrue(crop_rgb(width, desktop, left, 0, left + monitor[0], monitor[1]) ==
                            monitor[2], name + " differs in the desktop")


@unittest.skipIf(MISSING_PORTAL, "no desktop portal to test: missing %s" % ", ".join(MISSING_PORTAL))
class PortalTest(unittest.TestCase):
    def test_through_the_portal_the_pixels_are_the_same(self):
        desktop = SwayDesktop(TwoOutputsTest.OUTPUTS)
        self.addCleanup(desktop.close)
        desktop.portal()
        desktop.env["VISTREL_GRABS"] = "portal"
        self.assertEqual(desktop.capture("desktop"), rgb_pixels(desktop.grim()))
        self.assertEqual(desktop.capture("monitor", "--monitor", "2"),
                         rgb_pixels(desktop.grim("-o", "HEADLESS-2")))


if __name__ == "__main__":
    unittest.main()
