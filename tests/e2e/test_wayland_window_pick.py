"""Windows on a Wayland desktop that tells no program where they are (no
compositor IPC): the desktop's own screenshot dialog picks the window, and
every answer a portal may give ends as that picture, a quiet cancel or a
failure named, never as a picture of the desktop, with the program still
running."""

import json
import os
import unittest

from desktop import make_picture, rgb_pixels
from sway_desktop import SwayDesktop, missing_tools

MISSING = missing_tools()


@unittest.skipIf(MISSING, "no Wayland desktop to test on: missing %s" % ", ".join(MISSING))
class WindowPickTest(unittest.TestCase):
    def setUp(self):
        self.desktop = SwayDesktop()
        self.addCleanup(self.desktop.close)
        self.desktop.session_bus()
        # Without sway's socket the program knows no window of the desktop.
        del self.desktop.env["SWAYSOCK"]
        self.picked = os.path.join(self.desktop.folder, "picked.png")
        make_picture(self.picked, 300, 200, seed=5)
        self.output = os.path.join(self.desktop.home, "capture.png")

    def capture(self, mode):
        if os.path.exists(self.output):
            os.remove(self.output)
        done = self.desktop.run_program("--capture", mode, "--output", self.output)
        return done.returncode, done.stderr.decode(errors="replace")

    def requests(self, portal):
        with open(os.path.join(portal, "requests")) as f:
            return [json.loads(line) for line in f]

    def test_window_client_and_object_captures_save_exactly_the_pick(self):
        portal = self.desktop.standin_portal(self.picked)
        with open(self.picked, "rb") as f:
            expected = rgb_pixels(f.read())
        for mode in ("window", "client", "object"):
            with self.subTest(mode=mode):
                self.assertEqual(self.capture(mode)[0], 0)
                with open(self.output, "rb") as f:
                    self.assertEqual(rgb_pixels(f.read()), expected)
        self.assertEqual([r["interactive"] for r in self.requests(portal)], [True] * 3)

    def test_every_other_answer_is_named_or_quiet_and_the_program_keeps_running(self):
        self.desktop.env["VISTREL_PORTAL_WAIT_MS"] = "1500"
        portal = self.desktop.standin_portal(self.picked)
        program = self.desktop.start_program()
        answers = [
            ("unsupported", 3, "the desktop portal offers no screenshot (No screenshot here)"),
            ("cancel", 1, "the desktop's window pick was cancelled"),
            ("stall", 3, "the desktop did not answer the request for a screenshot"),
            ("no-uri", 3, "the desktop portal gave no picture file"),
            ("remote-uri", 3, "the desktop portal gave no picture file"),
            ("not-picture", 3, "the desktop portal's file is not a picture"),
            ("huge", 3, "the desktop's picture is too large (100000 x 100000)"),
        ]
        for mode, expected_code, expected_text in answers:
            with self.subTest(mode=mode):
                self.desktop.set_portal_mode(portal, mode)
                code, said = self.capture("window")
                self.assertEqual(code, expected_code)
                self.assertIn(expected_text, said)
                self.assertFalse(os.path.exists(self.output))
                self.assertIsNone(program.poll())
        # The stalled dialog was told to go away.
        self.assertTrue(os.path.exists(os.path.join(portal, "closed")))

        self.desktop.set_portal_mode(portal, "pick")
        self.assertEqual(self.capture("window")[0], 0)
        self.assertTrue(os.path.exists(self.output))


if __name__ == "__main__":
    unittest.main()
