# shellcheck shell=bash
# Steps the scripts under scripts/ share. Sourced (not run) from the top of
# the source tree; the caller keeps its own set -euo pipefail.

# Installs whatever of the dependencies is missing.
install_deps() {
  scripts/deps.sh
}

# build_tree DIR [CMAKE_ARG...] [-- BUILD_ARG...]
# Configures the tree DIR with the CMake arguments and builds it; what follows
# "--" goes to the build step (e.g. --target NAME).
build_tree() {
  local dir=$1 configure=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    configure+=("$1")
    shift
  done
  [ $# -eq 0 ] || shift
  cmake -S . -B "$dir" "${configure[@]}"
  cmake --build "$dir" -j "$(nproc)" "$@"
}

# stage_tree DIR STAGE
# Installs the built tree DIR under STAGE as it would go to /usr, replacing
# whatever an earlier run left there.
stage_tree() {
  local stage
  stage=$(realpath -m "$2")
  rm -rf "$stage"
  DESTDIR=$stage cmake --install "$1" --prefix /usr >/dev/null
}

# Lets the sanitizers symbolize their stacks when llvm-symbolizer is installed,
# on the PATH or only under a versioned LLVM directory.
use_llvm_symbolizer() {
  local symbolizer
  symbolizer=$(command -v llvm-symbolizer || ls /usr/lib/llvm-*/bin/llvm-symbolizer 2>/dev/null | head -n 1 || true)
  [ -z "$symbolizer" ] || export ASAN_SYMBOLIZER_PATH=$symbolizer
}
