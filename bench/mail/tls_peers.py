"""Times mailing a 3840 x 2160 BMP over STARTTLS with a login to aiosmtpd
on loopback (a test authority made for the run): the program's SMTP client
against curl --ssl-reqd --user sending the program's own message bytes.
Prints medians, spread and the ratio.

  tls_peers.py MAIL_BENCH ROUNDS"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))

import certificates  # noqa: E402
from mail_peers import attachment_and_message, python_with_aiosmtpd, WIDTH, HEIGHT  # noqa: E402


def main():
    bench, rounds = sys.argv[1], int(sys.argv[2])
    work = tempfile.mkdtemp(prefix="vistrel-tls-bench-")
    store = os.path.join(work, "store")
    os.makedirs(store)
    certificates.make(work)
    path, prebuilt, data = attachment_and_message(bench, work)

    env = dict(os.environ, MAIL_STORE_DIR=store, TLS_LOG=os.path.join(work, "tls.log"),
               PYTHONPATH=os.path.join(HERE, "..", "..", "tests", "e2e"),
               SSL_CERT_FILE=os.path.join(work, "ca.pem"))
    server = subprocess.Popen([python_with_aiosmtpd(), os.path.join(HERE, "..", "..", "tests", "e2e",
                                                                     "tls_smtp.py"),
                               "starttls", os.path.join(work, "good.pem"), os.path.join(work, "good.key")],
                              env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        line = server.stdout.readline().split()
        if len(line) != 2 or line[0] != "PORT":
            sys.exit("the TLS server did not start")
        port = int(line[1])
        times = {"vistrel": [], "curl": []}
        for _ in range(rounds):
            # Interleaved, so a slow moment of the machine hits both.
            out = subprocess.run([bench, "127.0.0.1:%d" % port, path, "1", "starttls", "tester", "secret"],
                                 env=env, capture_output=True, text=True, check=True).stdout
            times["vistrel"].append(float(out))
            start = time.perf_counter()
            subprocess.run(["curl", "-s", "--ssl-reqd", "--cacert", os.path.join(work, "ca.pem"),
                            "--user", "tester:secret", "smtp://127.0.0.1:%d" % port,
                            "--mail-from", "bench@example.org", "--mail-rcpt", "sink@example.org",
                            "--upload-file", prebuilt], check=True)
            times["curl"].append(time.perf_counter() - start)
            for name in os.listdir(store):
                os.remove(os.path.join(store, name))
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)

    print("Mailing a %dx%d BMP (%d bytes) over STARTTLS with a login, %d rounds"
          % (WIDTH, HEIGHT, len(data), rounds))
    for name, values in times.items():
        print("  %-8s median %.3f s  (min %.3f, max %.3f)" % (name, statistics.median(values), min(values),
                                                               max(values)))
    ratios = [v / c for v, c in zip(times["vistrel"], times["curl"])]
    print("  vistrel / curl   %.2fx  (per round %.2f .. %.2f)" % (
        statistics.median(times["vistrel"]) / statistics.median(times["curl"]), min(ratios), max(ratios)))


if __name__ == "__main__":
    main()
