#!/usr/bin/env bash
# Builds every libFuzzer target with clang, ASan and UBSan in build-fuzz and runs
# each for a bounded time (FUZZ_SECONDS, default 60) from its seed corpus in the
# repository. A crash fails the run; its input is kept in build-fuzz/artifacts/.
# The campaigns start from a fixed seed (FUZZ_SEED, default 1) so that a run
# can be repeated; FUZZ_SEED=0 lets libFuzzer pick one.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
use_llvm_symbolizer
seconds=${FUZZ_SECONDS:-60}
seed=${FUZZ_SEED:-1}
CC=clang CXX=clang++ build_tree build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLQ_FUZZ=ON -DTOLQ_SANITIZE=address,undefined -DTOLQ_BENCH=OFF -- --target fuzzers
mkdir -p build-fuzz/artifacts
failed=()
for fuzzer in build-fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$fuzzer" _fuzz)
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$name/." "$work/"
  echo "== fuzzing $name for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$fuzzer" -max_total_time="$seconds" -seed="$seed" -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name-" "$work" \
      > "build-fuzz/artifacts/$name.log" 2>&1; then
    failed+=("$name")
    tail -n 40 "build-fuzz/artifacts/$name.log"
  else
    grep -E '^stat::number_of_executed_units|Done [0-9]+ runs' "build-fuzz/artifacts/$name.log" | tail -n 1
  fi
  rm -rf "$work"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found crashes in: ${failed[*]} (inputs in build-fuzz/artifacts/)"
  exit 1
fi
echo "fuzzing: no crashes"
