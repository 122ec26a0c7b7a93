#!/usr/bin/env bash
# Key press to the frozen desktop ready for a drag, at 1920 x 1080 and
# 3840 x 2160 on a busy desktop, against the program's own "Get Desktop"
# (key press to picture window shown) and maim -s / scrot -s (start to
# pointer grabbed), in one run; prints medians, spread and ratios.
# Usage: bench/area/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
[ -x "$build/bench/area_probe" ] || { echo "build first: $build/bench/area_probe is missing" >&2; exit 1; }
exec python3 "$here/area_bench.py" "$build/vistrel-pro" "$build/bench/area_probe" "${2:-7}"
