#!/usr/bin/env bash
# Builds the Debian package in a clean release build folder (build-deb/) and
# prints where it is: install it with `apt install ./build-deb/vistrel-pro_*.deb`.
# Checking it: `lintian build-deb/vistrel-pro_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

out=build-deb
rm -rf "$out"
# Debian's release flags with every hardening option; CMake reads no
# CPPFLAGS, so the preprocessor's (fortified functions) join the compilers'.
# cpack strips the binaries.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CFLAGS="$CPPFLAGS $CFLAGS" CXXFLAGS="$CPPFLAGS $CXXFLAGS"
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DVISTREL_GZIP_MANPAGES=ON
# Only what the package holds, not the tests and benchmarks.
cmake --build "$out" -j"$(nproc)" --target vistrel-pro vistrel-convert vistrel_dist vistrel_changelog
(cd "$out" && cpack -G DEB)
ls "$out"/vistrel-pro_*.deb
