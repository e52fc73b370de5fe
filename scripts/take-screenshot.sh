#!/usr/bin/env bash
# Takes the screenshot that software centres show (data/screenshots/book.png):
# Quillery on a virtual X display, with a home folder of its own and a first
# page filled with a few example tasks.
# Usage: scripts/take-screenshot.sh [build-folder] [output.png]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb-session.sh"
build=$(cd "${1:-$here/../build}" && pwd)
output=$(realpath -m "${2:-$here/../data/screenshots/book.png}")

if [[ -z ${QUILLERY_UNDER_XVFB:-} ]]; then
    [[ -x $build/bin/quillery ]] || { echo "no program at $build/bin/quillery (make build first)" >&2; exit 1; }
    quillery_rerun_under_xvfb "$0" "$build" "$output"
    exit
fi
quillery_display_started

work=$(mktemp -d)
pid=
trap '[[ -z $pid ]] || kill -KILL "$pid" 2>/dev/null; rm -rf "$work"' EXIT
quillery_isolate "$work"
export TZ=UTC
export LANGUAGE=en
if locale -a 2>/dev/null | grep -qi '^en_US.utf-\?8$'; then
    export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
fi
book=$XDG_DATA_HOME/Quillery/book.sqlite

start() {
    "$build/bin/quillery" >>"$work/quillery.log" 2>&1 &
    pid=$!
    window=$(quillery_wait_window "$pid" 90) || { cat "$work/quillery.log" >&2; exit 1; }
}
stop() {
    quillery_stop "$pid" 10 || exit 1
    [[ $QUILLERY_EXIT_STATUS == 0 ]] || { echo "Quillery ended with status $QUILLERY_EXIT_STATUS" >&2; exit 1; }
}

# The first start makes the book (and its first page).
start
stop

uuid() { tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid; }
now=$(($(date +%s) * 1000))
day=$((24 * 3600 * 1000))
page=$(sqlite3 "$book" 'SELECT id FROM page ORDER BY position LIMIT 1')
if [[ -z $page ]]; then
    page=$(uuid)
    sqlite3 "$book" "INSERT INTO page (id, position, color_index, created, modified) VALUES ('$page', 1, 0, $now, $now)"
fi
task() { # text done indent order [due]
    sqlite3 "$book" "INSERT INTO task (id, text, done, indent, sort_order, created, modified, page_id, due)
                     VALUES ('$(uuid)', '$1', $2, $3, $4, $now, $now, '$page', ${5:-NULL})"
}
sqlite3 "$book" "UPDATE page SET title = 'This week', modified = $now WHERE id = '$page'"
task 'Pick up the film photos' 1 0 1
task 'Call the dentist' 0 0 2 $((now + day))
task 'Groceries for Saturday' 0 0 3 $((now + 2 * day))
task 'Lemons and basil' 0 1 4
task 'Sparkling water' 1 1 5
task 'Return the library books' 0 0 6
task 'Plan the garden weekend' 0 0 7

start
mkdir -p "$(dirname "$output")"
quillery_grab_settled "$window" "$work/shot.png" 20
stop
# No timestamps or other changing metadata: the same picture is the same file.
convert "$work/shot.png" -strip "$output"
echo "wrote $output ($(identify -format '%wx%h' "$output"))"
