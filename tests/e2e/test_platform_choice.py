"""The loader as a user meets it: the fake desktop needs no display at all;
an unknown VISTREL_PLATFORM, a machine without a display and displays that
cannot be reached are refused with their reasons, by a start and by a
one-shot capture alike."""

import os
import subprocess
import tempfile
import unittest

from desktop import DEADLINE, PROGRAM, rgb_pixels


class PlatformChoiceTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory(prefix="vistrel-choice-")
        self.addCleanup(folder.cleanup)
        self.folder = folder.name
        runtime = os.path.join(self.folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env = {"PATH": os.environ["PATH"], "HOME": self.folder, "XDG_RUNTIME_DIR": runtime,
                    "XDG_CONFIG_HOME": os.path.join(self.folder, "config"), "LANG": "C.UTF-8"}

    def run_program(self, *args, **env):
        return subprocess.run([PROGRAM, *args], env=dict(self.env, **env), capture_output=True,
                              text=True, timeout=DEADLINE)

    def test_the_fake_desktop_is_one_grey_monitor_without_any_display(self):
        path = os.path.join(self.folder, "fake.png")
        done = self.run_program("--capture", "desktop", "--output", path, VISTREL_PLATFORM="fake")
        self.assertEqual(done.returncode, 0, done.stderr)
        with open(path, "rb") as f:
            width, height, raw = rgb_pixels(f.read())
        self.assertEqual((width, height), (1024, 768))
        self.assertEqual(set(raw), {128})

    def test_no_display_and_unknown_names_are_refused_with_the_reason(self):
        for env, reason in (({}, "no display to run on (neither WAYLAND_DISPLAY nor DISPLAY "
                                 "is set)"),
                            ({"VISTREL_PLATFORM": "mir", "DISPLAY": ":0"},
                             'VISTREL_PLATFORM must be x11, wayland or fake, not "mir"'),
                            ({"DISPLAY": ":4711"}, 'Cannot open the X display ":4711"'),
                            ({"WAYLAND_DISPLAY": "wayland-4711"},
                             'Cannot reach the Wayland compositor "wayland-4711"')):
            started = self.run_program(**env)
            self.assertEqual(started.returncode, 1, started.stderr)
            self.assertIn(reason, started.stderr)
            captured = self.run_program("--capture", "desktop", "--output", "-", **env)
            self.assertEqual(captured.returncode, 3)
            self.assertIn(reason, captured.stderr)


if __name__ == "__main__":
    unittest.main()
