#!/bin/sh
# Editing speed in the real window on a private Xvfb against vips and
# ImageMagick: builds the benchmark in the given build directory (default:
# build-bench next to the sources) and runs it.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_editing >/dev/null
work=$(mktemp -d)
exec 3<>"$work/display"
Xvfb -screen 0 3840x2160x24 -displayfd 3 -noreset -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
while [ ! -s "$work/display" ]; do sleep 0.1; done
DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb "$build/bench/bench_editing" "$work"
