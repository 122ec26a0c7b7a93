#!/usr/bin/env bash
# Times the screen grab at 1920x1080 and 3840x2160, each on an Xvfb of its
# own with a busy desktop picture, against memcpy, scrot, maim and import;
# then at 1920x1080 on a headless sway against grim.
#   bench/grab/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-30}
bench="$build/bench/grab_bench"
[ -x "$bench" ] && [ -x "$build/bench/wayland_grab_bench" ] ||
  { echo "build first: $bench or wayland_grab_bench is missing" >&2; exit 1; }
work=$(mktemp -d)
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for size in 1920x1080 3840x2160; do
  # -displayfd picks a free display number and reports it once ready.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
  server=$!
  for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  # A picture with detail, so the peers' PNG encoders do real work.
  convert -seed 7 -size "$size" plasma:fractal "$work/desktop.png" 2>/dev/null ||
    convert -size "$size" gradient:red-blue "$work/desktop.png"
  hsetroot -full "$work/desktop.png" >/dev/null
  "$bench" "$rounds"
  echo
  kill "$server"; wait "$server" 2>/dev/null || true
  server=""
  : > "$work/display"
done

# The compositor needs an unprivileged user; the benchmark runs as it too.
python3 "$(dirname "$0")/sway_run.py" "$build/bench/wayland_grab_bench" "$rounds"
