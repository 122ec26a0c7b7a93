"""Key press to the frozen desktop ready for a drag, Vistrel-Pro against its
own "Get Desktop" and the peers' area selection, on private desktops that
look like desktops (a photograph-like background, a panel and windows)."""

import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
program, probe, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
os.environ["VISTREL_PRO"] = program
import desktop as harness  # noqa: E402
from desktop import (PICTURE_WINDOW, Desktop, Program, make_picture, wait_until,  # noqa: E402
                     windows_named, write_settings)

harness.PROGRAM = program
ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
HOTKEYS = "".join('"HotKey%d"=dword:%08x\n"Modifier%d"=dword:%08x\n' % (slot, key, slot, mod)
                  for slot, key, mod in ((0, 44, 0), (1, 0, 0), (2, 120, 0), (3, 44, 1),
                                         (4, 0, 0), (5, 0, 0)))


def timed(d, argv):
    return float(subprocess.run([probe] + argv, env=d.env, check=True, capture_output=True,
                                text=True, timeout=60).stdout)


def close_picture_window(d):
    window = wait_until(lambda: windows_named(d, PICTURE_WINDOW), what="the picture window")[0]
    d.run(["xdotool", "windowactivate", "--sync", window, "key", "Escape"])
    wait_until(lambda: not windows_named(d, PICTURE_WINDOW), what="the window to close")


def bench(width, height):
    d = Desktop(width, height, tray=True)
    try:
        background = os.path.join(d.folder, "background.png")
        make_picture(background, width, height)
        d.run(["hsetroot", "-full", background], check=True)
        for n in range(4):
            d.start(["xmessage", "-geometry", "%dx%d+%d+%d" % (500, 300, 120 + n * 260, 90 + n * 150),
                     "A window with some text in it, number %d" % n])
        write_settings(d, "REGEDIT4\n\n[%sHotKeys]\n%s\n[%sOtherOptions]\n\"Sound\"=\"0\"\n"
                       "\"ShowInfo\"=\"0\"\n" % (ROOT, HOTKEYS, ROOT))
        Program(d).wait_resident()
        out = os.path.join(d.folder, "peer.png")
        results = {"vistrel-pro area (key to overlay)": [], "vistrel-pro Get Desktop": [],
                   "maim -s": [], "scrot -s": []}
        for _ in range(rounds):
            results["vistrel-pro area (key to overlay)"].append(timed(d, ["overlay", "F9"]))
            d.run(["xdotool", "key", "Escape"])
            close_picture_window(d)
            results["vistrel-pro Get Desktop"].append(timed(d, ["window", "Print"]))
            close_picture_window(d)
            results["scrot -s"].append(timed(d, ["grab", "scrot", "-s", "-o", out]))
            results["maim -s"].append(timed(d, ["grab", "maim", "-s", out]))
        base = statistics.median(results["vistrel-pro area (key to overlay)"])
        print("%d x %d, median of %d rounds" % (width, height, rounds))
        print("%-36s %9s %9s %9s %22s" % ("", "ms", "min", "max", "ratio area / this"))
        for name, values in results.items():
            values = [v for v in values if v == v] or [float("nan")]  # peers that never grabbed
            t = statistics.median(values)
            print("%-36s %9.1f %9.1f %9.1f %22.2f" % (name, t, min(values), max(values), base / t))
        print()
    finally:
        d.close()


for size in ((1920, 1080), (3840, 2160)):
    bench(*size)
print("ratios below 1: the frozen desktop is ready sooner than the other")
