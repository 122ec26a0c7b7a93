"""Times mailing a 3840 x 2160 24-bit BMP to aiosmtpd on loopback: the
program's SMTP client (composition included), Python's email package with
smtplib (composition included), and curl sending the program's own
message pre-built (same bytes and line count, so the server's per-line cost
is the same for both).
Prints per-peer medians and the ratios against the program, with spread.

  mail_peers.py MAIL_BENCH ROUNDS"""

import os
import smtplib
import socket
import statistics
import subprocess
import sys
import tempfile
import time
from email.message import EmailMessage

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 3840, 2160


def python_with_aiosmtpd():
    for python in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([python, "-c", "import aiosmtpd"], capture_output=True).returncode == 0:
            return python
    sys.exit("aiosmtpd is not installed (python3-aiosmtpd)")


def bmp_bytes():
    row = bytes((x * 7 + (x >> 3)) & 0xFF for x in range(WIDTH * 3))
    stride = WIDTH * 3
    pixels = b"".join(row[y % 97:] + row[:y % 97] for y in range(HEIGHT))
    size = 54 + stride * HEIGHT
    header = (b"BM" + size.to_bytes(4, "little") + b"\0\0\0\0" + (54).to_bytes(4, "little")
              + (40).to_bytes(4, "little") + WIDTH.to_bytes(4, "little") + HEIGHT.to_bytes(4, "little")
              + (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + b"\0" * 24)
    return header + pixels


def python_message(data):
    m = EmailMessage()
    m["From"] = "Bench <bench@example.org>"
    m["To"] = "sink@example.org"
    m["Subject"] = "Vistrel-Pro Picture"
    m.set_content("Picture attachment")
    m.add_attachment(data, maintype="application", subtype="octet-stream", filename="Attachment.BMP")
    return m


def attachment_and_message(bench, work):
    """Writes the BMP and the program's own message for it (what curl
    sends) into `work`; returns their paths and the BMP's bytes."""
    path = os.path.join(work, "attachment.bmp")
    data = bmp_bytes()
    with open(path, "wb") as f:
        f.write(data)
    prebuilt = os.path.join(work, "message.eml")
    subprocess.run([bench, "--message", path, prebuilt], check=True)
    return path, prebuilt, data


def main():
    bench, rounds = sys.argv[1], int(sys.argv[2])
    work = tempfile.mkdtemp(prefix="vistrel-mail-bench-")
    path, prebuilt, data = attachment_and_message(bench, work)

    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    server = subprocess.Popen([python_with_aiosmtpd(), "-m", "aiosmtpd", "-n", "-l", "127.0.0.1:%d" % port,
                               "-s", "0", "-c", "sink_handler.Handler"],
                              env=dict(os.environ, PYTHONPATH=HERE), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        end = time.monotonic() + 20
        while True:
            with socket.socket() as s:
                if s.connect_ex(("127.0.0.1", port)) == 0:
                    break
            if time.monotonic() > end:
                sys.exit("aiosmtpd did not start")
            time.sleep(0.05)

        times = {"vistrel": [], "python": [], "curl": []}
        for _ in range(rounds):
            # Interleaved, so a slow moment of the machine hits every peer.
            out = subprocess.run([bench, "127.0.0.1:%d" % port, path, "1"], capture_output=True,
                                 text=True, check=True).stdout
            times["vistrel"].append(float(out))

            start = time.perf_counter()
            with smtplib.SMTP("127.0.0.1", port) as smtp:
                smtp.send_message(python_message(data))
            times["python"].append(time.perf_counter() - start)

            start = time.perf_counter()
            subprocess.run(["curl", "-s", "smtp://127.0.0.1:%d" % port, "--mail-from", "bench@example.org",
                            "--mail-rcpt", "sink@example.org", "--upload-file", prebuilt], check=True)
            times["curl"].append(time.perf_counter() - start)
    finally:
        server.terminate()
        server.wait()
        for name in os.listdir(work):
            os.remove(os.path.join(work, name))
        os.rmdir(work)

    print("Mailing a %dx%d BMP (%d bytes) to aiosmtpd on loopback, %d rounds" % (WIDTH, HEIGHT, len(data), rounds))
    for name, values in times.items():
        print("  %-8s median %.3f s  (min %.3f, max %.3f)" % (name, statistics.median(values), min(values), max(values)))
    for peer in ("curl", "python"):
        ratios = [v / p for v, p in zip(times["vistrel"], times[peer])]
        print("  vistrel / %-6s %.2fx  (per round %.2f .. %.2f)" % (
            peer, statistics.median(times["vistrel"]) / statistics.median(times[peer]), min(ratios), max(ratios)))


if __name__ == "__main__":
    main()
