#!/usr/bin/env bash
# How often the real program wakes up while it runs in the background with
# nothing due: starts `quillery --background` with a home of its own on a
# private session bus, lets it settle, then counts its context switches (all
# threads) with perf over the given seconds (300 unless told), and prints its
# resident memory.
# Usage: bench/background-wakeups.sh [build-folder] [seconds]
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
seconds=${2:-300}

if [[ -z ${QUILLERY_ON_PRIVATE_BUS:-} ]]; then
    QUILLERY_ON_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$build" "$seconds"
fi

home=$(mktemp -d)
pid=
trap '[[ -z $pid ]] || kill -TERM "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache
export QT_QPA_PLATFORM=offscreen
"$build/bin/quillery" --background >"$home/quillery.log" 2>&1 &
pid=$!
sleep 10 # start-up: the book, the alarms, the first probes

rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
private=$(awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$pid/smaps_rollup")
echo "resident: $((rss / 1024)) MB, of which private: $((private / 1024)) MB"
# The kernel's own counts of every thread, before and after.
switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches:/ { sum += $2 } END { print sum }'; }
before=$(switches)
if command -v perf >/dev/null; then
    perf stat -x, -e context-switches -p "$pid" -- sleep "$seconds" 2>"$home/perf.csv"
    # "<not counted>": no thread of the process ran at all.
    counted=$(awk -F, '/context-switches/ { print ($1 ~ /^[0-9]+$/) ? $1 : 0 }' "$home/perf.csv")
    echo "perf: $counted context switches in ${seconds}s"
else
    sleep "$seconds"
fi
after=$(switches)
echo "/proc: $((after - before)) context switches in ${seconds}s ($(awk -v s=$((after - before)) -v t="$seconds" 'BEGIN { printf "%.2f", s * 60 / t }') a minute)"
