#!/usr/bin/env python3
"""Makes the software-centre screenshot app/dist/screenshots/picture-window.png:
the program on a private Xvfb desktop, a Print Screen capture, the picture
window cut out. Needs a built build/vistrel-pro (VISTREL_PRO names another)."""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.environ.setdefault("VISTREL_PRO", os.path.join(ROOT, "build", "vistrel-pro"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import desktop as d  # noqa: E402

OUT = os.path.join(ROOT, "app", "dist", "screenshots", "picture-window.png")


def main():
    dk = d.Desktop(1024, 640, window_manager=True, tray=True)
    try:
        background = os.path.join(dk.folder, "background.png")
        subprocess.run(
            ["convert", "-size", "1024x640", "gradient:#3a6ea5-#0b2545",
             "-fill", "#f0f0f0", "-stroke", "#202020", "-draw", "rectangle 80,70 560,400",
             "-fill", "#2d5a88", "-draw", "rectangle 80,70 560,95",
             "-fill", "#ffd34d", "-stroke", "none", "-draw", "circle 320,240 320,180",
             "-fill", "#c0392b", "-draw", "rectangle 620,160 900,420",
             "-fill", "#27ae60", "-draw", "polygon 660,400 760,200 860,400", background],
            check=True)
        dk.run(["hsetroot", "-full", background], check=True)
        d.Program(dk).wait_resident()
        dk.run(["xdotool", "key", "Print"], check=True)
        window = d.wait_until(lambda: d.windows_named(dk, d.PICTURE_WINDOW),
                              what="the picture window")[0]
        shot = os.path.join(dk.folder, "shot.png")
        previous = [None]

        def painted():
            # Two equal grabs in a row: the window has finished painting.
            grab = subprocess.run(["import", "-frame", "-window", window, "png:-"], env=dk.env,
                                  capture_output=True, timeout=d.DEADLINE).stdout
            same = grab and grab == previous[0]
            previous[0] = grab
            return same

        d.wait_until(painted, what="the window to finish painting")
        with open(shot, "wb") as f:
            f.write(previous[0])
        subprocess.run(["convert", shot, "-strip", "-define", "png:compression-level=9", OUT],
                       check=True)
        print(OUT)
    finally:
        dk.close()


if __name__ == "__main__":
    main()
