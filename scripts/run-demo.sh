#!/usr/bin/env bash
# Installs the dependencies, builds, and starts the program in the sandbox with
# sample settings files, so trying it never touches the real system files.
# On $DISPLAY the window opens there; without a display it runs under a virtual
# one for a few seconds and saves a screenshot (default: tolqsysenv_server.png).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
top=$PWD
shot=${1:-$top/tolqsysenv_server.png}
install_deps
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage_tree build build/stage
etc=$(mktemp -d /tmp/tolq-demo.XXXXXX)
trap 'rm -rf "$etc"' EXIT
cp -r data/samples/etc/. "$etc/"
program=$top/build/stage/usr/bin/tolqsysenv_server
if [ -n "${DISPLAY:-}" ]; then
  exec scripts/sandbox --stage build/stage --etc "$etc" -- "$program"
fi
scripts/with-display bash -c '
  "$1" --stage build/stage --etc "$2" -- "$3" & pid=$!
  sleep 3
  window=$(xwininfo -name TolqSysEnv_Server | awk "/Window id:/ {print \$4}")
  import -window "${window:-root}" "$4"
  kill "$pid"; wait "$pid" 2>/dev/null || true
' _ scripts/sandbox "$etc" "$program" "$shot"
echo "No display: saved a screenshot of the window to $shot"
