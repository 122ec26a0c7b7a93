#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in the background.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target vistrel-pro
nohup build/vistrel-pro >/dev/null 2>&1 &
echo "Vistrel-Pro runs: its icon is in the notification area (build/vistrel-pro /C ends it)."
