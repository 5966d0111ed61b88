#!/usr/bin/env bash
# Builds the fuzz programs (clang, libFuzzer, ASan + UBSan) in build-fuzz and runs each for the
# given number of seconds (30 by default) from its seeds in tests/data/fuzz/<name>. A crash, a
# sanitizer report, a hang (one input longer than 10 s) or a memory blow-up fails the run; the
# reproducer is left in build-fuzz/findings/<name>/ to become a test fixture. The inputs follow a
# fixed seed, so a run judges the change and not the dice; KV_FUZZ_SEED=<n> explores elsewhere.
#   scripts/fuzz.sh [seconds] [name...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
jobs="$(nproc)"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKV_FUZZ=ON \
      -DKV_BUILD_APP=OFF -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target kv_fuzz -j"${KV_FUZZ_JOBS:-$jobs}"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  names=(archive stakes ratings regulars prefetch ini combs csv scenario evaluator format systems)
fi
failed=()
for name in "${names[@]}"; do
  work="build-fuzz/corpus/$name"
  findings="build-fuzz/findings/$name"
  mkdir -p "$work" "$findings"
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  if ! UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
       "build-fuzz/fuzz/fuzz_$name" "$work" "tests/data/fuzz/$name" -max_total_time="$seconds" \
       -seed="${KV_FUZZ_SEED:-1}" -timeout=10 -rss_limit_mb=2048 -max_len=8192 -artifact_prefix="$findings/" \
       -print_final_stats=1 \
       >"build-fuzz/fuzz-$name.log" 2>&1; then
    echo "fuzz_$name: FINDING (see build-fuzz/fuzz-$name.log, $findings)"
    tail -40 "build-fuzz/fuzz-$name.log"
    failed+=("$name")
  else
    echo "fuzz_$name: clean for ${seconds}s ($(grep -o 'stat::number_of_executed_units: [0-9]*' "build-fuzz/fuzz-$name.log" | tail -1 || true))"
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz findings in: ${failed[*]}"; exit 1; }
