"""Printing through a real CUPS (its own cupsd with a cups-pdf queue): every
way to print ends in PDF files that hold the grabbed picture at its own
pixels, with the chosen layout, colours, copies and footer; a print the
queue refuses, or a CUPS that is away or never answers, is reported and
never taken for sent, the picture is kept, and the program goes on."""

import os
import re
import subprocess
import unittest

from cups_server import QUEUE, CupsServer, SilentCups
from desktop import (PICTURE_WINDOW, PROGRAM, Desktop, Program, clipboard_png, make_picture, rgb_pixels,
                     wait_until, windows_named, write_settings)
from shell_dialogs import PictureWindowUser

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
TITLE = "Vistrel-Pro v1.05"


def section(name, values):
    lines = []
    for key, value in values.items():
        if isinstance(value, bool):
            value = "1" if value else "0"
        if isinstance(value, int):
            lines.append('"%s"=dword:%08x' % (key, value))
        else:
            lines.append('"%s"="%s"' % (key, value))
    return "[%s%s]\n%s\n" % (ROOT, name, "\n".join(lines))


def pdf_info(path):
    out = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    return dict(line.split(":", 1) for line in out.splitlines() if ":" in line)


def pdf_images(path, folder):
    """The PDF's pictures as [(width, height, raw RGB bytes)]."""
    prefix = os.path.join(folder, "img%d" % abs(hash(path)))
    subprocess.run(["pdfimages", "-png", path, prefix], check=True)
    images = []
    for name in sorted(f for f in os.listdir(folder) if f.startswith(os.path.basename(prefix))):
        with open(os.path.join(folder, name), "rb") as f:
            images.append(rgb_pixels(f.read()))
    return images


def ink_box(path, dpi, folder):
    """(left, top, right, bottom) of everything not white on the rendered
    first page, in pixels at `dpi`, and the page's size."""
    out = os.path.join(folder, "page")
    subprocess.run(["pdftoppm", "-r", str(dpi), "-f", "1", "-l", "1", "-png", "-singlefile", path, out],
                   check=True)
    with open(out + ".png", "rb") as f:
        w, h, raw = rgb_pixels(f.read())
    rows = [y for y in range(h) if raw[y * w * 3:(y + 1) * w * 3].count(b"\xff") < w * 3]
    cols = [x for x in range(w) if any(raw[(y * w + x) * 3:(y * w + x) * 3 + 3] != b"\xff\xff\xff"
                                      for y in range(rows[0], rows[-1] + 1, 4))]
    return (cols[0], rows[0], cols[-1] + 1, rows[-1] + 1), (w, h)


