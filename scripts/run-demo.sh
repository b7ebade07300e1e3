#!/usr/bin/env bash
# Installs the dependencies, builds the program alone (no tests, fuzzers or
# benchmarks, in its own tree build-demo/ so it never disturbs scripts/test.sh's
# build/), and starts it in the sandbox with sample settings files, so trying
# it never touches the real system files.
# On $DISPLAY the window opens there; without a display it runs under a virtual
# one for a few seconds and saves a screenshot (default: tolqsysenv_server.png).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" != 0 ]; then
  echo "run-demo.sh needs root: the sandbox that keeps the real /etc/tolq8 untouched is a" >&2
  echo "private mount namespace, and the program itself runs only for root. Run instead:" >&2
  echo "    sudo scripts/run-demo.sh" >&2
  exit 1
fi
. scripts/lib.sh
top=$PWD
shot=${1:-$top/tolqsysenv_server.png}
install_deps
if [ ! -e build-demo/CMakeCache.txt ]; then
  echo "Building the program in build-demo/: the first build takes about 40 seconds on 2 cores; later runs rebuild only what changed."
fi
log=build-demo/build.log
mkdir -p build-demo
if ! build_tree build-demo -DCMAKE_BUILD_TYPE=Release -DTOLQ_TESTS=OFF -DTOLQ_BENCH=OFF >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "The build failed; the whole output is in $log." >&2
  exit 1
fi
stage_tree build-demo build-demo/stage
etc=$(mktemp -d /tmp/tolq-demo.XXXXXX)
trap 'rm -rf "$etc"' EXIT
cp -r data/samples/etc/. "$etc/"
program=$top/build-demo/stage/usr/bin/tolqsysenv_server
if [ -n "${DISPLAY:-}" ]; then
  exec scripts/sandbox --stage build-demo/stage --etc "$etc" -- "$program"
fi
scripts/with-display bash -c '
  "$1" --stage build-demo/stage --etc "$2" -- "$3" & pid=$!
  sleep 3
  window=$(xwininfo -name TolqSysEnv_Server | awk "/Window id:/ {print \$4}")
  import -window "${window:-root}" "$4"
  kill "$pid"; wait "$pid" 2>/dev/null || true
' _ scripts/sandbox "$etc" "$program" "$shot"
echo "No display: saved a screenshot of the window to $shot"
