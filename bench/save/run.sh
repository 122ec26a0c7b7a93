#!/usr/bin/env bash
# Time from the hotkey press to the complete PNG file, against scrot and maim
# capturing the same desktop to PNG, in one run.
# Usage: bench/save/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
exec python3 "$here/hotkey_to_file.py" "$build/vistrel-pro" "${2:-15}"
