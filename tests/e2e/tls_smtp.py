"""aiosmtpd with TLS for tests, on 127.0.0.1: STARTTLS or TLS from the
first byte, a login with PLAIN and LOGIN (user "tester", password
"secret") required before mail. Prints "PORT n" when listening; stores
messages like smtp_store.py and writes one JSON line per EHLO and login
attempt to $TLS_LOG, saying whether the connection was encrypted.

  tls_smtp.py starttls|tls|plain CERT KEY [auth-before-tls-only] [login-only] [xoauth2-only]

"plain" offers no STARTTLS and no login; "login-only" offers AUTH LOGIN
alone; "xoauth2-only" offers AUTH XOAUTH2 alone; "auth-before-tls-only"
offers AUTH before STARTTLS but not after."""

import json
import os
import socket
import ssl
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

import smtp_store


def _encrypted(server, session):
    return session.ssl is not None or server.transport.get_extra_info("ssl_object") is not None


def _log(**event):
    with open(os.environ["TLS_LOG"], "a") as f:
        f.write(json.dumps(event) + "\n")


class Handler(smtp_store.Handler):
    def __init__(self, auth_before_tls_only):
        self.strip_login_after_tls = auth_before_tls_only

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        encrypted = _encrypted(server, session)
        if self.strip_login_after_tls and encrypted:
            responses = [r for r in responses if not r[4:].startswith("AUTH")]
        _log(event="ehlo", name=hostname, tls=encrypted, offered=responses)
        return responses


class XOAuth2Handler(Handler):
    async def auth_XOAUTH2(self, server, args):
        _log(event="auth", mechanism="XOAUTH2", tls=True, ok=False)
        return AuthResult(success=False, handled=False)


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == b"tester" and auth_data.password == b"secret"
    _log(event="auth", mechanism=mechanism, tls=_encrypted(server, session), ok=ok)
    return AuthResult(success=ok, handled=False)


def main():
    mode, cert, key = sys.argv[1:4]
    before_only = "auth-before-tls-only" in sys.argv[4:]
    excluded = ["CRAM-MD5"] + (["PLAIN"] if "login-only" in sys.argv[4:] else [])
    xoauth2 = "xoauth2-only" in sys.argv[4:]
    if xoauth2:
        excluded += ["PLAIN", "LOGIN"]
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    options = dict(hostname="127.0.0.1", port=port, handler=(XOAuth2Handler if xoauth2 else Handler)(before_only),
                   data_size_limit=200_000_000, decode_data=False)
    if mode != "plain":
        options.update(authenticator=authenticator, auth_required=True,
                       auth_require_tls=not before_only and mode != "tls", auth_exclude_mechanism=excluded)
    if mode == "starttls":
        options.update(tls_context=context, require_starttls=True)
    elif mode == "tls":
        options.update(ssl_context=context)
    controller = Controller(**options)
    controller.start()
    print("PORT %d" % port, flush=True)
    try:
        while True:
            time.sleep(3600)
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
