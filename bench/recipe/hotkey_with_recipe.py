"""Hotkey press to complete PNG ("Get Desktop + Save") on a private
1920 x 1080 desktop, with the typical recipe stored (grey, sharpen,
1024 x 768 with Mitchell, frame 4) against no recipe. The two runs
alternate in blocks so that a drift of the machine hits both."""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
import desktop as harness  # noqa: E402
from desktop import Desktop, Program, make_picture, write_settings  # noqa: E402

program, rounds = sys.argv[1], int(sys.argv[2])
harness.PROGRAM = program
ROOT = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
RECIPE = ('"CheckBoxItem0"="1"\n"CheckBoxItem2"="1"\n"PictureSize"=dword:00000003\n'
          '"RFrameSize"=dword:00000004\n')

d = Desktop(1920, 1080, tray=True)
try:
    background = os.path.join(d.folder, "background.png")
    make_picture(background, 1920, 1080)
    d.run(["hsetroot", "-full", background], check=True)
    for n in range(4):
        d.start(["xmessage", "-geometry", "%dx%d+%d+%d" % (500, 300, 120 + n * 260, 90 + n * 150),
                 "A window with some text in it, number %d" % n])
    shots = os.path.join(d.folder, "shots") + "/"

    def block(recipe, count):
        if os.path.exists(shots):
            for name in os.listdir(shots):
                os.remove(shots + name)
        os.makedirs(shots, exist_ok=True)
        text = ("REGEDIT4\n\n[%sHotKeys]\n\"HotKey1\"=dword:0000007b\n\n[%sOtherOptions]\n"
                "\"AutoFolder\"=\"%s\"\n\"Sound\"=\"0\"\n\"ShowInfo\"=\"0\"\n\"ResampleFilter\"=dword:00000001\n"
                % (ROOT, ROOT, shots))
        if recipe:
            text += "\n[%sPictureOptions]\n%s" % (ROOT, RECIPE)
        write_settings(d, text)
        run = Program(d).wait_resident()
        times = []
        for n in range(1, count + 1):
            path = shots + "Picture%04d.png" % n
            start = time.perf_counter()
            subprocess.run(["xdotool", "key", "F12"], env=d.env, check=True)
            while not os.path.exists(path):
                time.sleep(0.0005)
            times.append(time.perf_counter() - start)
        run.signal(15)
        run.wait_ended()
        return times

    plain, stored = [], []
    half = max(rounds // 2, 1)
    for _ in range(2):
        plain += block(False, half)
        stored += block(True, half)

    def line(name, values):
        q = statistics.quantiles(values, n=4)
        print("%-28s %8.1f %8.1f %8.1f" % (name, statistics.median(values) * 1000, q[0] * 1000,
                                           q[2] * 1000))

    print("1920 x 1080 desktop to PNG, %d presses each" % len(plain))
    print("%-28s %8s %8s %8s" % ("", "median", "q1", "q3"))
    line("no recipe (ms)", plain)
    line("typical recipe (ms)", stored)
    print("ratio recipe / none (medians): %.2f" % (statistics.median(stored) / statistics.median(plain)))
finally:
    d.close()
