"""The frozen desktop on a Wayland desktop (headless sway, two outputs): a
full-screen window on each output, a drag across both selects grim's pixels
of that rectangle, and an object pick outlines the window under the pointer
and gives grim's pixels of its frame."""

import os
import unittest

from desktop import crop_rgb, rgb_pixels, wait_until
from sway_desktop import SwayDesktop, missing_tools, tree_nodes

MISSING = missing_tools()


@unittest.skipIf(MISSING, "no Wayland desktop to test on: missing %s" % ", ".join(MISSING))
class WaylandFrozenDesktopTest(unittest.TestCase):
    def setUp(self):
        self.desktop = SwayDesktop(((640, 480), (800, 600)))
        self.addCleanup(self.desktop.close)
        self.pointer = self.desktop.pointer()
        self.path = os.path.join(self.desktop.home, "capture.png")

    def cursor(self, *args):
        self.desktop.run(["swaymsg", "seat", "-", "cursor", *args])

    def drag(self, start, *points, before_release=lambda: None):
        self.pointer.move(*start)
        self.cursor("press", "button1")
        for point in points:
            self.pointer.move(*point)
        before_release()
        self.cursor("release", "button1")

    def start_capture(self, mode):
        """The program showing its frozen desktop, one window per output."""
        self.screen = rgb_pixels(self.desktop.grim())
        proc = self.desktop.start([self.desktop.launcher(), "--capture", mode, "--output", self.path],
                                  log="capture.log")

        def overlays():
            nodes = [n for n in tree_nodes(self.desktop.swaymsg("-t", "get_tree"))
                     if n.get("pid") == proc.pid or n.get("pid") in children(proc.pid)]
            return len(nodes) == 2 and all(n.get("fullscreen_mode") == 1 for n in nodes) and nodes
        nodes = wait_until(lambda: proc.poll() is not None or overlays(), what="the frozen desktop")
        self.assertIsNone(proc.poll(), self.desktop.log("capture.log"))
        outputs = {o["name"]: o["rect"] for o in self.desktop.outputs()}
        # Each output holds one of the windows, filling it.
        self.assertEqual(sorted((n["rect"]["x"], n["rect"]["width"]) for n in nodes),
                         sorted((r["x"], r["width"]) for r in outputs.values()))
        if mode == "object":
            return proc  # the outline of what lies under the pointer is drawn over it
        # The frozen desktop shows the desktop as it was, pixel for pixel,
        # below the cursor, which takes the overlay's shape.
        width, height, screen = self.screen
        below_cursor = lambda raw: crop_rgb(width, raw, 0, 130, width, height)
        wait_until(lambda: below_cursor(rgb_pixels(self.desktop.grim())[2]) == below_cursor(screen),
                   what="the frozen picture")
        return proc

    def finish(self, proc):
        wait_until(lambda: proc.poll() is not None, what="the capture to end")
        self.assertEqual(proc.returncode, 0, self.desktop.log("capture.log"))
        with open(self.path, "rb") as f:
            return rgb_pixels(f.read())

    def test_a_drag_across_both_outputs_gives_the_compositors_pixels(self):
        self.desktop.open_window("victim", floating_at=(500, 100, 300, 200))
        proc = self.start_capture("area")
        width, screen = self.screen[0], self.screen[2]
        top_edge = lambda raw: crop_rgb(width, raw, 700, 150, 890, 151)

        def outlined_on_the_second_output():
            wait_until(lambda: top_edge(rgb_pixels(self.desktop.grim())[2]) != top_edge(screen),
                       what="the selection on the second output")
        self.drag((600, 150), (700, 250), (900, 400), before_release=outlined_on_the_second_output)
        got = self.finish(proc)
        # Both pixels under the pointer belong to the selection.
        self.assertEqual(got[:2], (301, 251))
        self.assertTrue(got[2] == crop_rgb(width, screen, 600, 150, 901, 401), "pixels differ")

    def test_at_scale_two_a_drag_selects_the_outputs_device_pixels(self):
        self.desktop.run(["swaymsg", "output * scale 2"])
        wait_until(lambda: all(o["scale"] == 2 for o in self.desktop.outputs()),
                   what="the outputs to scale")
        self.pointer.move(2, 2)  # the cursor above the rows compared
        wait_until(lambda: self.desktop.grim() == self.desktop.grim(), what="a still screen")
        width, _, output = rgb_pixels(self.desktop.grim("-o", "HEADLESS-1"))
        proc = self.start_capture("area")
        self.drag((100, 80), (200, 150))
        got = self.finish(proc)
        # Logical (200, 150) is device (400, 300), and that pixel belongs to
        # the selection.
        self.assertEqual(got[:2], (201, 141))
        self.assertTrue(got[2] == crop_rgb(width, output, 200, 160, 401, 301), "pixels differ")

    def test_an_object_pick_gives_the_window_as_grim_shows_it(self):
        self.desktop.open_window("victim", floating_at=(700, 120, 320, 240))
        node = self.desktop.window("victim")
        rect, title = node["rect"], node["deco_rect"]["height"]
        x, y, w, h = rect["x"], rect["y"] - title, rect["width"], rect["height"] + title
        self.pointer.move(20, 300)  # on the bare desktop
        proc = self.start_capture("object")
        width, screen = self.screen[0], self.screen[2]
        shown = lambda: rgb_pixels(self.desktop.grim())[2]
        # The pointer on no window outlines the desktop: both outputs' views
        # are on the screen before the pointer goes to the window.
        edges = lambda raw: (crop_rgb(width, raw, 0, 200, 1, 300),
                             crop_rgb(width, raw, width - 1, 200, width, 300))
        wait_until(lambda: all(a != b for a, b in zip(edges(shown()), edges(screen))),
                   what="the outline of the desktop")
        left_edge = lambda raw: crop_rgb(width, raw, x, y + 20, x + 1, y + h - 20)
        self.pointer.move(x + 40, y + 60)
        # The window under the pointer is outlined: the program knows where
        # the pointer is before the click.
        wait_until(lambda: left_edge(shown()) != left_edge(screen),
                   what="the outline of the pointed window")
        self.cursor("press", "button1")
        self.cursor("release", "button1")
        got = self.finish(proc)
        self.assertEqual(got[:2], (w, h))
        self.assertTrue(got[2] == crop_rgb(width, screen, x, y, x + w, y + h), "pixels differ")


def children(pid):
    """Process ids started by `pid` (the launcher starts the program)."""
    found = set()
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                        found.add(int(entry))
            except OSError:
                pass
    return found
