#!/usr/bin/env bash
# Runs every reader fuzzer for a while, starting from files our writers
# make and the regression files of tests/fuzz/corpus/READER/. Crashes land
# in the fuzz build folder.
#   tests/fuzz/run.sh BUILD_DIR [SECONDS_PER_FUZZER]
set -euo pipefail
build=${1:?build folder with -DVISTREL_FUZZ=ON}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
out="$build/fuzz-findings"
mkdir -p "$out"
"$build/fuzz_make_seeds" "$build/fuzz-seeds" 2>/dev/null || "$build/tests/fuzz_make_seeds" "$build/fuzz-seeds"
for fuzzer in "$build"/tests/fuzz_* "$build"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  [[ "$fuzzer" == *fuzz_make_seeds ]] && continue
  name=$(basename "$fuzzer")
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  inputs=("$corpus")
  [ -d "$here/corpus/${name#fuzz_}" ] && inputs+=("$here/corpus/${name#fuzz_}")
  [ -d "$build/fuzz-seeds/$name" ] && cp -n "$build/fuzz-seeds/$name"/* "$corpus"/ 2>/dev/null || true
  # libemf2svg and libwmf leak on damaged files; that is theirs, not ours,
  # so leaks are not findings there (neither per input nor at exit).
  leaks=1
  [[ "$name" == fuzz_emf || "$name" == fuzz_wmf ]] && leaks=0
  echo "== $name"
  ASAN_OPTIONS=detect_leaks=$leaks "$fuzzer" "${inputs[@]}" -max_total_time="$seconds" -rss_limit_mb=4096 -malloc_limit_mb=2048 \
    -detect_leaks=$leaks -timeout=20 -artifact_prefix="$out/$name-" -print_final_stats=1 2>&1 | grep -E 'ERROR|SUMMARY|stat::number_of_executed_units|Done' || true
done
