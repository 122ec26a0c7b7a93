"""Help on a desktop where the opener fails: the guide opens in the
program's own help window, which takes the keyboard beside the modal
picture window and closes with it."""

import os
import stat
import unittest

from desktop import Desktop, Program, wait_until, windows_named, write_settings
from shell_dialogs import PictureWindowUser

HELP_WINDOW = "Vistrel-Pro Help"


class HelpTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(800, 600, window_manager=True)
        # An xdg-open that fails as one without any viewer does.
        bin_folder = os.path.join(self.desktop.folder, "bin")
        os.makedirs(bin_folder)
        opener = os.path.join(bin_folder, "xdg-open")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\nexit 3\n")
        os.chmod(opener, stat.S_IRWXU)
        self.desktop.env["PATH"] = bin_folder + os.pathsep + self.desktop.env["PATH"]
        write_settings(self.desktop, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\"
                                     "Setup\\OtherOptions]\n\"Sound\"=\"0\"\n")
        self.program = Program(self.desktop).wait_resident()

    def tearDown(self):
        self.desktop.close()

    def test_a_failing_opener_shows_the_guide_in_the_help_window(self):
        user = PictureWindowUser(self.desktop)
        user.open_picture_window()
        # Help: About, then Vistrel-Pro Help.
        user.menu_item("alt+h", 2, 2, then=("Return",))
        help_window = wait_until(lambda: windows_named(self.desktop, HELP_WINDOW),
                                 what="the help window")[0]
        user.activate(help_window)
        user.key("ctrl+f", "g", "r", "a", "b", "Return", "Escape")
        # It belongs to the picture window and goes with it.
        user.close_picture_window()
        wait_until(lambda: not windows_named(self.desktop, HELP_WINDOW), what="the help window to close")
        self.assertTrue(self.program.running())


if __name__ == "__main__":
    unittest.main()
