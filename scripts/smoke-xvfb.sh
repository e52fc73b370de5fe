#!/usr/bin/env bash
# Smoke test of the built program on a real (virtual) X display:
#   1. starts Quillery with an empty home folder, waits for its window, sends
#      SIGTERM and expects a clean exit (status 0) within a few seconds;
#   2. checks the book: it passes SQLite's integrity check and holds a page;
#   3. starts Quillery again on that book, grabs the window and checks it
#      shows the page: much of it that page's paper colour (paper under the
#      page colour's tint, as src/gui/theme and src/core/theme define them) and not one flat
#      colour; then stops it the same way and checks the page is still there.
# Usage: scripts/smoke-xvfb.sh [build-folder]   (the picture is kept in
# <build-folder>/smoke/window.png)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb-session.sh"
build=$(cd "${1:-$here/../build}" && pwd)

if [[ -z ${QUILLERY_UNDER_XVFB:-} ]]; then
    for tool in xvfb-run xwininfo import compare identify convert sqlite3 dbus-run-session; do
        command -v "$tool" >/dev/null || { echo "smoke: $tool is missing (scripts/setup-debian.sh installs it)" >&2; exit 1; }
    done
    [[ -x $build/bin/quillery ]] || { echo "smoke: no program at $build/bin/quillery" >&2; exit 1; }
    quillery_rerun_under_xvfb "$0" "$build"
    exit
fi
quillery_display_started

# Generous limits: CI machines are small and busy, and a fresh home means
# fontconfig builds its cache at the first start.
WINDOW_TIMEOUT=90
SETTLE_TIMEOUT=20
EXIT_TIMEOUT=10
MIN_PAPER_SHARE=0.35

work=$(mktemp -d)
running=
# A program left running by a failed check goes before the display does.
trap '[[ -z $running ]] || kill -KILL "$running" 2>/dev/null; rm -rf "$work"' EXIT
quillery_isolate "$work"
out=$build/smoke
mkdir -p "$out"
: >"$out/quillery.log"
book=$XDG_DATA_HOME/Quillery/book.sqlite
fail() {
    echo "smoke: FAILED: $*" >&2
    [[ -s $out/quillery.log ]] && { echo "--- program output" >&2; tail -n 40 "$out/quillery.log" >&2; }
    exit 1
}

