#!/usr/bin/env bash
# Checks that a translation catalogue is complete for the sources as they are
# now: brings a copy of it in step with src/ (as `make` does with lupdate),
# then has lrelease count what is left without a translation. Lists every
# such text and fails when there is one.
# Usage: scripts/check-translations.sh <catalogue.ts> [lupdate] [lrelease]
set -euo pipefail
cd "$(dirname "$0")/.."
catalogue=$1
lupdate=${2:-/usr/lib/qt6/bin/lupdate}
lrelease=${3:-/usr/lib/qt6/bin/lrelease}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy=$work/$(basename "$catalogue")
cp "$catalogue" "$copy"
"$lupdate" -silent -no-obsolete -locations none -source-language en src -ts "$copy" >/dev/null 2>&1
report=$("$lrelease" "$copy" -qm "$work/out.qm" 2>&1)

# The texts lupdate left unfinished: their English, one a line.
missing=$(awk '
    /<source>/ { source = $0; sub(/.*<source>/, "", source); collecting = 1 }
    collecting && !/<source>/ { source = source " " $0 }
    /<\/source>/ { sub(/<\/source>.*/, "", source); collecting = 0 }
    /<translation[^>]*type="unfinished"/ { print "  " source }
' "$copy")
if [[ -n $missing ]] || grep -qE 'unfinished|untranslated' <<<"$(grep -E '[1-9][0-9]* unfinished|Ignored [1-9]' <<<"$report" || true)"; then
    echo "$(basename "$catalogue"): texts without a translation:" >&2
    echo "${missing:-  (see lrelease: $report)}" >&2
    exit 1
fi
echo "$(basename "$catalogue"): complete ($report)"
