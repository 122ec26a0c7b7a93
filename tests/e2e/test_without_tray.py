"""A desktop without a notification area: the program says once that it
runs without its tray icon, and goes on capturing from the command line.
On X11 the notice goes to the desktop's notification service; on a Wayland
desktop without a tray watcher (and here without a notification service)
it is written to standard error."""

import os
import time
import unittest

from desktop import Desktop, Program, rgb_pixels, run_program, wait_until
from notification_server import NotificationService
from sway_desktop import SwayDesktop, missing_tools

SUMMARY = "Vistrel-Pro runs without a tray icon"


class WithoutTrayTest(unittest.TestCase):
    def test_x11_without_a_panel_says_so_once_and_keeps_capturing(self):
        desktop = Desktop(800, 600, window_manager=True)
        self.addCleanup(desktop.close)
        notifications = NotificationService(desktop)
        program = Program(desktop).wait_resident()
        notice = wait_until(lambda: [n for n in notifications.notices()
                                     if n["summary"] == SUMMARY], what="the notice")[0]
        self.assertIn('"vistrel-pro --capture area"', notice["body"])
        self.assertIn('"vistrel-pro /C" ends it', notice["body"])

        path = os.path.join(desktop.folder, "desktop.png")
        done = run_program(desktop, "--capture", "desktop", "--output", path)
        self.assertEqual(done.returncode, 0, done.stderr)
        with open(path, "rb") as f:
            self.assertEqual(rgb_pixels(f.read())[:2], (800, 600))
        time.sleep(1)  # nothing to wait for: a second notice would come now
        self.assertEqual(sum(n["summary"] == SUMMARY for n in notifications.notices()), 1)
        self.assertTrue(program.running())

    @unittest.skipIf(missing_tools(), "no Wayland desktop to test on")
    def test_wayland_without_a_watcher_writes_the_notice_and_keeps_running(self):
        desktop = SwayDesktop()
        self.addCleanup(desktop.close)
        desktop.session_bus()
        program = desktop.start_program()
        wait_until(lambda: SUMMARY in desktop.log("program.log"), what="the notice")
        done = desktop.run_program("--capture", "monitor", "--monitor", "1", "--output", "-")
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        self.assertEqual(rgb_pixels(done.stdout), rgb_pixels(desktop.grim()))
        self.assertEqual(desktop.log("program.log").count(SUMMARY), 1)
        self.assertIsNone(program.poll())


if __name__ == "__main__":
    unittest.main()
