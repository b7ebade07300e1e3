#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian and its desktop entry with
# desktop-file-validate (either failing fails the script), and runs the
# end-to-end suite against its contents (unpacked, then mounted by the sandbox
# at the system paths), so the files the package installs are the ones tested.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
top=$PWD
install_deps
build_tree build-pkg -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTOLQ_TESTS=OFF -DTOLQ_BENCH=OFF
rm -f build-pkg/*.deb
(cd build-pkg && cpack -G DEB)
deb=$(ls build-pkg/tolqsysenv-server_*.deb)
dpkg-deb -I "$deb" | grep -E '^ (Package|Version|Depends):'
rm -rf build-pkg/unpacked && dpkg-deb -x "$deb" build-pkg/unpacked
# Warnings fail too: the package's overrides explain the ones it accepts.
lintian --fail-on error,warning "$deb"
desktop-file-validate build-pkg/unpacked/usr/share/applications/tolqsysenv_server.desktop
# The tests' own helper that sends a window the close request: one file, so
# compiled here rather than in a second tree configured with the tests on.
x11=$(pkg-config --cflags --libs x11)
# shellcheck disable=SC2086 # one word per flag
"${CXX:-c++}" -std=c++17 -O2 -Wall -Wextra -o build-pkg/close_window tests/support/close_window.cpp $x11
export TOLQ_STAGE=$top/build-pkg/unpacked TOLQ_SCRIPTS=$top/scripts
export TOLQ_CLOSE_WINDOW=$top/build-pkg/close_window PYTHONDONTWRITEBYTECODE=1
failed=0
for test in tests/e2e/test_*.py; do
  echo "== $test"
  scripts/with-display scripts/a11y-session /usr/bin/python3 -W ignore "$test" || failed=1
done
exit $failed
