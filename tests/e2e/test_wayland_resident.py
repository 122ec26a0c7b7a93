"""The resident program on a Wayland desktop (headless sway): its tray item
registers with the desktop's watcher, and command-line captures are made
by the running copy with the compositor's pixels."""

import os
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

        path = os.path.join(self.desktop.home, "monitor-2.png")
        done = self.desktop.run_program("--capture", "monitor", "--monitor", "2", "--output", path)
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        with open(path, "rb") as f:
            self.assertEqual(rgb_pixels(f.read()), rgb_pixels(self.desktop.grim("-o", "HEADLESS-2")))
        self.assertIsNone(program.poll(), "the running copy ended")


if __name__ == "__main__":
    unittest.main()
