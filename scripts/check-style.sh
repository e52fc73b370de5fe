#!/usr/bin/env bash
# Style checks CI runs: every tracked C++ file formatted as .clang-format
# says, and the agreed clang-tidy checks (.clang-tidy) clean on the C++ files
# a change touches (since QUILLERY_TIDY_BASE, by default the commit before
# HEAD; a merge commit's first parent, so a merged branch is checked whole).
# Usage: scripts/check-style.sh [build-folder with compile_commands.json]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

echo "== formatting"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

echo "== clang-tidy on the files changed since ${QUILLERY_TIDY_BASE:-HEAD~1}"
base=${QUILLERY_TIDY_BASE:-HEAD~1}
# qpdf's headers do not compile with clang 14 against libstdc++ 12, so the
# one file that includes them is left to gcc's warnings.
mapfile -t changed < <(git diff --name-only --diff-filter=AM "$base" -- 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' \
    'fuzz/*.cpp' ':(exclude)src/modules/pdf/PdfOutlineModule.cpp' 2>/dev/null || true)
if [[ ${#changed[@]} -eq 0 ]]; then
    echo "no C++ sources changed"
    exit 0
fi
# The build's precompiled headers are gcc's, which clang cannot read: the
# checks get the same commands without them.
tidy=$(mktemp -d)
trap 'rm -rf "$tidy"' EXIT
python3 - "$build/compile_commands.json" "$tidy/compile_commands.json" <<'PY'
import json, re, sys
entries = json.load(open(sys.argv[1]))
for entry in entries:
    entry["command"] = re.sub(r"\s-include \S*cmake_pch\.hxx|\s-Winvalid-pch", "", entry["command"])
json.dump(entries, open(sys.argv[2], "w"))
PY
status=0
output=$(run-clang-tidy -quiet -p "$tidy" -j "$(nproc)" "${changed[@]/#/$PWD/}" 2>&1) || status=$?
output=$(sed 's/\x1b\[[0-9;]*m//g' <<<"$output")
if [[ $status -ne 0 ]] || grep -qE '(error|warning): ' <<<"$output"; then
    grep -E '(error|warning): ' -A3 <<<"$output" || echo "$output" | tail -n 20
    echo "clang-tidy found the above"
    exit 1
fi
echo "clang-tidy: ${#changed[@]} files clean"
