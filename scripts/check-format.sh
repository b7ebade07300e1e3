#!/usr/bin/env bash
# Fails when a tracked C or C++ source is not as clang-format (.clang-format)
# would write it, naming each place; `clang-format -i FILE` fixes it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
install_deps
# The tracked sources; in a copy without git, every source outside the build trees.
sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.c' '*.cc' '*.cpp' '*.h' '*.hpp'
  else
    find . -path './build*' -prune -o -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' \
      -o -name '*.h' -o -name '*.hpp' \) -print0
  fi
}
sources | xargs -0 clang-format --dry-run -Werror
echo "format: clean"
