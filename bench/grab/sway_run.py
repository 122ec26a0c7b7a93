"""Runs wayland_grab_bench on a headless sway of one 1920 x 1080 output,
as the unprivileged user the compositor needs.
    python3 bench/grab/sway_run.py BENCH ROUNDS"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e"))
from sway_desktop import SwayDesktop, missing_tools  # noqa: E402

if missing_tools():
    sys.exit("no headless sway here: missing " + ", ".join(missing_tools()))
desktop = SwayDesktop([(1920, 1080)])
try:
    done = desktop.run([desktop.reachable(sys.argv[1]), sys.argv[2]], check=False)
    sys.stdout.write(done.stdout.decode())
    sys.stderr.write(done.stderr.decode())
finally:
    desktop.close()
