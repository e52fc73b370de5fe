#!/usr/bin/env bash
# Runs the store's fault tests (damaged books with and without a write-ahead
# log, full disks) and prints what they recorded as Markdown tables: the
# digests of the book and its log before and after, and what survived.
# Usage: scripts/store-fault-table.sh [build-folder]
set -euo pipefail
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
"$build/tests/test_core_model" --gtest_filter='*DamagedBook*' \
    --gtest_output="xml:$out/core.xml" >/dev/null 2>&1 || true
"$build/tests/test_app" --gtest_filter='*DiskFull*' --gtest_output="xml:$out/app.xml" >/dev/null 2>&1 || true

# One line per test case: its name, passed/FAILED, then name=value for each
# recorded property.
cases() {
    awk '
        /<testcase / { match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7); props = ""; ok = "passed" }
        /<failure/ { ok = "FAILED" }
        /<property / {
            match($0, /name="[^"]*"/); key = substr($0, RSTART + 6, RLENGTH - 7)
            match($0, /value="[^"]*"/); value = substr($0, RSTART + 7, RLENGTH - 8)
            props = props "\t" key "=" value
        }
        /<\/testcase>/ { print name "\t" ok props }
    ' "$@"
}
short() { printf '%s' "${1:0:16}"; }

echo "| # | Damaged book | Log | Result | book sha256 before | after | -wal sha256 before | after |"
echo "|---|---|---|---|---|---|---|---|"
n=0
while IFS=$'\t' read -r name ok rest; do
    declare -A p=()
    IFS=$'\t' read -ra fields <<<"$rest"
    for f in "${fields[@]}"; do p[${f%%=*}]=${f#*=}; done
    case=${name#*/}
    n=$((n + 1))
    echo "| $n | ${case%_with*} | ${case##*_} | $ok | $(short "${p[book_sha256_before]}") | $(short "${p[book_sha256_after]}") | $(short "${p[wal_sha256_before]}") | $(short "${p[wal_sha256_after]}") |"
    unset p
done < <(cases "$out/core.xml" | grep '^isRefused')

echo
echo "| # | Full disk | Result | book sha256 when full | after it ended | lines of the book → after restart | journal | exit |"
echo "|---|---|---|---|---|---|---|---|"
n=0
while IFS=$'\t' read -r name ok rest; do
    declare -A p=()
    IFS=$'\t' read -ra fields <<<"$rest"
    for f in "${fields[@]}"; do p[${f%%=*}]=${f#*=}; done
    n=$((n + 1))
    echo "| $n | ${p[case]} (${p[disk]}) | $ok | $(short "${p[book_sha256_full]}") | $(short "${p[book_sha256_after_exit]}") | ${p[lines_typed]} → ${p[lines_after_restart]} | ${p[journal]:-none} | ${p[exit_status]:-} |"
    unset p
done < <(cases "$out/app.xml")