# The paper of a page of colour index $1, one "red green blue" line for the
# light scheme and one for the dark: paper under the page colour's tint
# (none for slate).
paper_colours() {
    local index=$1 theme=$here/../src/gui/theme core=$here/../src/core/theme
    local papers opacity hex tints=()
    papers=$(grep -A1 'case ThemeColor::Paper:' "$theme/ThemeColors.cpp" | grep -o 'QColor([0-9, ]*)' | tr -dc '0-9,\n')
    opacity=$(grep -A2 '^double tintOpacity(ColorScheme' "$theme/ThemeColors.cpp" | grep -o '[0-9]\.[0-9]*' | tr '\n' ' ')
    for hex in $(grep -o '0x[0-9A-Fa-f]\{6\}' "$core/Palette.cpp"); do
        tints+=("$((hex >> 16 & 255)),$((hex >> 8 & 255)),$((hex & 255))")
    done
    [[ $(wc -l <<<"$papers") -eq 2 && $(wc -w <<<"$opacity") -eq 2 && ${#tints[@]} -eq 7 ]] \
        || fail "cannot read the paper colours from $theme"
    index=$(((index % 7 + 7) % 7))
    # In the source the dark variant comes first, then the light one.
    awk -v papers="$(tr '\n' ' ' <<<"$papers")" -v opacity="$opacity" -v tint="${tints[$index]}" \
        -v slate=$((index == 6)) 'BEGIN {
        split(papers, paper, " "); split(opacity, alpha, " "); split(tint, t, ",")
        for (s = 2; s >= 1; s--) {
            split(paper[s], p, ",")
            a = slate ? 0 : alpha[s]
            printf "%d %d %d\n", p[1] * (1 - a) + t[1] * a + 0.5, p[2] * (1 - a) + t[2] * a + 0.5, p[3] * (1 - a) + t[3] * a + 0.5
        }
    }'
}

# Prints "<paper share> <distinct colours>" for picture $1 and the paper
# colours $2. The grain moves most paper pixels by a few levels only.
measure() {
    convert "$1" -alpha off -depth 8 -format %c histogram:info:- \
        | awk -v colours="$2" '
            BEGIN {
                n = split(colours, rows, "\n")
                for (i = 1; i <= n; i++) { split(rows[i], c, " "); r[i] = c[1]; g[i] = c[2]; b[i] = c[3] }
            }
            {
                count = $1 + 0
                if (!match($0, /\( *[0-9.]+, *[0-9.]+, *[0-9.]+/)) next
                split(substr($0, RSTART + 1, RLENGTH - 1), rgb, ",")
                total += count; distinct++
                for (i = 1; i <= n; i++) {
                    if (abs(rgb[1] - r[i]) <= 8 && abs(rgb[2] - g[i]) <= 8 && abs(rgb[3] - b[i]) <= 8) {
                        paper += count; break
                    }
                }
            }
            function abs(x) { return x < 0 ? -x : x }
            END { printf "%.3f %d\n", total ? paper / total : 0, distinct }'
}

# Starts the program, waits for its window (grabbing it when $2 says so),
# stops it with SIGTERM and checks it ended well and left a sound book.
run_once() {
    local round=$1 grab=${2:-}
    "$build/bin/quillery" >>"$out/quillery.log" 2>&1 &
    local pid=$!
    running=$pid
    local window
    window=$(quillery_wait_window "$pid" "$WINDOW_TIMEOUT") || fail "round $round: no window"
    echo "smoke: round $round: window $window"
    if [[ -n $grab ]]; then
        quillery_grab_settled "$window" "$grab" "$SETTLE_TIMEOUT" || fail "cannot grab the window"
    else
        # A new book gets its first page a moment after the window opens.
        local waited=0
        until [[ -f $book && -n $(sqlite3 "$book" 'SELECT id FROM page LIMIT 1' 2>/dev/null) ]]; do
            (( waited++ < SETTLE_TIMEOUT * 5 )) || break
            sleep 0.2
        done
    fi
    quillery_stop "$pid" "$EXIT_TIMEOUT" || fail "round $round: no exit within ${EXIT_TIMEOUT}s of SIGTERM"
    running=
    [[ $QUILLERY_EXIT_STATUS == 0 ]] || fail "round $round: exit status $QUILLERY_EXIT_STATUS after SIGTERM"
    [[ -f $book ]] || fail "round $round: no book at $book"
    local integrity
    integrity=$(sqlite3 "$book" 'PRAGMA integrity_check') || fail "round $round: sqlite3 cannot open the book"
    [[ $integrity == ok ]] || fail "round $round: integrity check says: $integrity"
}

run_once 1
pages=$(sqlite3 "$book" 'SELECT id FROM page ORDER BY id')
[[ -n $pages ]] || fail "the book holds no page after the first start"

run_once 2 "$out/window.png"
after=$(sqlite3 "$book" 'SELECT id FROM page ORDER BY id')
missing=$(comm -23 <(echo "$pages") <(echo "$after"))
[[ -z $missing ]] || fail "pages lost between two starts: $missing"

# The window shows one of the book's pages (the one it reopened).
colours=$(for index in $(sqlite3 "$book" 'SELECT DISTINCT color_index FROM page'); do paper_colours "$index"; done)
read -r share distinct < <(measure "$out/window.png" "$colours")
echo "smoke: $(identify -format '%wx%h' "$out/window.png") picture, paper $share of it, $distinct colours"
awk -v s="$share" -v m="$MIN_PAPER_SHARE" 'BEGIN { exit !(s >= m) }' \
    || fail "the window does not show a page: its paper covers $share of it (at least $MIN_PAPER_SHARE expected); see $out/window.png"
((distinct >= 8)) || fail "the window is blank ($distinct colours); see $out/window.png"
echo "smoke: passed ($(wc -l <<<"$after") page(s) in the book)"
