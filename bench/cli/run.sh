#!/usr/bin/env bash
# A whole `vistrel-pro --capture desktop --output x.png` run (with a running
# copy, and alone) against `scrot x.png` and `maim x.png`, at 1920 x 1080 on
# a busy desktop, in one run; prints medians, spread and ratios.
# Usage: bench/cli/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
[ -x "$build/vistrel-pro" ] || { echo "build first: $build/vistrel-pro is missing" >&2; exit 1; }
exec python3 "$here/cli_bench.py" "$build/vistrel-pro" "${2:-15}"
