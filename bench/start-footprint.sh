#!/usr/bin/env bash
# What the real program costs to start over an empty book: the time from its
# exec to its window being mapped (under Xvfb, no window manager), the number
# of shared objects it has mapped, and its resident (RSS) and proportional
# (PSS) memory once it has settled. Each run gets a fresh home folder and a
# private session bus; the medians are printed last.
# With --background the program starts as `quillery --background` and only
# the libraries and memory are measured, after it has settled.
# Usage: bench/start-footprint.sh [--background] [build-folder] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
background=
if [[ ${1:-} == --background ]]; then
    background=1
    shift
fi
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-5}
source "$here/../scripts/xvfb-session.sh"

if [[ -z ${QUILLERY_UNDER_XVFB:-} ]]; then
    quillery_rerun_under_xvfb "$0" ${background:+--background} "$build" "$runs"
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

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$root/figures"
for ((run = 1; run <= runs; run++)); do
    rm -rf "$root/home" "$root/runtime"
    quillery_isolate "$root"
    if [[ -n $background ]]; then
        "$build/bin/quillery" --background >"$root/log" 2>&1 &
        pid=$!
        mapped=-
    else
        read -r pid mapped < <("$build/bench/quillery_map_probe" "$build/bin/quillery" 2>"$root/log")
    fi
    sleep 2 # the first paint, the deferred start-up work
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
