#!/usr/bin/env bash
# Builds the program and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan and runs the whole suite there;
# any sanitizer report fails a test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
use_llvm_symbolizer
build_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLQ_SANITIZE=address,undefined -DTOLQ_BENCH=OFF
# GTK+ 2, GLib and fontconfig keep their caches until exit; only the program's
# own leaks count.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd build-asan
../scripts/with-display ctest --output-on-failure -j "$(nproc)" "$@"
