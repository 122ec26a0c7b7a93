"""A desktop that refuses the screenshot, or whose window manager cannot be
asked for the active window: the command line says why and exits with the
failure status, and no picture file is written."""

import os
import unittest

from sway_desktop import SwayDesktop, missing_tools

MISSING = missing_tools()


@unittest.skipIf(MISSING, "no Wayland desktop to test on: missing %s" % ", ".join(MISSING))
class RefusedGrabTest(unittest.TestCase):
    def test_a_refused_screenshot_is_a_failure_named_not_a_black_picture(self):
        desktop = SwayDesktop()
        self.addCleanup(desktop.close)
        desktop.session_bus()
        desktop.refusing_portal()
        desktop.env["VISTREL_GRABS"] = "portal"
        path = os.path.join(desktop.home, "refused.png")
        done = desktop.run_program("--capture", "desktop", "--output", path)
        self.assertEqual(done.returncode, 3)
        self.assertIn("the desktop refused the screenshot", done.stderr.decode(errors="replace"))
        self.assertFalse(os.path.exists(path))

    def test_a_window_manager_that_cannot_be_asked_is_a_failure_not_the_desktop(self):
        desktop = SwayDesktop()
        self.addCleanup(desktop.close)
        desktop.env["SWAYSOCK"] = os.path.join(desktop.runtime, "gone.sock")
        path = os.path.join(desktop.home, "window.png")
        done = desktop.run_program("--capture", "window", "--output", path)
        self.assertEqual(done.returncode, 3)
        self.assertIn("the active window is not known: the compositor's socket cannot be reached",
                      done.stderr.decode(errors="replace"))
        self.assertFalse(os.path.exists(path))


if __name__ == "__main__":
    unittest.main()
