"""Print held by another program at start: the desktop notification says
which key and for what, its action opens HotKey Setup, and Print captures
within seconds of being let go, without a restart."""

import os
import subprocess
import time
import unittest

from desktop import PICTURE_WINDOW, Desktop, Program, wait_until, windows_named, write_settings
from notification_server import NotificationService
from shell_dialogs import PictureWindowUser

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"


class RefusedHotKeyTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(1024, 768, tray=True)
        self.addCleanup(self.desktop.close)  # also when the rest of setUp fails
        self.notifications = NotificationService(self.desktop)
        write_settings(self.desktop, 'REGEDIT4\n\n[%s]\n"Sound"="0"\n' % ROOT)
        self.user = PictureWindowUser(self.desktop)

    def hold(self, keysym):
        holder = subprocess.Popen([os.environ["KEY_HOLDER"], keysym, "0"], env=self.desktop.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.desktop.processes.append(holder)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        return holder

    def test_a_held_print_key_is_named_once_and_works_soon_after_it_is_freed(self):
        holder = self.hold("0xff61")  # Print
        program = Program(self.desktop).wait_resident()
        notice = wait_until(self.notifications.notices, what="the notice")[0]
        self.assertIn("Print Screen (Get Desktop) is used by another program", notice["body"])
        self.assertNotIn("Alt+Print Screen", notice["body"])  # Alt+Print was free
        self.assertEqual(notice["actions"], ["default", "Hotkey Setup"])

        # The notice's action opens HotKey Setup; closing it registers the
        # table again, which is refused again, but the notice is not repeated.
        self.notifications.click_action(notice)
        setup = wait_until(lambda: windows_named(self.desktop, "HotKey Setup"),
                           what="HotKey Setup")[0]
        self.desktop.run(["xdotool", "windowactivate", "--sync", setup, "key", "Return"])
        self.assertIn("PrintScrn (Get Desktop)", self.user.read_box())  # the dialog's own warning
        self.user.answer_box("Return")
        wait_until(lambda: not windows_named(self.desktop, "HotKey Setup"),
                   what="HotKey Setup to close")

        holder.stdin.close()
        holder.wait(10)
        # Within the retry interval Print reaches the program; no restart.
        end = time.monotonic() + 15
        while not windows_named(self.desktop, PICTURE_WINDOW) and time.monotonic() < end:
            self.desktop.run(["xdotool", "key", "Print"])
            try:
                wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW), timeout=1)
            except AssertionError:
                pass
        self.assertTrue(windows_named(self.desktop, PICTURE_WINDOW), "Print did not capture")
        self.assertEqual(len(self.notifications.notices()), 1)
        self.assertTrue(program.running())


if __name__ == "__main__":
    unittest.main()
