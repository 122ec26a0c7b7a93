"""Metafiles that crash or hang the drawing libraries, loaded with Load
Picture: the program says "Cannot read ..." with the cause and stays
resident. The real helper meets the corpus's hostile files; a copy of the
program beside a helper that aborts or loops plays faults not yet known."""

import os
import shutil
import stat
import unittest
from unittest import mock

import desktop as desktop_module
from desktop import (DEADLINE, PICTURE_WINDOW, PROGRAM, Desktop, Program, clear_clipboard, clipboard_png,
                     rgb_pixels, wait_until, windows_named, write_settings)
from shell_dialogs import PictureWindowUser

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"
CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus")
# The helper may use 10 s of processor time, and 30 s at most, on a busy machine.
SLOW = 120


class HostileMetafileTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(640, 480, tray=True)
        write_settings(self.desktop, 'REGEDIT4\n\n[%s]\n"Sound"="0"\n"ShowInfo"="0"\n' % ROOT)
        self.user = PictureWindowUser(self.desktop)

    def tearDown(self):
        self.desktop.close()

    def start(self, program=PROGRAM):
        with mock.patch.object(desktop_module, "PROGRAM", program):
            self.program = Program(self.desktop).wait_resident()
        self.user.open_picture_window()

    def load(self, path):
        self.user.activate(self.user.window)
        self.user.key("ctrl+l")
        self.user.dialog("Load Picture")
        self.user.key("ctrl+a")
        self.desktop.run(["xdotool", "type", "--delay", "20", path], check=True)
        self.user.key("Return")
        wait_until(lambda: not windows_named(self.desktop, "Load Picture"), what="the dialog to close")

    def refusal(self, timeout):
        """The error box's text, once it is closed again."""
        wait_until(self.user.boxes, timeout=timeout, what="the error box")
        text = self.user.read_box()
        self.user.answer_box("Return")
        return text

    def copied_size(self):
        """The size of the picture Ctrl+C copies, or None when the copy is
        dropped (a load still holds the picture)."""
        clear_clipboard(self.desktop)
        self.user.activate(self.user.window)
        self.user.key("ctrl+c")
        try:
            png = wait_until(lambda: clipboard_png(self.desktop), timeout=2, what="the copy")
        except AssertionError:
            return None
        width, height, _ = rgb_pixels(png)
        return width, height

    def assert_shows(self, size):
        wait_until(lambda: self.copied_size() == size, what="a %d x %d picture on the clipboard" % size)

    def assert_resident(self):
        self.assertTrue(self.program.running(), self.program.output())
        self.assertTrue(windows_named(self.desktop, PICTURE_WINDOW))
        self.assert_shows((640, 480))  # the grab is still shown

    def test_the_corpus_files_are_drawn_or_refused(self):
        self.start()
        bad_bitmap = os.path.abspath(os.path.join(CORPUS, "wmf", "wmf-stretchdib-header-size-0x20.wmf"))
        self.load(bad_bitmap)
        self.assertIn("Cannot read %s: Bad bitmap in the metafile" % bad_bitmap, self.refusal(DEADLINE))
        self.assert_resident()
        # Glyphs ten million pixels high: drawn at the size the renderer can take.
        self.load(os.path.abspath(os.path.join(CORPUS, "emf", "emf-font-ten-million.emf")))
        self.assert_shows((100, 50))
        self.assertTrue(self.program.running(), self.program.output())

    def test_a_helper_that_aborts_or_loops_costs_a_refusal(self):
        folder = os.path.join(self.desktop.folder, "program")
        os.makedirs(folder)
        program = os.path.join(folder, "vistrel-pro")
        shutil.copy(PROGRAM, program)
        shutil.copy(os.path.join(os.path.dirname(PROGRAM), "vistrel-pro-gui"), folder)
        helper = os.path.join(folder, "vistrel-metafile")
        metafile = os.path.abspath(os.path.join(CORPUS, "wmf", "wmf-huge-frame-small-drawing.wmf"))

        def helper_runs(script):
            with open(helper, "w") as f:
                f.write("#!/bin/sh\n" + script + "\n")
            os.chmod(helper, stat.S_IRWXU)

        helper_runs("kill -ABRT $$")
        self.start(program)
        self.load(metafile)
        self.assertIn("Cannot read %s: The decoder crashed (Aborted)" % metafile, self.refusal(DEADLINE))
        self.assert_resident()

        helper_runs("while :; do :; done")
        self.load(metafile)
        text = self.refusal(SLOW)
        self.assertIn("Cannot read %s: Decoding took " % metafile, text)
        self.assert_resident()

if __name__ == "__main__":
    unittest.main()
