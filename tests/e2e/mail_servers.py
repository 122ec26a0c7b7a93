"""SMTP servers for tests, on loopback only: the real aiosmtpd with a
handler that stores every message, and the faulty server of faulty_smtp.py.
Every wait has a deadline."""

import atexit
import email
import email.policy
import glob
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

import certificates

HERE = os.path.dirname(os.path.abspath(__file__))
DEADLINE = float(os.environ.get("VISTREL_E2E_DEADLINE", "20"))


def _python_with_aiosmtpd():
    for python in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([python, "-c", "import aiosmtpd"], capture_output=True).returncode == 0:
            return python
    raise AssertionError("aiosmtpd is not installed (python3-aiosmtpd)")


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


_certificates = None


def certificate_folder():
    """An authority (ca.pem) and server certificates, made once per test process."""
    global _certificates
    if _certificates is None:
        _certificates = tempfile.mkdtemp(prefix="vistrel-tls-")
        atexit.register(shutil.rmtree, _certificates, True)
        certificates.make(_certificates)
    return _certificates


def _wait(condition, what, timeout=DEADLINE):
    end = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.02)


class SmtpServer:
    """aiosmtpd on 127.0.0.1; messages land in self.folder."""

    def __init__(self, size_limit=200_000_000):
        self.folder = tempfile.mkdtemp(prefix="vistrel-smtp-")
        self.port = _free_port()
        env = dict(os.environ, MAIL_STORE_DIR=self.folder,
                   PYTHONPATH=HERE + os.pathsep + os.environ.get("PYTHONPATH", ""))
        self.proc = subprocess.Popen(
            [_python_with_aiosmtpd(), "-m", "aiosmtpd", "-n", "-l", "127.0.0.1:%d" % self.port,
             "-s", str(size_limit), "-c", "smtp_store.Handler"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _wait(self._listening, "aiosmtpd to listen")

    def _listening(self):
        if self.proc.poll() is not None:
            raise AssertionError("aiosmtpd ended at start")
        with socket.socket() as s:
            return s.connect_ex(("127.0.0.1", self.port)) == 0

    @property
    def address(self):
        return "127.0.0.1:%d" % self.port

    def messages(self):
        """[(envelope dict, raw bytes)] in arrival order."""
        out = []
        for path in sorted(glob.glob(os.path.join(self.folder, "*.json"))):
            with open(path) as f:
                envelope = json.load(f)
            with open(path[:-5] + ".eml", "rb") as f:
                out.append((envelope, f.read()))
        return out

    def wait_messages(self, count, timeout=DEADLINE):
        _wait(lambda: len(self.messages()) >= count, "%d message(s)" % count, timeout)
        return self.messages()

    def close(self):
        _stop(self.proc)
        for path in glob.glob(os.path.join(self.folder, "*")):
            os.remove(path)
        os.rmdir(self.folder)


class TlsServer:
    """tls_smtp.py with one of certificate_folder()'s certificates ("good",
    "wrongname", "expired", "selfsigned")."""

    def __init__(self, mode, cert="good", *options):
        self.folder = tempfile.mkdtemp(prefix="vistrel-tls-smtp-")
        self.log = os.path.join(self.folder, "events.jsonl")
        env = dict(os.environ, MAIL_STORE_DIR=self.folder, TLS_LOG=self.log,
                   PYTHONPATH=HERE + os.pathsep + os.environ.get("PYTHONPATH", ""))
        files = os.path.join(certificate_folder(), cert)
        self.proc = subprocess.Popen(
            [_python_with_aiosmtpd(), os.path.join(HERE, "tls_smtp.py"), mode,
             files + ".pem", files + ".key", *options],
            env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.proc.stdout.readline()
        if not line.startswith("PORT "):
            raise AssertionError("the TLS server did not start")
        self.address = "127.0.0.1:" + line.split()[1]

    def events(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [json.loads(line) for line in f]

    def messages(self):
        names = sorted(n for n in os.listdir(self.folder) if n.endswith(".json") and n[0].isdigit())
        out = []
        for name in names:
            with open(os.path.join(self.folder, name[:-5] + ".eml"), "rb") as f:
                out.append(f.read())
        return out

    def close(self):
        _stop(self.proc)
        self.proc.stdout.close()
        shutil.rmtree(self.folder, True)


class FaultyServer:
    def __init__(self, *mode):
        self.log = tempfile.NamedTemporaryFile(prefix="vistrel-faulty-", delete=False).name
        self.proc = subprocess.Popen([sys.executable, os.path.join(HERE, "faulty_smtp.py"), *mode],
                                     env=dict(os.environ, FAULTY_LOG=self.log),
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.proc.stdout.readline()
        if not line.startswith("PORT "):
            raise AssertionError("the faulty server did not start")
        self.port = int(line.split()[1])

    @property
    def address(self):
        return "127.0.0.1:%d" % self.port

    def commands(self):
        with open(self.log) as f:
            return f.read().splitlines()

    def close(self):
        _stop(self.proc)
        os.remove(self.log)


def _stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def read_message(raw):
    """The message as a mail reader sees it; fails on any defect."""
    message = email.message_from_bytes(raw, policy=email.policy.default)
    defects = list(message.defects)
    for part in message.walk():
        defects += part.defects
    if defects:
        raise AssertionError("defects in the message: %r" % defects)
    return message


def attachments(message):
    """[(file name, decoded bytes)] of every attachment."""
    return [(part.get_filename(), part.get_payload(decode=True))
            for part in message.walk() if part.get_content_disposition() == "attachment"]
