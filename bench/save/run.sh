#!/usr/bin/env bash
# Time from the hotkey press to the complete PNG file, against scrot and maim
# capturing the same desktop to PNG, and the PNG save of that screenshot
# against ImageMagick's, in one run.
# Usage: bench/save/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
cmake --build "$build" --target vistrel-pro formats_bench > /dev/null
bench=$(find "$build" -name formats_bench -type f -perm -u+x | head -1)
exec python3 "$here/hotkey_to_file.py" "$build/vistrel-pro" "${2:-15}" "$bench"
