#!/usr/bin/env bash
# Builds the reader fuzzers (clang, AddressSanitizer, libFuzzer) in
# build-fuzz/ and runs each of them for SECONDS, starting from the
# regression corpus tests/fuzz/corpus/READER/. Findings land in
# build-fuzz/fuzz-findings/; copy each one into the corpus folder.
#   tools/fuzz.sh [SECONDS_PER_FUZZER]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
flags="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer"
CC=clang CXX=clang++ CFLAGS="$flags" CXXFLAGS="$flags" \
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTREL_FUZZ=ON >/dev/null
targets=$(sed -n 's/^set(fuzz_readers \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt | tr 'A-Z ' 'a-z\n' | sed 's/^/fuzz_/')
cmake --build build-fuzz -j2 --target fuzz_make_seeds $targets
exec tests/fuzz/run.sh build-fuzz "$seconds"
