"""Mailing a capture from the picture window: through a real SMTP server on
loopback (the attachment decodes to the saved file and the desktop's
pixels), refusals, dropped, hung and hostile servers, and the hand-off to
xdg-email."""

import os
import signal
import stat
import unittest

from desktop import (PICTURE_WINDOW, Desktop, Program, crop_rgb, read_settings,
                     rgb_pixels, settings_path, wait_until, windows_named, write_settings)
from mail_servers import FaultyServer, SmtpServer, TlsServer, attachments, certificate_folder, read_message
from shell_dialogs import PictureWindowUser

ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
PANEL = 32
DIALOG = "^Send Picture as E-Mail Attachment$"
BOX = "^Vistrel-Pro$"
PASSWORD = "^SMTP Password$"


class MailTest(unittest.TestCase):
    WIDTH, HEIGHT = 1024, 768

    def setUp(self):
        self.desktop = Desktop(self.WIDTH, self.HEIGHT, tray=True)
        background = self.desktop.set_background(self.WIDTH, self.HEIGHT)
        with open(background, "rb") as f:
            _, _, self.background_rgb = rgb_pixels(f.read())
        self.shots = os.path.join(self.desktop.folder, "shots") + "/"
        os.makedirs(self.shots)
        self.servers = []

    def tearDown(self):
        self.desktop.close()
        for server in self.servers:
            server.close()

    def smtp(self, *faulty):
        server = FaultyServer(*faulty) if faulty else SmtpServer()
        self.servers.append(server)
        return server

    def start(self, server, path=None, **mail):
        values = dict(MailServer=server.address if server else "", UserId="tester", LogonName="Me",
                      FromMail="me@example.org", ToMail="you@example.org")
        values.update(mail)
        section = lambda name, items: "[%s%s]\n%s\n" % (ROOT, name, "\n".join(
            ('"%s"=dword:%08x' if isinstance(v, int) else '"%s"="%s"') % (k, v) for k, v in items.items()))
        write_settings(self.desktop, "REGEDIT4\n\n" + section("OtherOptions", dict(AutoFolder=self.shots, Sound="0"))
                       + "\n" + section("E-Mail", values))
        # Only the program sees `path`; the test's own tools keep theirs.
        saved = self.desktop.env["PATH"]
        if path is not None:
            self.desktop.env["PATH"] = path
        try:
            program = Program(self.desktop)
        finally:
            self.desktop.env["PATH"] = saved
        return program.wait_resident()

    def key(self, window, *keys):
        self.desktop.run(["xdotool", "windowactivate", "--sync", window, "key", *keys], check=True)

    def open_dialog(self):
        self.desktop.run(["xdotool", "key", "Print"], check=True)
        window = wait_until(lambda: windows_named(self.desktop, PICTURE_WINDOW), what="the picture window")[0]
        self.key(window, "ctrl+m")
        return wait_until(lambda: windows_named(self.desktop, DIALOG), what="the mail dialog")[0]

    def dismiss_box(self):
        box = wait_until(lambda: windows_named(self.desktop, BOX), what="a message box")[0]
        self.key(box, "Return")
        wait_until(lambda: not windows_named(self.desktop, BOX), what="the box to close")

    def close_dialog(self, dialog):
        # Escape is ignored while a send or hand-off still runs: press it
        # until the dialog goes.
        def escaped():
            if not windows_named(self.desktop, DIALOG):
                return True
            self.desktop.run(["xdotool", "windowactivate", "--sync", dialog, "key", "Escape"])
            return False
        self.key(dialog, "Escape")
        wait_until(escaped, what="the dialog to close")

    def test_enter_mails_the_capture_as_png(self):
        server = self.smtp()
        program = self.start(server)
        dialog = self.open_dialog()
        self.desktop.screenshot(os.path.join(self.desktop.folder, "..", "vistrel-mail-dialog.png"))
        self.key(dialog, "Return")
        envelope, raw = server.wait_messages(1)[0]
        message = read_message(raw)
        with open(self.shots + "Attachment.png", "rb") as f:
            saved = f.read()
        self.assertEqual(attachments(message), [("Attachment.PNG", saved)])
        width, height, rgb = rgb_pixels(saved)
        self.assertEqual((width, height), (self.WIDTH, self.HEIGHT))
        rows = self.HEIGHT - PANEL
        self.assertEqual(crop_rgb(width, rgb, 0, 0, width, rows),
                         crop_rgb(width, self.background_rgb, 0, 0, width, rows))
        self.assertEqual(message["Subject"], "Vistrel-Pro Picture")
        self.assertEqual(envelope["rcpt_tos"], ["you@example.org"])
        self.close_dialog(dialog)
        stored = read_settings(self.desktop)["Setup\\E-Mail"]
        self.assertEqual(stored["MailServer"], '"%s"' % server.address)
        self.assertEqual(stored["PictureType"], "dword:00000004")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)

    def test_starttls_with_a_login_asks_again_after_a_refusal_and_stores_no_password(self):
        server = TlsServer("starttls")
        self.servers.append(server)
        self.desktop.env["SSL_CERT_FILE"] = os.path.join(certificate_folder(), "ca.pem")
        program = self.start(server, MailSecurity=1)
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        for password in ("wrong", "secret"):
            asking = wait_until(lambda: windows_named(self.desktop, PASSWORD), what="the password dialog")[0]
            self.desktop.run(["xdotool", "windowactivate", "--sync", asking, "type", password], check=True)
            self.key(asking, "Return")
            if password == "wrong":
                self.dismiss_box()
                self.key(dialog, "Return")
        wait_until(lambda: server.messages(), what="the message")
        message = read_message(server.messages()[0])
        with open(self.shots + "Attachment.png", "rb") as f:
            self.assertEqual(attachments(message), [("Attachment.PNG", f.read())])
        logins = [(e["tls"], e["ok"]) for e in server.events() if e["event"] == "auth"]
        self.assertEqual(logins, [(True, False), (True, True)])
        # The next send uses the password kept by the running program.
        self.key(dialog, "Return")
        wait_until(lambda: len(server.messages()) == 2, what="the second message")
        self.assertFalse(windows_named(self.desktop, PASSWORD))
        self.close_dialog(dialog)
        self.assertEqual(read_settings(self.desktop)["Setup\\E-Mail"]["MailSecurity"], "dword:00000001")
        with open(settings_path(self.desktop), "rb") as f:
            self.assertNotIn(b"secret", f.read())
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)

    def test_bmp_uuencoded_with_html_checked(self):
        server = self.smtp()
        self.start(server, PictureType=5, MimeEncode="0", HTML="1")
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        _, raw = server.wait_messages(1)[0]
        message = read_message(raw)
        with open(self.shots + "Attachment.bmp", "rb") as f:
            saved = f.read()
        self.assertEqual(attachments(message), [("Attachment.BMP", saved)])
        self.assertEqual(saved[:2], b"BM")
        self.assertIsNotNone(message.get_body(("plain",)))  # the text part stays plain
        self.close_dialog(dialog)

    def test_several_recipients_and_a_name_that_looks_like_an_address(self):
        server = self.smtp()
        self.start(server, LogonName="CEO <ceo@bank.test>, x",
                   ToMail="you@example.org; Other <other@example.org>")
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        envelope, raw = server.wait_messages(1)[0]
        self.assertEqual(envelope["rcpt_tos"], ["you@example.org", "other@example.org"])
        message = read_message(raw)
        sender, = message["From"].addresses
        self.assertEqual((sender.display_name, sender.addr_spec), ("CEO <ceo@bank.test>, x", "me@example.org"))
        self.assertEqual([a.addr_spec for a in message["To"].addresses], ["you@example.org", "other@example.org"])
        self.close_dialog(dialog)

    def test_a_refused_recipient_then_a_retry(self):
        server = self.smtp()
        self.start(server, ToMail="refused@example.org")
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        self.dismiss_box()
        self.assertEqual(server.messages(), [])
        # The focus is back in the To field.
        self.key(dialog, "ctrl+a")
        self.desktop.run(["xdotool", "type", "you@example.org"], check=True)
        self.key(dialog, "Return")
        envelope, _ = server.wait_messages(1)[0]
        self.assertEqual(envelope["rcpt_tos"], ["you@example.org"])
        self.close_dialog(dialog)

    def test_a_dropped_connection_is_reported_and_nothing_is_lost(self):
        server = self.smtp("drop-data")
        program = self.start(server, Subject="kept subject")
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        self.dismiss_box()
        self.assertTrue(windows_named(self.desktop, DIALOG))
        self.close_dialog(dialog)
        self.assertEqual(read_settings(self.desktop)["Setup\\E-Mail"]["Subject"], '"kept subject"')
        self.assertTrue(program.running())

    def test_a_hung_server_is_aborted_while_the_dialog_keeps_working(self):
        server = self.smtp("hang-data")
        self.start(server)
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        wait_until(lambda: "DATA" in server.commands(), what="the data to start")
        # Escape does not close the dialog during a send, typing still works.
        self.key(dialog, "Escape", "End")
        self.desktop.run(["xdotool", "type", ".hung"], check=True)
        self.desktop.screenshot(os.path.join(self.desktop.folder, "..", "vistrel-mail-hung.png"))
        self.assertTrue(windows_named(self.desktop, DIALOG))
        self.key(dialog, "alt+a")
        self.dismiss_box()
        self.assertNotIn("QUIT", server.commands())  # one Abort: closed without asking again
        self.close_dialog(dialog)
        self.assertEqual(read_settings(self.desktop)["Setup\\E-Mail"]["ToMail"], '"you@example.org.hung"')

    def test_ending_the_program_during_a_hung_send_aborts_it_and_keeps_the_fields(self):
        server = self.smtp("hang-data")
        program = self.start(server, Subject="kept at exit")
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        wait_until(lambda: "DATA" in server.commands(), what="the data to start")
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)
        self.assertNotIn("QUIT", server.commands())
        self.assertEqual(read_settings(self.desktop)["Setup\\E-Mail"]["Subject"], '"kept at exit"')

    def peak_memory_kib(self, program):
        with open("/proc/%d/status" % program.proc.pid) as f:
            return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))

    def test_a_reply_without_line_feed_is_an_error_and_memory_stays_flat(self):
        server = self.smtp("endless-line")
        program = self.start(server)
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        self.assertIn("The mail server sent an over-long reply", PictureWindowUser(self.desktop).read_box())
        self.assertLess(self.peak_memory_kib(program), 200 * 1024)
        self.dismiss_box()
        self.close_dialog(dialog)
        self.assertTrue(program.running())

    def test_an_endless_reply_leaves_the_window_answering_and_abort_ends_it(self):
        server = self.smtp("endless-continuation")
        self.start(server)
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        wait_until(lambda: "(streaming)" in server.commands(), what="the greeting to start")
        # Typing reaches the To field while the greeting streams in.
        self.key(dialog, "End")
        self.desktop.run(["xdotool", "type", ".busy"], check=True)
        self.key(dialog, "alt+a")
        user = PictureWindowUser(self.desktop)
        wait_until(user.boxes, timeout=5, what="Abort to end the send")
        self.assertIn("Socket readln aborted", user.read_box())
        self.dismiss_box()
        self.close_dialog(dialog)
        self.assertEqual(read_settings(self.desktop)["Setup\\E-Mail"]["ToMail"], '"you@example.org.busy"')

    def test_a_garbage_greeting_is_an_error_and_nothing_is_sent(self):
        server = self.smtp("reply", "GREETING", "OK")
        self.start(server)
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        self.assertIn("The mail server sent an invalid reply: OK", PictureWindowUser(self.desktop).read_box())
        self.dismiss_box()
        self.assertEqual(server.commands(), [])
        self.close_dialog(dialog)

    def test_a_refused_quit_after_delivery_says_the_message_was_delivered(self):
        server = self.smtp("reply", "QUIT", "500 no quitting")
        self.start(server)
        dialog = self.open_dialog()
        self.key(dialog, "Return")
        self.assertIn("The message was delivered; only the goodbye failed: 500 no quitting",
                      PictureWindowUser(self.desktop).read_box())
        self.dismiss_box()
        self.assertEqual(server.commands()[-2:], ["DATA", "QUIT"])
        self.close_dialog(dialog)

    def fake_xdg_email(self, status):
        bin_folder = os.path.join(self.desktop.folder, "bin")
        os.makedirs(bin_folder, exist_ok=True)
        self.args_file = os.path.join(self.desktop.folder, "xdg-email-args")
        script = os.path.join(bin_folder, "xdg-email")
        with open(script, "w") as f:
            f.write('#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a"; done > "%s"\nexit %d\n'
                    % (self.args_file, status))
        os.chmod(script, stat.S_IRWXU)
        return bin_folder + os.pathsep + os.environ["PATH"]

    def test_xdg_email_receives_the_attachment(self):
        self.start(None, path=self.fake_xdg_email(0), Subject="Hi")
        dialog = self.open_dialog()
        self.key(dialog, "alt+m")
        wait_until(lambda: os.path.exists(self.args_file), what="xdg-email to run")
        self.close_dialog(dialog)  # closes only once the hand-off is over
        with open(self.args_file) as f:
            self.assertEqual(f.read(), "--subject\nHi\n--body\nPicture attachment\n--attach\n%s\nyou@example.org\n"
                             % (self.shots + "Attachment.png"))
        self.assertEqual(windows_named(self.desktop, BOX), [])

    def test_xdg_email_failing_shows_its_number(self):
        self.start(None, path=self.fake_xdg_email(3))
        dialog = self.open_dialog()
        self.key(dialog, "alt+m")
        self.dismiss_box()
        self.close_dialog(dialog)

    def test_without_xdg_email_nothing_is_shown(self):
        empty = os.path.join(self.desktop.folder, "empty-bin")
        os.makedirs(empty)
        self.start(None, path=empty)
        dialog = self.open_dialog()
        self.key(dialog, "alt+m")
        self.close_dialog(dialog)
        self.assertTrue(os.path.exists(self.shots + "Attachment.png"))
        self.assertEqual(windows_named(self.desktop, BOX), [])


if __name__ == "__main__":
    unittest.main()