class PrintingTest(unittest.TestCase):
    WIDTH, HEIGHT = 640, 480

    @classmethod
    def setUpClass(cls):
        cls.cups = CupsServer()

    @classmethod
    def tearDownClass(cls):
        cls.cups.close()

    def setUp(self):
        for path in self.cups.pdfs():
            os.remove(path)
        self.cups.lp(["cancel", "-a", "-x"], check=False)
        self.done_before = len(self.cups.completed_jobs())
        # The tray menu's test needs a tray host.
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, window_manager=True,
                               tray=self._testMethodName.startswith("test_tray_"))
        self.desktop.env["CUPS_SERVER"] = self.cups.socket
        background = os.path.join(self.desktop.folder, "background.png")
        make_picture(background, self.WIDTH, self.HEIGHT)
        self.desktop.run(["hsetroot", "-full", background], check=True)
        with open(background, "rb") as f:
            self.background = rgb_pixels(f.read())

    def tearDown(self):
        self.desktop.close()

    def start(self, printer=None, **other):
        options = dict(Sound=False, ShowInfo=False, Auto_Clipboard=False)
        options.update(other)
        text = "REGEDIT4\n\n" + section("OtherOptions", options)
        if printer:
            text += "\n" + section("PrinterOptions", printer)
        write_settings(self.desktop, text)
        self.program = Program(self.desktop).wait_resident()
        return self.program

    def key(self, *keys):
        self.desktop.run(["xdotool", "key", *keys], check=True)

    def pdfs(self, count):
        files = self.cups.wait_pdfs(count)
        self.assertEqual(len(files), count)
        return files

    def window(self):
        return wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW), what="the picture window")[0]

    def test_direct_printing_puts_the_desktop_on_paper_at_its_own_pixels(self):
        self.start(DirectPrint=True, Auto_Clipboard=True)
        self.key("Print")
        [pdf] = self.pdfs(1)
        info = pdf_info(pdf)
        self.assertEqual(info["Pages"].strip(), "1")
        self.assertEqual(info["Title"].strip().strip("()"), TITLE)  # cups-pdf adds the brackets
        self.assertIn("595 x 842", info["Page size"])
        # No window was shown, yet the clipboard got the picture too.
        self.assertFalse(windows_named(self.desktop, PICTURE_WINDOW))
        self.assertIsNotNone(clipboard_png(self.desktop))
        [(w, h, raw)] = pdf_images(pdf, self.desktop.folder)
        self.assertEqual((w, h), (self.WIDTH, self.HEIGHT))
        self.assertEqual(raw, self.background[2])
        if not self.cups.root:
            return  # the queue without cups-pdf has margins of its own
        # Centred on the printable area (all of A4 at 1200 dpi: 9917 x 14033)
        # at 12 dots a pixel, above one line's height and 4 dots.
        (left, top, right, bottom), _ = ink_box(pdf, 72, self.desktop.folder)
        self.assertAlmostEqual(left, (9917 - 7680) / 2 * 72 / 1200, delta=1.5)
        self.assertAlmostEqual(right - left, 7680 * 72 / 1200, delta=1.5)
        self.assertAlmostEqual(bottom - top, 5760 * 72 / 1200, delta=1.5)
        self.assertLess(top, (14033 - 5760) / 2 * 72 / 1200)
        self.assertGreater(top, (14033 - 5760 - 400) / 2 * 72 / 1200)
        self.assertTrue(self.program.running())

    def test_layout_footer_and_copies(self):
        self.start(DirectPrint=True, FooterText="Shelf 7 report",
                   printer=dict(RCopies=2, RAlignment=1, RItem0=True, RItem1=True, RItem2=True,
                                RItem3=True, R12Cpi=True, R8Cpi=False))
        self.key("Print")
        files = self.pdfs(2)
        for pdf in files:
            text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True,
                                  text=True, check=True).stdout
            self.assertIn("User: ", text)
            self.assertIn("Operating System: ", text)
            self.assertIn(" Build: ", text)
            self.assertIn("Shelf 7 report", text)
            # (pdftotext reads the two blanks before the time as one)
            self.assertRegex(text, r"\w+day, \w{3} \d\d, \d{4}\s+\d\d:\d\d:\d\d [AP]M")
            lines = [l.strip() for l in text.splitlines() if l.strip()]
            self.assertLess(lines.index(next(l for l in lines if l.startswith("User: "))),
                            lines.index("Shelf 7 report"))
        # Top left, at its natural size: 12 printer dots (1200 dpi) a pixel,
        # from the printable area's corner; the footer lines below it.
        (left, top, right, bottom), _ = ink_box(files[0], 72, self.desktop.folder)
        corner = 30 if self.cups.root else 60
        self.assertLess(left, corner)
        self.assertLess(top, corner)
        self.assertAlmostEqual(right - left, 640 * 12 * 72 / 1200, delta=2)
        self.assertGreater(bottom - top, 480 * 12 * 72 / 1200)

    def test_grayscale_and_optimize(self):
        self.start(DirectPrint=True, printer=dict(GrayScale=True))
        self.key("Print")
        [pdf] = self.pdfs(1)
        [(w, h, raw)] = pdf_images(pdf, self.desktop.folder)
        src = self.background[2]
        for i in range(0, len(raw), 3 * 997):
            grey = (src[i] + src[i + 1] + src[i + 2]) // 3
            self.assertEqual(raw[i:i + 3], bytes([grey] * 3), i)
        os.remove(pdf)
        self.done_before = len(self.cups.completed_jobs())
        self.desktop.run([os.environ.get("VISTREL_PRO", "build/vistrel-pro"), "/C"])
        self.program.wait_ended()
        self.start(DirectPrint=True, printer=dict(SmallSize=True))
        self.key("Print")
        pdf = wait_until(lambda: self.cups.pdfs(), what="the optimized print")[0]
        self.cups.wait_pdfs(1)
        [(w, h, raw)] = pdf_images(pdf, self.desktop.folder)
        colours = {raw[i:i + 3] for i in range(0, len(raw), 3)}
        self.assertLessEqual(len(colours), 256)
        self.assertGreater(len(colours), 16)

    def test_landscape_from_the_window_and_close_after_print(self):
        self.start(CloseAfterPrint=True, printer=dict(RPortrait=False, RLandscape=True))
        self.key("Print")
        window = self.window()
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "ctrl+p"])
        [pdf] = self.pdfs(1)
        # Either a landscape page, or (cups-pdf) the A4 sheet carrying the
        # page turned: then the 4:3 picture stands taller than wide on it.
        (left, top, right, bottom), _ = ink_box(pdf, 36, self.desktop.folder)
        if "842 x 595" in pdf_info(pdf)["Page size"]:
            self.assertAlmostEqual((right - left) / (bottom - top), 640 / 480, delta=0.1)
        else:
            self.assertIn("595 x 842", pdf_info(pdf)["Page size"])
            self.assertAlmostEqual((bottom - top) / (right - left), 640 / 480, delta=0.1)
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW),
                   what="the window to close after printing")
        # The program goes on: the next capture opens a window again.
        self.key("Print")
        self.window()
        self.assertTrue(self.program.running())

    def test_tray_print_the_desktop_prints_without_a_window_and_leaves_direct_printing_off(self):
        self.start()
        def ours():
            return set(self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                         "vistrel-pro"]).split())
        icon = wait_until(lambda: [w for w in ours() if "24x24" in
                                   self.desktop.run(["xdotool", "getwindowgeometry", w])],
                          what="the tray icon")[0]
        self.desktop.run(["xdotool", "mousemove", "--window", icon, "12", "12", "click", "3"], check=True)
        wait_until(lambda: ours() - {icon}, what="the tray menu")
        # From the bottom: Terminate, Reset to Default and Exit, Get Rectangular
        # Area, Print the Desktop.
        self.key("Up", "Up", "Up", "Up", "Return")
        [pdf] = self.pdfs(1)
        self.assertEqual(pdf_images(pdf, self.desktop.folder)[0][:2], (self.WIDTH, self.HEIGHT))
        self.assertFalse(windows_named(self.desktop, PICTURE_WINDOW))
        # Direct Printing was forced for that one request only.
        self.key("Print")
        self.window()
        self.assertEqual(len(self.cups.pdfs()), 1)

    def test_the_command_line_prints_alone_and_through_the_running_copy_never_with_a_window(self):
        write_settings(self.desktop, "REGEDIT4\n\n" + section(
            "OtherOptions", dict(Sound=False, ShowInfo=False, Auto_Clipboard=False)))

        def ask():
            return subprocess.run([PROGRAM, "--capture", "desktop", "--print"], env=self.desktop.env,
                                  capture_output=True, text=True, timeout=60)

        done = ask()
        self.assertEqual(done.returncode, 0, done.stderr)
        [pdf] = self.pdfs(1)
        self.assertEqual(pdf_images(pdf, self.desktop.folder)[0][2], self.background[2])
        self.start()
        done = ask()
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(len(self.pdfs(2)), 2)
        self.assertFalse(windows_named(self.desktop, PICTURE_WINDOW))

        # A refusal is told to the caller: no box, no window waits for a user.
        self.cups.lp(["cupsreject", "-r", "toner change", QUEUE])
        try:
            done = ask()
            self.assertEqual(done.returncode, 3)
            self.assertIn("not accepting jobs", done.stderr)
            self.assertFalse(windows_named(self.desktop, PICTURE_WINDOW))
            self.assertFalse(self.error_boxes())
            self.assertTrue(self.program.running())
        finally:
            self.cups.lp(["cupsaccept", QUEUE], check=False)

    def error_boxes(self):
        return [w for w in windows_named(self.desktop, "Vistrel-Pro")
                if self.desktop.run(["xdotool", "getwindowname", w]).strip() == "Vistrel-Pro"]

    def test_a_chosen_queue_deleted_meanwhile_is_an_error_and_the_window_stays(self):
        self.cups.add_printer("Second")
        try:
            self.start(printer=dict(RPrinter="Second"))
            self.key("Print")
            window = self.window()
            # The dialog lists the queues; "Second" is the chosen one.
            self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "ctrl+w"])
            dialog = wait_until(lambda: windows_named(self.desktop, "Print Setup and page preview"),
                                what="the print setup dialog")[0]
            self.desktop.run(["xdotool", "windowactivate", "--sync", dialog, "key", "Escape"])
            wait_until(lambda: not windows_named(self.desktop, "Print Setup and page preview"),
                       what="the dialog to close")
            self.cups.remove_printer("Second")
            self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "ctrl+p"])
            box = wait_until(self.error_boxes, what="the error box")[0]
            self.desktop.run(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
            wait_until(lambda: not self.error_boxes(), what="the error box to close")
            self.assertTrue(windows_named(self.desktop, PICTURE_WINDOW))
            self.assertEqual(self.cups.pdfs(), [])
            self.assertTrue(self.program.running())
        finally:
            self.cups.lp(["lpadmin", "-x", "Second"], check=False)

    def test_without_cups_the_fault_is_reported_and_nothing_waits(self):
        self.desktop.env["CUPS_SERVER"] = os.path.join(self.desktop.folder, "no-cups.sock")
        self.start(DirectPrint=True, printer=dict(RPrinter="PDF"))
        self.key("Print")
        box = wait_until(self.error_boxes, what="the error box")[0]
        self.desktop.run(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
        wait_until(lambda: not self.error_boxes(), what="the error box to close")
        self.assertTrue(self.program.running())
        self.assertEqual(self.cups.pdfs(), [])
        # The stored printer survived the outage.
        self.desktop.run([os.environ.get("VISTREL_PRO", "build/vistrel-pro"), "/C"])
        self.program.wait_ended()
        with open(os.path.join(self.desktop.config, "Vistrel-Pro", "settings.reg")) as f:
            self.assertIn('"RPrinter"="PDF"', f.read())

    # ---- prints that do not happen -------------------------------------

    def info_popups(self):
        """Visible windows of the program the size of a one-line info popup
        (42 high, at least 152 wide: a longer text widens it)."""
        found = []
        for w in self.desktop.run(["xdotool", "search", "--onlyvisible", "--class",
                                   "vistrel-pro"]).split():
            size = re.search(r"Geometry: (\d+)x(\d+)",
                             self.desktop.run(["xdotool", "getwindowgeometry", w]))
            if size and int(size.group(1)) >= 152 and int(size.group(2)) == 42:
                found.append(w)
        return found

    def test_an_accepted_print_is_confirmed_by_the_info_popup(self):
        self.start(ShowInfo=True)
        self.key("Print")
        window = self.window()
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "Return"])
        wait_until(self.info_popups, what="the info popup")
        self.pdfs(1)
        wait_until(lambda: not self.info_popups(), what="the popup to go")

    def test_direct_printing_is_confirmed_by_the_info_popup_without_a_window(self):
        self.start(DirectPrint=True, ShowInfo=True)
        self.key("Print")
        wait_until(self.info_popups, what="the info popup")
        self.pdfs(1)
        wait_until(lambda: not self.info_popups(), what="the popup to go")
        self.assertFalse(windows_named(self.desktop, PICTURE_WINDOW))

    def read_box_watching_popups(self, user):
        """The next message box's text; fails if an info popup ("Picture
        Sent to ...") showed before it."""
        popups = []
        def box():
            popups.extend(self.info_popups())
            return user.boxes()
        wait_until(box, what="a message box")
        self.assertEqual(popups, [], "a print was reported as sent")
        return user.read_box()

    def test_a_queue_rejecting_jobs_is_reported_and_direct_printing_shows_the_picture(self):
        self.cups.lp(["cupsreject", "-r", "toner change", QUEUE])
        try:
            self.start(DirectPrint=True, ShowInfo=True)
            user = PictureWindowUser(self.desktop)
            self.key("Print")
            text = self.read_box_watching_popups(user)
            self.assertIn('"%s"' % QUEUE, text)
            self.assertIn("not accepting jobs", text)
            user.answer_box("Return")
            # The capture is not lost: it opens in the picture window.
            self.window()
            self.assertEqual(self.cups.pdfs(), [])
            self.assertEqual(self.cups.lp(["lpstat", "-o"], check=False).strip(), "")
        finally:
            self.cups.lp(["cupsaccept", QUEUE], check=False)

    def test_close_after_print_keeps_the_window_when_the_queue_rejects_the_job(self):
        self.start(CloseAfterPrint=True, ShowInfo=True)
        user = PictureWindowUser(self.desktop)
        self.key("Print")
        window = self.window()
        self.cups.lp(["cupsreject", QUEUE])
        try:
            self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "ctrl+p"])
            self.assertIn("not accepting jobs", self.read_box_watching_popups(user))
            user.answer_box("Return")
            self.assertIn(window, windows_named(self.desktop, PICTURE_WINDOW))
        finally:
            self.cups.lp(["cupsaccept", QUEUE], check=False)
        # Accepted again, the same window prints and then closes.
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", "ctrl+p"])
        self.pdfs(1)
        wait_until(lambda: not windows_named(self.desktop, PICTURE_WINDOW),
                   what="the window to close after printing")

    def test_a_queue_removed_while_a_job_is_drawn_refuses_it(self):
        self.cups.add_printer("Second")
        driver = subprocess.Popen([os.environ["CUPS_JOB_DRIVER"], "Second"],
                                  env=dict(self.cups.env, QT_QPA_PLATFORM="offscreen"),
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            self.assertEqual(driver.stdout.readline().strip(), "begun")
            self.cups.remove_printer("Second")
            out, _ = driver.communicate("\n", timeout=60)
        finally:
            if driver.poll() is None:
                driver.kill()
                driver.wait()
            self.cups.lp(["lpadmin", "-x", "Second"], check=False)
        self.assertTrue(out.startswith('refused: Printer "Second" refused the print job: '), out)
        self.assertEqual(driver.returncode, 1)

    def test_the_printer_setup_offers_the_queues_papers(self):
        picture = os.path.join(self.desktop.folder, "setup.png")
        done = subprocess.run([os.environ["CUPS_JOB_DRIVER"], "--setup", QUEUE, picture],
                              env=dict(self.cups.env, QT_QPA_PLATFORM="offscreen"),
                              capture_output=True, text=True, timeout=60)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        sizes = [l.split(" ", 1)[1] for l in done.stdout.splitlines() if l.startswith("PaperSize ")]
        self.assertEqual(sizes[0], "Printer's default")
        self.assertIn("A4", sizes)
        self.assertIn("Letter / ANSI A", sizes)
        self.assertTrue(os.path.getsize(picture) > 0)

    def test_a_cups_that_never_answers_is_reported_and_the_window_keeps_answering(self):
        silent = SilentCups(self.desktop.folder)
        try:
            self.desktop.env["CUPS_SERVER"] = silent.path
            self.start()
            user = PictureWindowUser(self.desktop)
            window = user.open_picture_window()
            user.key("ctrl+p")
            self.assertTrue(silent.requested.wait(20), "no request reached the silent CUPS")
            self.assertIn("CUPS is not answering", user.read_box())
            user.answer_box("Return")
            self.assertIn(window, windows_named(self.desktop, PICTURE_WINDOW))
            # Again, and while it waits for CUPS the program ends on /C.
            silent.requested.clear()
            user.activate(window)
            user.key("ctrl+p")
            self.assertTrue(silent.requested.wait(20), "no request reached the silent CUPS")
            self.desktop.run([os.environ.get("VISTREL_PRO", "build/vistrel-pro"), "/C"])
            self.program.wait_ended()
        finally:
            silent.close()


if __name__ == "__main__":
    unittest.main()
