#!/usr/bin/env bash
# Builds and runs the picture file benchmark against ImageMagick.
#   bench/formats/run.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target formats_bench > /dev/null
bench=$(find "$build" -name formats_bench -type f -perm -u+x | head -1)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" "$work"
