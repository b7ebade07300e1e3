#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
install_deps
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd build
../scripts/with-display ctest --output-on-failure -j "$(nproc)" "$@"
