"""HotKey Setup on a real desktop: a key assigned in the dialog works as
soon as the dialog closes, and a combination another program holds is
named in a warning."""

import os
import subprocess
import tempfile
import unittest

from desktop import Desktop, Program, read_settings, wait_until, windows_named, write_settings
from shell_dialogs import PictureWindowUser

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"
SETUP = "HotKey Setup"


class HotKeySetupTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(1024, 768, tray=True)
        self.shots = os.path.join(self.desktop.folder, "shots") + "/"
        os.makedirs(self.shots)
        write_settings(self.desktop, 'REGEDIT4\n\n[%s]\n"AutoFolder"="%s"\n"Sound"="0"\n'
                       '"ShowInfo"="0"\n' % (ROOT, self.shots))
        self.program = Program(self.desktop).wait_resident()
        self.user = PictureWindowUser(self.desktop)

    def tearDown(self):
        self.desktop.close()

    def open_setup(self):
        self.user.open_picture_window()
        self.user.hotkey_menu_setup()
        dialog = self.user.dialog(SETUP)
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-hotkey-setup.png"))
        return dialog

    def choose(self, downs):
        """The focused list: open it, go down `downs` entries, take it."""
        self.user.key("alt+Down", *(["Down"] * downs), "Return")

    def test_f10_assigned_to_get_desktop_and_save_writes_a_numbered_file(self):
        setup = self.open_setup()
        self.user.key("Tab", "Tab")  # row 2's key list
        self.choose(11)  # "None" -> "F10"
        self.user.key("Return")  # "&Close" is the default button
        wait_until(lambda: setup not in windows_named(self.desktop, SETUP), what="the dialog to close")
        self.assertEqual(self.user.boxes(), [])
        hotkeys = read_settings(self.desktop)["Setup\\HotKeys"]
        self.assertEqual(hotkeys["HotKey1"], "dword:00000079")
        self.assertEqual(hotkeys["IndexH1"], "dword:0000000b")
        self.user.close_picture_window()
        self.user.key("F10")
        wait_until(lambda: os.path.exists(self.shots + "Picture0001.png"), what="Picture0001.png")
        self.assertTrue(self.program.running())

    def test_a_combination_held_by_another_program_is_named(self):
        holder = subprocess.Popen([os.environ["KEY_HOLDER"], "0xffc8", "8"],  # Alt+F11
                                  env=self.desktop.env, stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, text=True)
        self.desktop.processes.append(holder)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        setup = self.open_setup()
        self.user.key(*["Tab"] * 9)  # row 5's modifier list
        self.choose(1)  # "ALT"
        self.user.key("shift+Tab")  # row 5's key list
        self.choose(12)  # "F11"
        self.user.key("Escape")  # Esc closes through the same checks
        text = self.user.read_box()
        self.assertIn("Vistrel-Pro", text.splitlines()[1])
        self.assertIn("ALT+F11 (Get Active Window + Save)", text)
        self.user.answer_box("Return")
        wait_until(lambda: setup not in windows_named(self.desktop, SETUP), what="the dialog to close")
        # Stored all the same: the user may free the key later.
        self.assertEqual(read_settings(self.desktop)["Setup\\HotKeys"]["HotKey4"], "dword:0000007a")
        self.assertTrue(self.program.running())
        holder.stdin.close()
        holder.stdout.close()


if __name__ == "__main__":
    unittest.main()
