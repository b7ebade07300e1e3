#!/usr/bin/env bash
# Counts, with valgrind's callgrind, the instructions the program and the
# Japanese form run from exec until they enter the main loop (their windows
# are then mapped), in the sandbox with the sample settings files. Unlike the
# start-up benchmark's times, the counts do not depend on the machine's load.
# Needs root (the sandbox) and valgrind. Uses the Release build of bench.sh.
#   scripts/startup-instructions.sh [OUT_DIR]   (profiles kept in OUT_DIR)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
out=$(realpath -m "${1:-build-bench/callgrind}")
command -v valgrind >/dev/null || { echo "startup-instructions: valgrind is not installed" >&2; exit 77; }
if [ -z "${TOLQ_ON_DISPLAY:-}" ]; then
  install_deps >/dev/null
  build_tree build-bench -DCMAKE_BUILD_TYPE=Release -DTOLQ_TESTS=OFF >/dev/null
  stage_tree build-bench build-bench/stage
  mkdir -p "$out"
  TOLQ_ON_DISPLAY=1 exec scripts/with-display "$0" "$out"
fi

# count NAME COMMAND...: the instructions before gtk_main, from the first dump.
count() {
  local name=$1 etc pid
  shift
  etc=$(mktemp -d /tmp/tolq-instructions.XXXXXX)
  cp -r data/samples/etc/. "$etc"
  rm -f "$out/$name".*
  setsid scripts/sandbox --stage build-bench/stage --etc "$etc" -- \
    valgrind --tool=callgrind --dump-before=gtk_main --callgrind-out-file="$out/$name" "$@" \
    >"$out/$name.log" 2>&1 &
  pid=$!
  for _ in $(seq 600); do
    [ -s "$out/$name.1" ] && break
    sleep 0.2
  done
  sleep 1  # the dump is written whole
  kill -TERM -- "-$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$etc"
  [ -s "$out/$name.1" ] || { echo "startup-instructions: $name did not reach its main loop" >&2; exit 1; }
  callgrind_annotate "$out/$name.1" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}'
}

program=$(count program build-bench/stage/usr/bin/tolqsysenv_server)
form=$(count form build-bench/bench/minimal_window --form)
awk -v p="$program" -v f="$form" 'BEGIN {
  printf "program %.1f M instructions, Japanese form %.1f M: %.3fx\n", p / 1e6, f / 1e6, p / f }'
echo "profiles: $out/program.1 $out/form.1 (callgrind_annotate --inclusive=yes)"
