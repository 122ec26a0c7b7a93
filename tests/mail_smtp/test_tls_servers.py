"""The SMTP client against aiosmtpd with STARTTLS and with TLS from the
first byte, a login required, and certificates from an authority made for
the test (trusted through SSL_CERT_FILE)."""

import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(HERE, "..", "e2e")
sys.path.insert(0, E2E)
from mail_servers import FaultyServer, TlsServer, _wait, attachments, certificate_folder, read_message  # noqa: E402

TOOL = os.environ.get("MAIL_SEND_TOOL", "build/tests/mail_send_tool")
FOLDER = certificate_folder()


def send(address, security, password="secret", body="Picture attachment", abort_after_ms=None,
         data=b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 40):
    path = os.path.join(FOLDER, "attachment.png")
    with open(path, "wb") as f:
        f.write(data)
    env = dict(os.environ, SSL_CERT_FILE=os.path.join(FOLDER, "ca.pem"), MAIL_SECURITY=security)
    env.pop("SSL_CERT_DIR", None)
    env.pop("MAIL_PASSWORD", None)
    if password is not None:
        env["MAIL_PASSWORD"] = password
    if abort_after_ms is not None:
        env["MAIL_ABORT_AFTER_MS"] = str(abort_after_ms)
    done = subprocess.run([TOOL, address, "Me", "me@example.org", "you@example.org", "Vistrel-Pro Picture",
                           "mime", path, "Attachment.PNG", body], capture_output=True, text=True,
                          env=env, timeout=60)
    return done.returncode, done.stderr.strip()


class TlsTest(unittest.TestCase):
    def server(self, *args):
        server = TlsServer(*args)
        self.addCleanup(server.close)
        return server

    def test_both_kinds_log_in_and_deliver_what_the_plain_path_does(self):
        data = os.urandom(70000)
        for mode, mechanism in (("starttls", "PLAIN"), ("tls", "PLAIN"), ("starttls", "LOGIN")):
            with self.subTest(mode=mode, mechanism=mechanism):
                options = () if mechanism == "PLAIN" else ("login-only",)
                server = self.server(mode, "good", *options)
                self.assertEqual(send(server.address, mode, data=data, body=".\n..x"), (0, ""))
                _wait(lambda: server.messages(), "the message")
                message = read_message(server.messages()[0])
                self.assertEqual(attachments(message), [("Attachment.PNG", data)])
                self.assertEqual(message.get_body(("plain",)).get_content().replace("\r\n", "\n"), ".\n..x")
                self.assertIsNotNone(message["Date"].datetime)
                self.assertRegex(message["Message-ID"], r"^<[^<>@ ]+@[^<>@ ]+>$")
                events = server.events()
                logins = [e for e in events if e["event"] == "auth"]
                self.assertEqual(logins, [dict(event="auth", mechanism=mechanism, tls=True, ok=True)])
                hellos = [e for e in events if e["event"] == "ehlo"]
                self.assertTrue(hellos[-1]["tls"])
                self.assertNotEqual(hellos[-1]["name"], "tester")  # the machine, not the user ID

    def test_a_wrong_password_is_the_servers_refusal(self):
        server = self.server("starttls")
        code, error = send(server.address, "starttls", password="wrong")
        self.assertEqual(code, 1)
        self.assertTrue(error.startswith("The mail server refused the login: 535"), error)
        self.assertEqual(server.messages(), [])
        code, error = send(server.address, "starttls", password=None)
        self.assertEqual((code, error), (1, "The send was canceled at the password"))

    def test_a_server_without_plain_or_login_is_named_before_a_password_is_asked(self):
        server = self.server("tls", "good", "xoauth2-only")
        self.assertEqual(send(server.address, "tls", password=None),
                         (1, "The mail server offers neither AUTH PLAIN nor AUTH LOGIN: 127.0.0.1"))
        self.assertEqual(server.events()[-1]["offered"][-2:], ["250-AUTH XOAUTH2", "250 HELP"])

    def test_certificate_faults_are_refused_before_anything_is_sent(self):
        cases = [("expired", "expired"), ("wrongname", "wrong name"), ("selfsigned", "self-signed")]
        for cert, reason in cases:
            for mode in ("starttls", "tls"):
                with self.subTest(cert=cert, mode=mode):
                    server = self.server(mode, cert)
                    self.assertEqual(send(server.address, mode),
                                     (1, "The certificate of 127.0.0.1 was refused: " + reason))
                    self.assertEqual([e for e in server.events() if e["event"] == "auth"], [])
                    self.assertEqual(server.messages(), [])

    def test_no_starttls_offered_stops_before_anything_is_sent(self):
        server = self.server("plain")
        self.assertEqual(send(server.address, "starttls"),
                         (1, "The mail server does not offer STARTTLS; nothing was sent: 127.0.0.1"))
        self.assertEqual(server.messages(), [])

    def test_a_login_offered_only_in_plain_text_is_never_used(self):
        server = self.server("starttls", "good", "auth-before-tls-only")
        code, error = send(server.address, "starttls")
        self.assertEqual(code, 1)
        self.assertTrue(error.startswith("530"), error)  # the server wants a login it no longer offers
        hellos = [e for e in server.events() if e["event"] == "ehlo"]
        self.assertTrue(any("AUTH" in " ".join(e["offered"]) for e in hellos if not e["tls"]))
        self.assertEqual([e for e in server.events() if e["event"] == "auth"], [])

    def test_a_stalled_handshake_is_ended_by_abort(self):
        server = FaultyServer("hang-greeting")
        self.addCleanup(server.close)
        self.assertEqual(send(server.address, "tls", abort_after_ms=300), (1, "TLS handshake aborted"))


if __name__ == "__main__":
    unittest.main()
