#!/usr/bin/env bash
# The print pass against lp, both to a private CUPS's cups-pdf queue.
# Usage: bench/print/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
exec python3 "$here/run.py" "$build" "${2:-5}"
