#!/bin/sh
# The recipe batch against ImageMagick, then hotkey-to-file with that recipe
# stored against none. Usage: bench/recipe/run.sh [BUILD_DIR] [ROUNDS]
# (default build: build-bench next to the sources, Release).
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_recipe vistrel-pro >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_recipe" "$work"
python3 "$here/hotkey_with_recipe.py" "$build/vistrel-pro" "${2:-15}"
