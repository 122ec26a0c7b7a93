#!/bin/sh
# Whole vistrel-convert runs against vips on a 3840 x 2160 PPM: builds
# vistrel-convert in the given build directory (default: build-bench next to
# the sources) and runs whole_runs.py.
#   bench/processing/whole_runs.sh [BUILD_DIR] [ROUNDS]
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target vistrel-convert >/dev/null
convert=$(find "$build" -name vistrel-convert -type f -perm -u+x | head -1)
# Files in memory where there is a tmpfs: the disk's write-back is not what
# is measured.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
python3 "$here/whole_runs.py" "$convert" "$work" "${2:-7}"
