#!/usr/bin/env bash
# Regenerates the README's screenshots in docs/images/ (needs root for the sandbox).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
top=$PWD
install_deps
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage_tree build build/stage
mkdir -p docs/images
TOLQ_STAGE=$top/build/stage TOLQ_SCRIPTS=$top/scripts \
  scripts/with-display scripts/a11y-session /usr/bin/python3 -W ignore scripts/screenshots.py "$top/docs/images"
ls -l docs/images
