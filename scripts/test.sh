#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
cd build
scripts=../scripts
"$scripts/with-display" ctest --output-on-failure -j "$(nproc)" "$@"
