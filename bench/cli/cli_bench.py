"""Process start to file written: the capture command line against scrot
and maim, each run whole, rounds interleaved so load hits all alike."""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
program, rounds = sys.argv[1], int(sys.argv[2])
os.environ["VISTREL_PRO"] = program
import desktop as harness  # noqa: E402
from desktop import Desktop, Program, make_picture, write_settings  # noqa: E402

harness.PROGRAM = program
OPTIONS = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions"


def timed(d, argv, out):
    if os.path.exists(out):
        os.unlink(out)
    start = time.monotonic()
    subprocess.run(argv, env=d.env, check=True, capture_output=True, timeout=60)
    took = (time.monotonic() - start) * 1000
    assert os.path.getsize(out) > 0, argv
    return took


def main(width=1920, height=1080):
    d = Desktop(width, height, tray=True)
    try:
        background = os.path.join(d.folder, "background.png")
        make_picture(background, width, height)
        d.run(["hsetroot", "-full", background], check=True)
        write_settings(d, 'REGEDIT4\n\n[%s]\n"Sound"="0"\n"ShowInfo"="0"\n' % OPTIONS)
        out = os.path.join(d.folder, "x.png")
        ours = [program, "--capture", "desktop", "--output", out]
        peers = {"scrot x.png": ["scrot", "-o", out], "maim x.png": ["maim", out]}
        results = {"vistrel-pro, running copy": [], "vistrel-pro, alone": []}
        results.update({name: [] for name in peers})
        running = Program(d).wait_resident()
        for _ in range(rounds):
            results["vistrel-pro, running copy"].append(timed(d, ours, out))
            for name, argv in peers.items():
                results[name].append(timed(d, argv, out))
        running.proc.terminate()
        running.wait_ended()
        for _ in range(rounds):
            results["vistrel-pro, alone"].append(timed(d, ours, out))
        scrot = statistics.median(results["scrot x.png"])
        print("%d x %d, median of %d rounds, whole process runs" % (width, height, rounds))
        print("%-28s %9s %9s %9s %18s" % ("", "ms", "min", "max", "ratio this / scrot"))
        for name, values in results.items():
            t = statistics.median(values)
            print("%-28s %9.1f %9.1f %9.1f %18.2f" % (name, t, min(values), max(values), t / scrot))
        print("target: the running copy at most 0.5 x scrot")
    finally:
        d.close()


main()
