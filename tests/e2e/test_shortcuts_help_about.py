"""Options > Shortcuts, Help and About on a real desktop: the three desktop
entries are created valid, asked about and removed; the help document and
the home page go to the desktop's opener; the about box opens and closes."""

import os
import shutil
import stat
import subprocess
import tempfile
import unittest

from desktop import PROGRAM, Desktop, Program, wait_until, windows_named, write_settings
from shell_dialogs import PictureWindowUser

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"
ENTRY = "Vistrel-Pro.desktop"
SHORTCUT_ITEMS = 3


def exec_value(entry_path):
    """The Exec value of an entry read back: string escapes, "%%", quotes."""
    with open(entry_path, encoding="utf-8") as f:
        line = next(l for l in f.read().splitlines() if l.startswith("Exec="))[5:]
    unescaped = line.encode().decode("unicode_escape").replace("%%", "%")
    assert unescaped.startswith('"') and unescaped.endswith('"'), line
    inner, out, i = unescaped[1:-1], "", 0
    while i < len(inner):
        if inner[i] == "\\" and i + 1 < len(inner) and inner[i + 1] in '"`$\\':
            i += 1
        out += inner[i]
        i += 1
    return out


class ShortcutsHelpAboutTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(1024, 768, tray=True)
        home = self.desktop.folder
        # The user's desktop folder has a name of its own.
        os.makedirs(self.desktop.config, exist_ok=True)
        with open(os.path.join(self.desktop.config, "user-dirs.dirs"), "w") as f:
            f.write('XDG_DESKTOP_DIR="$HOME/My Desktop"\n')
        self.folders = [os.path.join(home, "My Desktop"),
                        os.path.join(home, ".local", "share", "applications"),
                        os.path.join(self.desktop.config, "autostart")]
        # A recording opener in place of the desktop's.
        self.opened = os.path.join(home, "opened")
        bin_dir = os.path.join(home, "bin")
        os.makedirs(bin_dir)
        opener = os.path.join(bin_dir, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % self.opened)
        os.chmod(opener, 0o755)
        self.desktop.env["PATH"] = bin_dir + os.pathsep + self.desktop.env["PATH"]
        write_settings(self.desktop, 'REGEDIT4\n\n[%s]\n"Sound"="0"\n' % ROOT)
        self.program = Program(self.desktop).wait_resident()
        self.user = PictureWindowUser(self.desktop)
        self.user.open_picture_window()

    def tearDown(self):
        self.desktop.close()

    def shortcut_item(self, index):
        # Shortcuts is the last item of Options.
        self.user.menu_item("alt+o", 1, 1, then=["Right"] + ["Up"] * (SHORTCUT_ITEMS - index + 1)
                            + ["Return"])

    def opened_lines(self):
        if not os.path.exists(self.opened):
            return []
        with open(self.opened) as f:
            return f.read().splitlines()

    def test_three_entries_created_asked_about_and_removed(self):
        program = os.path.realpath(PROGRAM)
        validator = shutil.which("desktop-file-validate")
        for index, folder in enumerate(self.folders, start=1):
            entry = os.path.join(folder, ENTRY)
            self.shortcut_item(index)
            wait_until(lambda: os.path.exists(entry), what=entry)
            self.assertEqual(self.user.boxes(), [])  # created silently
            self.assertEqual(exec_value(entry), program)
            with open(entry) as f:
                text = f.read()
            self.assertIn("\nPath=%s/\n" % os.path.dirname(program), text)
            self.assertTrue(os.stat(entry).st_mode & stat.S_IXUSR)
            if validator:
                done = subprocess.run([validator, entry], capture_output=True, text=True)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

            # Cancel leaves it; No writes it again; Yes removes it.
            with open(entry, "w") as f:
                f.write("spoilt")
            self.shortcut_item(index)
            question = self.user.read_box()
            self.assertIn(entry, question)
            self.assertIn("is allready created !\ndo you want to remove the Shortcut ?", question)
            self.user.answer_box("Escape")
            with open(entry) as f:
                self.assertEqual(f.read(), "spoilt")
            self.shortcut_item(index)
            self.user.answer_box("alt+n")
            wait_until(lambda: open(entry).read() == text, what="the entry written again")
            self.shortcut_item(index)
            self.user.answer_box("alt+y")
            wait_until(lambda: not os.path.exists(entry), what="the entry removed")
        self.assertTrue(self.program.running())

    def test_help_opens_the_guide_beside_the_program(self):
        self.user.menu_item("alt+h", 2, 2, then=["Return"])
        line = wait_until(self.opened_lines, what="the opener to run")[0]
        guide = os.path.join(os.path.dirname(os.path.realpath(PROGRAM)), "Vistrel_Pro.html")
        self.assertEqual(line, "file://" + guide)
        with open(guide, encoding="utf-8") as f:
            self.assertIn("HotKey Setup", f.read())

    def test_about_opens_and_closes(self):
        self.user.menu_item("alt+h", 2, 1, then=["Return"])
        about = self.user.dialog("About Vistrel-Pro")
        self.desktop.screenshot(os.path.join(tempfile.gettempdir(), "vistrel-about.png"))
        # The home-page link goes to the opener; the box stays.
        self.desktop.run(["xdotool", "mousemove", "--window", about, "120", "148", "click", "1"],
                         check=True)
        self.assertTrue(wait_until(self.opened_lines, what="the opener")[0].startswith("https://"))
        self.user.activate(about)
        self.user.key("Return")
        wait_until(lambda: about not in windows_named(self.desktop, "About Vistrel-Pro"),
                   what="the about box to close")
        self.user.close_picture_window()
        self.assertTrue(self.program.running())


if __name__ == "__main__":
    unittest.main()
