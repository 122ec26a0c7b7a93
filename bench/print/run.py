"""The print pass of a 1920 x 1080 capture (screenshot-like and photo-like)
to a private CUPS's cups-pdf queue, against `lp` of the same PNG to the same
queue, in one run: time to the job accepted and to the finished PDF.
Usage: python3 bench/print/run.py BUILD_DIR [ROUNDS]"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from cups_server import CupsServer  # noqa: E402

CONVERT = "convert"


def pictures(folder):
    shot = os.path.join(folder, "screenshot.png")
    # Flat panels, window frames and lines of "text", as on a desktop.
    draw = " ".join("rectangle %d,%d %d,%d" % (x, y, x + 300, y + 200)
                    for x in range(40, 1800, 360) for y in range(60, 900, 260))
    text = " ".join("line %d,%d %d,%d" % (x, y, x + 120, y) for x in range(60, 1800, 360)
                    for y in range(80, 1000, 9))
    subprocess.run([CONVERT, "-size", "1920x1080", "xc:#3a6ea5", "-fill", "#ece9d8", "-stroke", "#0a246a",
                    "-draw", draw, "-stroke", "black", "-draw", text, "PNG24:" + shot], check=True)
    photo = os.path.join(folder, "photo.png")
    subprocess.run([CONVERT, "-size", "1920x1080", "plasma:fractal", "-blur", "0x1", "PNG24:" + photo],
                   check=True)
    return [("screenshot", shot), ("photo", photo)]


def timed_until_pdf(cups, argv, accepted_from_output):
    before = set(cups.pdfs())
    start = time.monotonic()
    out = subprocess.run(argv, env=cups.env, capture_output=True, text=True, check=True).stdout
    accepted = float(out.strip()) if accepted_from_output else time.monotonic() - start
    def new_pdf():
        done = [p for p in cups.wait_pdfs(len(before) + 1, timeout=120) if p not in before]
        return done or None
    new_pdf()
    return accepted, time.monotonic() - start


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    bench = os.path.join(build, "bench", "print_bench")
    env_extra = {"QT_QPA_PLATFORM": "offscreen"}
    cups = CupsServer()
    try:
        cups.env.update(env_extra)
        with tempfile.TemporaryDirectory() as folder:
            for name, path in pictures(folder):
                ours, theirs = [], []
                for _ in range(rounds):
                    ours.append(timed_until_pdf(cups, [bench, path, "PDF"], True))
                    theirs.append(timed_until_pdf(cups, ["lp", "-d", "PDF", path], False))
                for what, index in (("job accepted", 0), ("finished PDF", 1)):
                    ratios = [o[index] / t[index] for o, t in zip(ours, theirs)]
                    print("%-10s %-12s vistrel %.3f s  lp %.3f s  ratio %.2f (min %.2f, max %.2f)" % (
                        name, what, statistics.median(o[index] for o in ours),
                        statistics.median(t[index] for t in theirs), statistics.median(ratios),
                        min(ratios), max(ratios)))
                for p in cups.pdfs():
                    os.remove(p)
    finally:
        cups.close()


if __name__ == "__main__":
    main()
