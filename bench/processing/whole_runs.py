#!/usr/bin/env python3
"""Whole runs of vistrel-convert against vips on a 3840 x 2160 PPM: start,
read, one operation, write, as a user runs them from a script. Each round
runs both tools once per operation, alternating; the medians of the rounds,
their ratio (ours / vips) and the spread of the rounds' ratios are printed.

Usage: whole_runs.py VISTREL_CONVERT WORK_DIR [ROUNDS]
"""
import os
import resource
import statistics
import subprocess
import sys
import time

WIDTH, HEIGHT = 3840, 2160


def photo_ppm(path):
    # Gradients with a little texture; 61 distinct rows, cycled.
    rows = []
    for k in range(61):
        row = bytearray(WIDTH * 3)
        for x in range(WIDTH):
            row[3 * x] = (x * 255 // WIDTH + k * 3) & 255
            row[3 * x + 1] = (k * 4 + (x * 7 % 23)) & 255
            row[3 * x + 2] = (255 - x * 255 // WIDTH + (x * k) % 17) & 255
        rows.append(bytes(row))
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
        for y in range(HEIGHT):
            f.write(rows[y % len(rows)])


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def seconds(argv):
    """Wall-clock and processor seconds of one whole run."""
    cpu, start = children_cpu(), time.perf_counter()
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start, children_cpu() - cpu


def report(name, ours, vips):
    line = "%-22s" % name
    for k in (0, 1):
        o, v = statistics.median(r[k] for r in ours), statistics.median(r[k] for r in vips)
        ratios = sorted(a[k] / b[k] for a, b in zip(ours, vips))
        line += "  %7.3f %7.3f %5.2f (%.2f-%.2f)" % (o, v, o / v, ratios[0], ratios[-1])
    print(line, flush=True)


def main():
    convert, work = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    src = os.path.join(work, "in.ppm")
    photo_ppm(src)
    ours_out, vips_out = os.path.join(work, "ours.ppm"), os.path.join(work, "vips.ppm")
    mat = os.path.join(work, "sharpen.mat")
    with open(mat, "w") as f:
        f.write("3 3 16 0\n-1 0 -1\n0 20 0\n-1 0 -1\n")
    cases = [
        ("invert", ["--op", "Negative"], ["invert", src, vips_out]),
        ("mirror", ["--op", "Flip=0"], ["flip", src, vips_out, "horizontal"]),
        ("rotate 90", ["--op", "Rotate=90"], ["rot", src, vips_out, "d270"]),
        ("Lanczos 1600 x 1200", ["--op", "Resample=1600,1200,lanczos3"],
         ["resize", src, vips_out, "0.416667", "--vscale", "0.555556", "--kernel", "lanczos3"]),
        ("sharpen", ["--op", "ApplyFilter=-1,0,-1,0,20,0,-1,0,-1,16"], ["conv", src, vips_out, mat]),
    ]
    print("%-22s  %-31s  %s" % ("", "wall: ours vips ratio (spread)", "processor: ours vips ratio (spread)"))
    for name, ours_args, vips_args in cases:
        ours, vips = [], []
        for _ in range(rounds):
            ours.append(seconds([convert] + ours_args + [src, ours_out]))
            vips.append(seconds(["vips"] + vips_args))
        report(name, ours, vips)
    # Reading and writing alone: a copy.
    ours, vips = [], []
    for _ in range(rounds):
        ours.append(seconds([convert, src, ours_out]))
        vips.append(seconds(["vips", "copy", src, vips_out]))
    report("read and write only", ours, vips)


if __name__ == "__main__":
    main()
