#!/usr/bin/env bash
# Regenerates the README's screenshots in docs/images/ (needs root for the sandbox).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
rm -rf build/stage && DESTDIR=$top/build/stage cmake --install build --prefix /usr >/dev/null
mkdir -p docs/images
TOLQ_STAGE=$top/build/stage TOLQ_SCRIPTS=$top/scripts \
  scripts/with-display scripts/a11y-session /usr/bin/python3 -W ignore scripts/screenshots.py "$top/docs/images"
ls -l docs/images
