#!/usr/bin/env bash
# What the real program costs over a book: the time from its exec to its
# window being mapped (under Xvfb, no window manager), the number of shared
# objects it has mapped, and its resident (RSS) and proportional (PSS) memory
# once it has settled. Each run gets a fresh home folder and a private session
# bus; the medians are printed last.
#   --background  start it as `quillery --background` (no window at all)
#   --closed      show the window, close it after 2 s (as the window
#                 manager's close button does) and measure the process left
#                 running for its reminders
#   --tasks N     a book of N tasks, 100 to a page (empty unless told)
# Usage: bench/start-footprint.sh [--background|--closed] [--tasks N] [build-folder] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=window
tasks=0
options=()
while [[ ${1:-} == --* ]]; do
    case $1 in
    --background) mode=background ;;
    --closed) mode=closed ;;
    --tasks)
        tasks=$2
        options+=("$1")
        shift
        ;;
    *)
        echo "unknown option $1" >&2
        exit 2
        ;;
    esac
    options+=("$1")
    shift
done
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-5}
source "$here/../scripts/xvfb-session.sh"

if [[ -z ${QUILLERY_UNDER_XVFB:-} ]]; then
    quillery_rerun_under_xvfb "$0" "${options[@]}" "$build" "$runs"
    exit
fi
quillery_display_started

root=$(mktemp -d)
pid=
stop() {
    [[ -n $pid ]] || return 0
    kill -TERM "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    pid=
}
trap 'stop; rm -rf "$root"' EXIT

# The book every run starts from: made by the program itself, then filled.
template=$root/template
if ((tasks > 0)); then
    quillery_isolate "$template"
    QT_QPA_PLATFORM=offscreen "$build/bin/quillery" --background >/dev/null 2>&1 &
    pid=$!
    until [[ -s $XDG_DATA_HOME/Quillery/book.sqlite ]]; do sleep 0.1; done
    sleep 1
    stop
    sqlite3 "$XDG_DATA_HOME/Quillery/book.sqlite" <<SQL
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < $((tasks / 100 - 1)))
INSERT INTO page (id, position, title, created, modified, pending)
SELECT upper(printf('%08x-0000-4000-8000-%012x', i, i)), i + 1, 'Page ' || i, 1700000000000, 1700000000000, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < $((tasks - 1)))
INSERT INTO task (id, text, done, sort_order, created, notes, indent, page_id, modified, pending)
SELECT upper(printf('%08x-0000-4000-9000-%012x', i, i)), 'Call the plumber about the kitchen sink, item ' || i,
       i % 3 = 0, i % 100 + 1, 1700000000000, CASE WHEN i % 5 = 0 THEN 'A short note' ELSE '' END, i % 4 = 1,
       upper(printf('%08x-0000-4000-8000-%012x', i / 100, i / 100)), 1700000000000, 0 FROM n;
SQL
fi

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$root/figures"
for ((run = 1; run <= runs; run++)); do
    rm -rf "$root/home" "$root/runtime"
    quillery_isolate "$root"
    if ((tasks > 0)); then
        mkdir -p "$XDG_DATA_HOME/Quillery"
        cp "$template/home/.local/share/Quillery/book.sqlite" "$XDG_DATA_HOME/Quillery/"
    fi
    case $mode in
    background)
        "$build/bin/quillery" --background >"$root/log" 2>&1 &
        pid=$!
        mapped=-
        sleep 2 # the book, the alarms, the deferred start-up work
        ;;
    window)
        read -r pid mapped < <("$build/bench/quillery_map_probe" "$build/bin/quillery" 2>"$root/log")
        sleep 2 # the first paint, the deferred start-up work
        ;;
    closed)
        read -r pid mapped < <("$build/bench/quillery_map_probe" --close-after 2 "$build/bin/quillery" 2>"$root/log")
        sleep 6 # closed after 2 s, then the widgets and caches let go
        [[ -z $(quillery_find_window) ]] || echo "run $run: the window did not close" >&2
        ;;
    esac
    libraries=$(awk '$6 ~ /\.so/ { print $6 }' "/proc/$pid/maps" | sort -u | wc -l)
    rss=$(awk '/^Rss:/ { print $2 / 1024 }' "/proc/$pid/smaps_rollup")
    pss=$(awk '/^Pss:/ { print $2 / 1024 }' "/proc/$pid/smaps_rollup")
    printf 'run %d: mapped %s s, %d libraries, RSS %.1f MB, PSS %.1f MB\n' "$run" "$mapped" "$libraries" "$rss" "$pss"
    echo "$mapped $libraries $rss $pss" >>"$root/figures"
    stop
done
printf 'median of %d: mapped %s s, %s libraries, RSS %.1f MB, PSS %.1f MB\n' "$runs" \
    "$(awk '{ print $1 }' "$root/figures" | median)" "$(awk '{ print $2 }' "$root/figures" | median)" \
    "$(awk '{ print $3 }' "$root/figures" | median)" "$(awk '{ print $4 }' "$root/figures" | median)"
