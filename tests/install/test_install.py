"""The installed programs as a desktop meets them: every file in its place,
the desktop entry and metainfo valid, the manual pages clean, the programs
answering from their installed place, and the installed program's Help and
shortcuts pointing into its installed folders."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop  # noqa: E402
from shell_dialogs import PictureWindowUser  # noqa: E402

BUILD = os.environ["BUILD_DIR"]
VERSION = os.environ["VERSION"]
APP_ID = os.environ["APP_ID"]
ICON_SIZES = (16, 32, 48, 64, 128, 256)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kw)


TMP = tempfile.mkdtemp(prefix="vistrel-install-")
PREFIX = os.path.join(TMP, "prefix with blank")


def setUpModule():
    done = run([os.environ["CMAKE_COMMAND"], "--install", BUILD, "--prefix", PREFIX])
    if done.returncode != 0:
        raise AssertionError("cmake --install failed:\n" + done.stdout + done.stderr)


def tearDownModule():
    shutil.rmtree(TMP, ignore_errors=True)


class InstallTest(unittest.TestCase):
    prefix = PREFIX

    def path(self, *parts):
        return os.path.join(self.prefix, *parts)

    def installed_files(self):
        found = set()
        for folder, _, names in os.walk(self.prefix):
            for name in names:
                found.add(os.path.relpath(os.path.join(folder, name), self.prefix))
        return found

    def test_every_file_in_its_place_and_nothing_else(self):
        expected = {
            "bin/vistrel-pro",
            "bin/vistrel-convert",
            "libexec/vistrel-pro/vistrel-metafile",
            "libexec/vistrel-pro/vistrel-pro-gui",
            f"share/applications/{APP_ID}.desktop",
            f"share/metainfo/{APP_ID}.metainfo.xml",
            f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
            "share/doc/vistrel-pro/Vistrel_Pro.html",
            "share/doc/vistrel-pro/copyright",
            "share/doc/vistrel-pro/changelog.gz",
            "share/man/man1/vistrel-pro.1",
            "share/man/man1/vistrel-convert.1",
        }
        expected |= {f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES}
        self.assertEqual(self.installed_files(), expected)
        for program in ("vistrel-pro", "vistrel-convert"):
            self.assertTrue(os.access(self.path("bin", program), os.X_OK), program)

    def test_icons_are_pictures_of_their_size(self):
        for n in ICON_SIZES:
            with open(self.path(f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png"), "rb") as f:
                head = f.read(24)
            self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
            width, height = int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")
            self.assertEqual((width, height), (n, n))

    def test_desktop_entry_and_metainfo_pass_their_validators(self):
        entry = self.path(f"share/applications/{APP_ID}.desktop")
        checked = run(["desktop-file-validate", entry])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        self.assertNotIn("error", checked.stdout.lower())
        with open(entry) as f:
            text = f.read()
        for line in ("Icon=" + APP_ID, "Categories=Graphics;Utility;",
                     "Keywords=screenshot;capture;screen;print screen;",
                     "Name=Get Rectangular Area", "Exec=vistrel-pro --capture area",
                     "Name=Get Desktop", "Exec=vistrel-pro --capture desktop"):
            self.assertIn(line + "\n", text)

        metainfo = self.path(f"share/metainfo/{APP_ID}.metainfo.xml")
        checked = run(["appstreamcli", "validate", "--no-net", metainfo])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        with open(metainfo) as f:
            text = f.read()
        self.assertIn(f'<release version="{VERSION}"', text)
        self.assertIn(f"<launchable type=\"desktop-id\">{APP_ID}.desktop</launchable>", text)

    def test_manual_pages_render_without_warnings(self):
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
        for program, option in (("vistrel-pro", "/U"), ("vistrel-convert", "--select")):
            page = self.path("share/man/man1", program + ".1")
            shown = run(["man", "--warnings", "-l", page], env=env)
            self.assertEqual(shown.returncode, 0, shown.stderr)
            self.assertEqual(shown.stderr, "", program)
            text = shown.stdout
            for heading in ("NAME", "SYNOPSIS", "DESCRIPTION", "EXIT STATUS", "ENVIRONMENT",
                            "FILES"):
                self.assertIn("\n" + heading + "\n", text, program)
            self.assertRegex(text, r"NAME\n +" + program + r" +- ")
            self.assertIn(option, text)  # the options come from --help
            self.assertIn("Vistrel-Pro/settings.reg", text)
        # The settings path of --help, spelled for any reader, not for the
        # account that built the page.
        with open(self.path("share/man/man1/vistrel-pro.1")) as f:
            self.assertIn("~/.config/Vistrel\\-Pro/settings.reg", f.read())

    def test_installed_programs_answer_from_their_place(self):
        shown = run([self.path("bin/vistrel-pro"), "--version"])
        self.assertEqual((shown.returncode, shown.stdout), (0, f"Vistrel-Pro {VERSION}\n"))
        shown = run([self.path("bin/vistrel-convert"), "--version"])
        self.assertEqual((shown.returncode, shown.stdout), (0, f"vistrel-convert {VERSION}\n"))
        shown = run([self.path("bin/vistrel-convert"), "--help"])
        self.assertEqual(shown.returncode, 0)
        self.assertTrue(shown.stdout.startswith("Usage: vistrel-convert"))
        # Metafiles are drawn by the helper the installed program finds in
        # its libexec folder.
        wmf = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "formats", "pictures",
                           "bitmap-stretchdib.wmf")
        shown = run([self.path("bin/vistrel-convert"), "--info", wmf, "-"])
        self.assertEqual(shown.returncode, 0, shown.stderr)
        # No library search path into the build tree is left in the programs.
        for program in ("vistrel-pro", "vistrel-convert"):
            dynamic = run(["readelf", "-d", self.path("bin", program)]).stdout
            self.assertNotIn(BUILD, dynamic, program)


class InstalledProgramTest(unittest.TestCase):
    """The installed vistrel-pro on a private desktop, with a recording opener."""

    def setUp(self):
        self.desktop = desktop.Desktop(1024, 768, tray=True)
        self.addCleanup(self.desktop.close)
        home = self.desktop.folder
        self.opened = os.path.join(home, "opened")
        bin_dir = os.path.join(home, "bin")
        os.makedirs(bin_dir)
        with open(os.path.join(bin_dir, "xdg-open"), "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % self.opened)
        os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)
        self.desktop.env["PATH"] = bin_dir + os.pathsep + self.desktop.env["PATH"]
        desktop.write_settings(self.desktop, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\"
                               "Vistrel-Pro\\Final\\Setup\\OtherOptions]\n\"Sound\"=\"0\"\n")
        desktop.PROGRAM = os.path.join(PREFIX, "bin", "vistrel-pro")
        desktop.Program(self.desktop).wait_resident()
        self.user = PictureWindowUser(self.desktop)
        self.user.open_picture_window()

    def opened_lines(self):
        if not os.path.exists(self.opened):
            return []
        with open(self.opened) as f:
            return f.read().splitlines()

    def test_help_and_shortcuts_point_into_the_installed_folders(self):
        self.user.menu_item("alt+h", 2, 2, then=["Return"])
        line = desktop.wait_until(self.opened_lines, what="the opener to run")[0]
        self.assertEqual(line, "file://" + os.path.join(PREFIX, "share/doc/vistrel-pro/Vistrel_Pro.html")
                         .replace(" ", "%20"))

        # Options > Shortcuts > Start Menu: the last item of Options, then
        # the second of three.
        self.user.menu_item("alt+o", 1, 1, then=["Right", "Up", "Up", "Return"])
        entry = os.path.join(self.desktop.folder, ".local/share/applications/Vistrel-Pro.desktop")
        desktop.wait_until(lambda: os.path.exists(entry), what=entry)
        with open(entry) as f:
            lines = f.read().splitlines()
        self.assertIn('Exec="%s"' % os.path.join(PREFIX, "bin/vistrel-pro"), lines)
        self.assertIn("Icon=" + os.path.join(PREFIX, "share/icons/hicolor/scalable/apps",
                                             APP_ID + ".svg"), lines)


if __name__ == "__main__":
    unittest.main()
