"""A certificate authority and server certificates made with the openssl
tool at test time: good (127.0.0.1 and localhost), for another name,
expired, and self-signed. Clients trust the authority through
SSL_CERT_FILE=<folder>/ca.pem."""

import os
import subprocess

CA_CONFIG = """[ca]
default_ca = own
[own]
database = {folder}/index.txt
new_certs_dir = {folder}
serial = {folder}/serial
default_md = sha256
policy = any
[any]
commonName = supplied
"""


def _openssl(*args, folder):
    subprocess.run(["openssl", *args], cwd=folder, check=True, capture_output=True)


def _server(folder, name, alt_names, start="20000101000000Z", end="20991231000000Z"):
    _openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + name,
             "-keyout", name + ".key", "-out", name + ".csr", folder=folder)
    with open(os.path.join(folder, name + ".ext"), "w") as f:
        f.write("subjectAltName=" + alt_names + "\n")
    _openssl("ca", "-batch", "-config", "ca.cnf", "-cert", "ca.pem", "-keyfile", "ca.key",
             "-in", name + ".csr", "-out", name + ".pem", "-notext", "-extfile", name + ".ext",
             "-startdate", start, "-enddate", end, folder=folder)


def make(folder):
    """Writes ca.pem and NAME.pem / NAME.key for good, wrongname, expired, selfsigned."""
    with open(os.path.join(folder, "ca.cnf"), "w") as f:
        f.write(CA_CONFIG.format(folder=folder))
    open(os.path.join(folder, "index.txt"), "w").close()
    with open(os.path.join(folder, "serial"), "w") as f:
        f.write("1000\n")
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj",
             "/CN=Vistrel Test Authority", "-keyout", "ca.key", "-out", "ca.pem", folder=folder)
    _server(folder, "good", "IP:127.0.0.1,DNS:localhost")
    _server(folder, "wrongname", "DNS:mail.example.org")
    _server(folder, "expired", "IP:127.0.0.1,DNS:localhost", "20100101000000Z", "20110101000000Z")
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj", "/CN=127.0.0.1",
             "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", "selfsigned.key",
             "-out", "selfsigned.pem", folder=folder)
