"""Hotkeys on a Wayland desktop whose portal assigns keys (GlobalShortcuts):
the resident program binds each slot with its function and stored key, a
key the desktop reports pressed makes that slot's capture, and a desktop
that refuses the keys is named in a notice without anything hanging.
Without the portal the notice names the command lines to bind instead."""

import json
import os
import subprocess
import unittest

from desktop import PICTURE_WINDOW, rgb_pixels, wait_until
from sway_desktop import NOBODY, SwayDesktop, missing_tools, tree_nodes

MISSING = missing_tools()
ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
# (virtual key, modifier flags) per slot, and what the portal is offered.
KEYS = [(44, 0), (122, 2), (123, 4), (44, 1), (65, 3), (101, 6)]
BOUND = [["hotkey1000", "Get Desktop", "Print"],
         ["hotkey1001", "Get Desktop + Save", "CTRL+F11"],
         ["hotkey1002", "Get Rectangular Area", "SHIFT+F12"],
         ["hotkey1003", "Get Active Window", "ALT+Print"],
         ["hotkey1004", "Get Active Window + Save", "CTRL+ALT+a"],
         ["hotkey1005", "spare hotkey", "CTRL+SHIFT+KP_5"]]


@unittest.skipIf(MISSING, "no Wayland desktop to test on: missing %s" % ", ".join(MISSING))
class PortalHotkeysTest(unittest.TestCase):
    def setUp(self):
        self.desktop = SwayDesktop()
        self.addCleanup(self.desktop.close)
        self.desktop.session_bus()
        self.shots = os.path.join(self.desktop.home, "shots")
        os.makedirs(self.shots)
        os.chown(self.shots, NOBODY, NOBODY)
        self.write_settings()

    def write_settings(self):
        lines = ["REGEDIT4", "", "[%sHotKeys]" % ROOT]
        for n, (key, flags) in enumerate(KEYS):
            lines += ['"HotKey%d"=dword:%08x' % (n, key), '"Modifier%d"=dword:%08x' % (n, flags)]
        lines += ["", "[%sOtherOptions]" % ROOT, '"AutoFolder"="%s/"' % self.shots,
                  '"Sound"="0"', '"ShowInfo"="0"', ""]
        folder = os.path.join(self.desktop.config, "Vistrel-Pro")
        os.makedirs(folder)
        with open(os.path.join(folder, "settings.reg"), "w") as f:
            f.write("\n".join(lines))
        subprocess.run(["chown", "-R", "%d:%d" % (NOBODY, NOBODY), self.desktop.config], check=True)

    def binds(self, portal):
        path = os.path.join(portal, "binds.jsonl")
        if not os.path.exists(path):
            return []
        with open(path) as f:
            return [json.loads(line) for line in f if line.strip()]

    def activate(self, portal, shortcut):
        with open(os.path.join(portal, "activate.tmp"), "w") as f:
            f.write(shortcut)
        os.rename(os.path.join(portal, "activate.tmp"), os.path.join(portal, "activate"))

    def picture_windows(self):
        return [node for node in tree_nodes(self.desktop.swaymsg("-t", "get_tree"))
                if node.get("pid") and PICTURE_WINDOW in (node.get("name") or "")]

    def test_the_slots_are_bound_once_and_a_pressed_key_captures(self):
        portal = self.desktop.shortcuts_portal("accept")
        program = self.desktop.start_program()
        bind = wait_until(lambda: self.binds(portal), what="the bind")
        # Six registrations at start-up are one bind.
        self.assertEqual(len(bind), 1)
        self.assertEqual(bind[0]["shortcuts"], BOUND)

        # "Get Desktop + Save": the desktop's pixels in the automatic folder.
        self.activate(portal, "hotkey1001")
        saved = os.path.join(self.shots, "Picture0001.png")
        wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0, what="the picture")
        with open(saved, "rb") as f:
            self.assertEqual(rgb_pixels(f.read()), rgb_pixels(self.desktop.grim()))
        # "Get Desktop": the picture window.
        self.activate(portal, "hotkey1000")
        wait_until(self.picture_windows, what="the picture window")
        self.assertIsNone(program.poll(), "the program ended")
        self.assertEqual(len(self.binds(portal)), 1)

    def test_a_refused_bind_is_named_as_the_desktops_refusal(self):
        notices = self.desktop.notifications()
        portal = self.desktop.shortcuts_portal("refuse")
        program = self.desktop.start_program()
        notice = wait_until(notices, what="the notice")[0]
        self.assertEqual(notice["summary"], "Vistrel-Pro: the desktop refused a hotkey")
        self.assertIn("Print Screen (Get Desktop) was refused by the desktop", notice["body"])
        self.assertIn("Ctrl+Shift+Num5 (spare hotkey) was refused by the desktop", notice["body"])
        self.assertNotIn("another program", notice["body"])
        # Nothing is asked again behind the user's back, and the program
        # still answers: a command-line capture through the running copy.
        path = os.path.join(self.desktop.home, "shot.png")
        done = self.desktop.run_program("--capture", "desktop", "--output", path)
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))
        self.assertEqual(len(self.binds(portal)), 1)
        self.assertEqual(len(notices()), 1)
        self.assertIsNone(program.poll(), "the program ended")

    def test_without_the_portal_the_notice_names_the_command_lines(self):
        notices = self.desktop.notifications()
        program = self.desktop.start_program()
        notice = wait_until(notices, what="the notice")[0]
        self.assertEqual(notice["summary"], "Vistrel-Pro: the desktop assigns the hotkeys")
        self.assertIn("Print Screen (Get Desktop): vistrel-pro --capture desktop\n", notice["body"])
        self.assertIn("Alt+Print Screen (Get Active Window): vistrel-pro --capture window\n",
                      notice["body"])
        self.assertNotIn("another program", notice["body"])
        self.assertIsNone(program.poll(), "the program ended")


if __name__ == "__main__":
    unittest.main()
