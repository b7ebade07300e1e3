#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the program's own sources
# (not tests/ or bench/), as build/ compiles them (its compile_commands.json).
# Any finding fails, a new mutable global's too; those are also listed in
# build/tidy-globals.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
install_deps
# The generated headers must exist, so the tree is built.
build_tree build -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
log=build/tidy.log
python3 - "$PWD" build/compile_commands.json > build/tidy-files <<'PY'
import json, os, sys
top = os.path.join(sys.argv[1], "")
for entry in json.load(open(sys.argv[2])):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    rel = path[len(top):] if path.startswith(top) else None
    if rel and not rel.startswith(("tests/", "bench/", "build")):
        print(path)
PY
status=0
tr '\n' '\0' < build/tidy-files |
  xargs -0 -n 2 -P "$(nproc)" clang-tidy -p build --quiet > "$log" 2> build/tidy.err || status=$?
# A global that must stay says why in a NOLINT comment; any other is a finding.
globals=$({ grep -E '^[^ ]+: (warning|error): .*\[cppcoreguidelines-avoid-non-const-global-variables' \
  "$log" || true; } | sort -u | tee build/tidy-globals | wc -l)
echo "tidy: $(wc -l < build/tidy-files) files; $globals mutable globals without a reason (build/tidy-globals)"
if [ "$status" -ne 0 ]; then
  grep -E '^[^ ]+: error: ' "$log" | sort -u || cat build/tidy.err
  echo "tidy: findings above"
  exit 1
fi
echo "tidy: clean"
