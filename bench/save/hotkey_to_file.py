"""Hotkey press to complete PNG, Vistrel-Pro against scrot and maim, on a
private 1920 x 1080 desktop that looks like a desktop (a photograph-like
background, a panel and a few windows with text); then the PNG save of the
captured screenshot against ImageMagick's at the same level and filter
(formats_bench --png), all in one run."""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
from desktop import Desktop, Program, make_picture, wait_until, write_settings  # noqa: E402

program, rounds, formats_bench = sys.argv[1], int(sys.argv[2]), sys.argv[3]
os.environ["VISTREL_PRO"] = program
import desktop as harness  # noqa: E402
harness.PROGRAM = program

d = Desktop(1920, 1080, tray=True)
try:
    background = os.path.join(d.folder, "background.png")
    make_picture(background, 1920, 1080)
    d.run(["hsetroot", "-full", background], check=True)
    text = "\n".join("%d  A window with some text in it: the quick brown fox jumps over the lazy dog" % i
                     for i in range(24))
    for n in range(4):
        d.start(["xmessage", "-geometry", "%dx%d+%d+%d" % (560, 360, 120 + n * 260, 90 + n * 150),
                 "Window %d\n%s" % (n, text)])
    shots = os.path.join(d.folder, "shots") + "/"
    os.makedirs(shots)
    root = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\"
    write_settings(d, "REGEDIT4\n\n[%sHotKeys]\n\"HotKey1\"=dword:0000007b\n\n[%sOtherOptions]\n"
                   "\"AutoFolder\"=\"%s\"\n\"Sound\"=\"0\"\n\"ShowInfo\"=\"0\"\n" % (root, root, shots))
    Program(d).wait_resident()

    def ours(n):
        path = shots + "Picture%04d.png" % n
        start = time.perf_counter()
        subprocess.run(["xdotool", "key", "F12"], env=d.env, check=True)
        while not os.path.exists(path):
            time.sleep(0.0005)
        return time.perf_counter() - start, os.path.getsize(path)

    def peer(argv, path):
        if os.path.exists(path):
            os.remove(path)
        start = time.perf_counter()
        subprocess.run(argv + [path], env=d.env, check=True, capture_output=True)
        return time.perf_counter() - start, os.path.getsize(path)

    results = {"vistrel-pro (hotkey to file)": [], "scrot": [], "maim": []}
    for n in range(1, rounds + 1):
        results["vistrel-pro (hotkey to file)"].append(ours(n))
        results["scrot"].append(peer(["scrot", "-o"], os.path.join(d.folder, "scrot.png")))
        results["maim"].append(peer(["maim"], os.path.join(d.folder, "maim.png")))

    ours_name = "vistrel-pro (hotkey to file)"
    base_time = statistics.median(t for t, _ in results[ours_name])
    base_size = statistics.median(s for _, s in results[ours_name])
    print("1920 x 1080 desktop to PNG at the default settings, median of %d rounds" % rounds)
    print("%-30s %10s %17s %12s %12s %12s %17s" % ("", "ms", "(min .. max)", "bytes", "time ratio", "size ratio",
                                               "round ratios"))
    for name, values in results.items():
        times = [v for v, _ in values]
        t = statistics.median(times)
        s = statistics.median(v for _, v in values)
        paired = sorted(a / b for (a, _), (b, _) in zip(results[ours_name], values))
        print("%-30s %10.1f %7.1f .. %6.1f %12d %12.2f %12.2f %7.2f .. %.2f" % (
            name, t * 1000, min(times) * 1000, max(times) * 1000, s, base_time / t, base_size / s,
            paired[0], paired[-1]))
    print("ratios: vistrel-pro / peer (below 1 is faster, smaller)")
    print()
    sys.stdout.flush()
    subprocess.run([formats_bench, d.folder, "--png", shots + "Picture%04d.png" % rounds, str(rounds)],
                   check=True)
finally:
    d.close()
