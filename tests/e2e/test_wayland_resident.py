"""The resident program on a Wayland desktop (headless sway): its tray item
registers with the desktop's watcher, and command-line captures are made
by the running copy with the compositor's pixels, also of a monitor plugged
in meanwhile."""

import unittest

from desktop import rgb_pixels, wait_until
from sway_desktop import SwayDesktop, missing_tools

MISSING = missing_tools()


@unittest.skipIf(MISSING, "no Wayland desktop to test on: missing %s" % ", ".join(MISSING))
class ResidentOnWaylandTest(unittest.TestCase):
    def setUp(self):
        self.desktop = SwayDesktop(((1024, 768), (800, 600)))
        self.addCleanup(self.desktop.close)
        self.desktop.session_bus()

    def test_the_tray_item_registers_and_the_running_copy_captures(self):
        items = self.desktop.tray()
        program = self.desktop.start_program()
        item = wait_until(items, what="the tray item")[0]
        self.assertEqual((item["id"], item["title"]), ("Vistrel-Pro", "Vistrel-Pro"))
        self.assertIn("Vistrel-Pro", item["tooltip"])
        self.assertEqual(len(items()), 1)

        self.assertEqual(self.desktop.capture("monitor", "--monitor", "2"),
                         rgb_pixels(self.desktop.grim("-o", "HEADLESS-2")))
        # A monitor plugged in while the copy runs is there for the next
        # capture.
        self.desktop.run(["swaymsg", "create_output"])
        wait_until(lambda: len(self.desktop.outputs()) == 3, what="the third output")
        self.assertEqual(self.desktop.capture("monitor", "--monitor", "3"),
                         rgb_pixels(self.desktop.grim("-o", "HEADLESS-3")))
        self.assertEqual(self.desktop.capture("desktop"), rgb_pixels(self.desktop.grim()))
        self.assertIsNone(program.poll(), "the running copy ended")


if __name__ == "__main__":
    unittest.main()
