#!/usr/bin/env bash
# Prints the size of the tests against the size of the code: non-blank,
# non-comment lines of the C++ files git tracks under tests/ and src/.
# The aim is a quarter to a third; see README.md, "Tests".
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"
count() { git ls-files -- "$@" | grep -E '\.(cpp|h|hpp|cc)$' | xargs -r cat | grep -c -v -E '^\s*(//.*)?$'; }
code=$(count src)
tests=$(count tests)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d / src %d = %.2f\n", t, c, t / c }'
if [ "${1:-}" = "--folders" ]; then
    for folder in $(git ls-files tests | grep -E '\.(cpp|h|hpp|cc)$' | xargs -n1 dirname | sort -u); do
        printf '%6d %s\n' "$(count "$folder/")" "$folder"
    done | sort -rn
fi
