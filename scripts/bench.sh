#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them all, printing each one's figures:
# the convdrc and tolqhosts file layers beside a plain line copy, filling the
# dictionary list, and start-up time and memory beside minimal GTK+ 2 windows,
# the Japanese form among them run in turn with the program.
# Needs root (the start-up benchmark runs the program in the sandbox).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
top=$PWD
install_deps >/dev/null
build_tree build-bench -DCMAKE_BUILD_TYPE=Release -DTOLQ_TESTS=OFF >/dev/null
stage_tree build-bench build-bench/stage
echo "== $(date -u +%Y-%m-%d) on $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
for bench in build-bench/bench/*_bench; do
  echo "== $(basename "$bench")"
  TOLQ_STAGE=$top/build-bench/stage TOLQ_SOURCE=$top scripts/with-display "$bench" --benchmark_counters_tabular=true
done
