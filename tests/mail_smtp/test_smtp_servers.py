"""The SMTP client against a real server (aiosmtpd) and a faulty one, with
Python's email package as the mail reader."""

import os
import random
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from mail_servers import FaultyServer, SmtpServer, attachments, read_message  # noqa: E402

TOOL = os.environ.get("MAIL_SEND_TOOL", "build/tests/mail_send_tool")


def text_of(message):
    """The plain text part as a reader shows it."""
    return message.get_body(("plain",)).get_content().replace("\r\n", "\n")


def send(server, path, name, encoding="mime", to="you@example.org", subject="Vistrel-Pro Picture",
         from_name="Me", body="Picture attachment", abort_after_ms=None):
    env = dict(os.environ)
    if abort_after_ms is not None:
        env["MAIL_ABORT_AFTER_MS"] = str(abort_after_ms)
    done = subprocess.run([TOOL, server.address, from_name, "me@example.org", to, subject, encoding,
                           path, name, body], capture_output=True, text=True, env=env, timeout=60)
    return done.returncode, done.stderr.strip()


class RealServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = SmtpServer()
        cls.files = tempfile.mkdtemp(prefix="vistrel-files-")

    @classmethod
    def tearDownClass(cls):
        cls.server.close()

    def file(self, name, data):
        path = os.path.join(self.files, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def send_and_read(self, data, name, encoding, **fields):
        count = len(self.server.messages())
        path = self.file(name.lower(), data)
        self.assertEqual(send(self.server, path, name, encoding, **fields), (0, ""))
        envelope, raw = self.server.wait_messages(count + 1)[-1]
        return envelope, raw, read_message(raw)

    def test_pictures_arrive_identical_in_both_encodings(self):
        png = subprocess.run(["convert", "-size", "97x61", "gradient:red-blue", "png:-"],
                             capture_output=True, check=True).stdout
        bmp = subprocess.run(["convert", "-size", "97x61", "gradient:red-blue", "bmp3:-"],
                             capture_output=True, check=True).stdout
        for data, name in ((png, "Attachment.PNG"), (bmp, "Attachment.BMP")):
            for encoding in ("mime", "uu"):
                with self.subTest(name=name, encoding=encoding):
                    envelope, raw, message = self.send_and_read(data, name, encoding)
                    self.assertEqual(attachments(message), [(name, data)])
                    self.assertEqual(message["Subject"], "Vistrel-Pro Picture")
                    self.assertEqual(text_of(message), "Picture attachment")
                    self.assertEqual(envelope["mail_from"], "me@example.org")
                    self.assertEqual(envelope["rcpt_tos"], ["you@example.org"])
                    self.assertEqual(envelope["helo"], "tester")

    def test_random_sizes_and_dotted_lines_survive(self):
        rng = random.Random(5)
        # 14 left over: the last uuencoded line starts with "."; a body of dots.
        for size in (0, 1, 14, 45 + 14, 4000, 70000):
            data = bytes(rng.randrange(256) for _ in range(size))
            for encoding in ("mime", "uu"):
                with self.subTest(size=size, encoding=encoding):
                    _, _, message = self.send_and_read(data, "Data.BIN", encoding, body=".\n..x\n.")
                    self.assertEqual(attachments(message), [("Data.BIN", data)])
                    self.assertEqual(text_of(message), ".\n..x\n.")

    def test_non_ascii_fields_are_read_back(self):
        _, raw, message = self.send_and_read(b"x", "Attachment.PNG", "mime", subject="Grüße aus Köln",
                                             from_name="Jörg", body="Schöne Grüße\nzweite Zeile",
                                             to="Zoë <you@example.org>")
        self.assertTrue(all(b < 0x80 for b in raw))
        self.assertEqual(message["Subject"], "Grüße aus Köln")
        self.assertEqual(message["From"].addresses[0].display_name, "Jörg")
        self.assertEqual(message["To"].addresses[0].display_name, "Zoë")
        self.assertEqual(text_of(message), "Schöne Grüße\nzweite Zeile")

    def test_a_refused_recipient_stops_before_data_and_a_retry_works(self):
        count = len(self.server.messages())
        path = self.file("attachment.png", b"\x89PNG")
        code, error = send(self.server, path, "Attachment.PNG", to="refused@example.org")
        self.assertEqual(code, 1)
        self.assertEqual(error, "550 5.1.1 <refused@example.org>: Recipient address rejected")
        self.assertEqual(send(self.server, path, "Attachment.PNG"), (0, ""))
        self.assertEqual(len(self.server.wait_messages(count + 1)), count + 1)

    def test_a_refused_connection(self):
        class Closed:
            address = "127.0.0.1:1"
        self.assertEqual(send(Closed, self.file("a.png", b"x"), "A.PNG"), (1, "Connection Failed"))


class FaultyServerTest(unittest.TestCase):
    def setUp(self):
        self.files = tempfile.mkdtemp(prefix="vistrel-files-")
        self.path = os.path.join(self.files, "attachment.png")
        with open(self.path, "wb") as f:
            f.write(os.urandom(300000))

    def run_against(self, *mode, **kw):
        server = FaultyServer(*mode)
        try:
            result = send(server, self.path, "Attachment.PNG", **kw)
            return result, server.commands()
        finally:
            server.close()

    def test_refusals_at_each_step_are_the_servers_line(self):
        cases = [("GREETING", "421 not now"), ("RSET", "451 later"), ("MAIL", "553 sender refused"),
                 ("RCPT", "550 no such user"), ("DATA", "554 no data"), ("END", "552 too big"),
                 ("QUIT", "500 no quitting")]
        for when, line in cases:
            with self.subTest(when=when):
                (code, error), commands = self.run_against("reply", when, line)
                if when == "QUIT":  # the message is out: nobody should send it again
                    line = "The message was delivered; only the goodbye failed: " + line
                self.assertEqual((code, error), (1, line))
                if when in ("RCPT",):
                    self.assertNotIn("DATA", commands)  # nobody would receive it
        (code, error), _ = self.run_against("reply", "HELO", "501 who are you")
        self.assertEqual((code, error), (1, "Authentication failed"))

    def test_two_line_replies(self):
        (code, error), commands = self.run_against("twoline")
        self.assertEqual((code, error), (0, ""))
        self.assertEqual(commands[-1], "QUIT")

    def test_a_drop_in_the_middle_of_data_is_an_error(self):
        (code, error), _ = self.run_against("drop-data")
        self.assertEqual(code, 1)
        self.assertIn(error, ("10054:Connection reset by peer",
                              "The mail server closed the connection without a reply"))

    def test_a_hang_is_ended_by_abort(self):
        (code, error), commands = self.run_against("hang-data", abort_after_ms=300)
        self.assertEqual(code, 1)
        self.assertIn(error, ("Socket readln aborted", "Socket send aborted"))
        self.assertNotIn("QUIT", commands)  # closed without waiting for a reply
        (code, error), _ = self.run_against("hang-greeting", abort_after_ms=300)
        self.assertEqual((code, error), (1, "Socket readln aborted"))

    def test_endless_greetings_end_with_an_error(self):
        (code, error), _ = self.run_against("endless-line")
        self.assertEqual((code, error), (1, "The mail server sent an over-long reply"))
        (code, error), _ = self.run_against("endless-continuation", abort_after_ms=300)
        self.assertEqual((code, error), (1, "Socket readln aborted"))


if __name__ == "__main__":
    unittest.main()
