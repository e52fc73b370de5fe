#!/usr/bin/env bash
# What a sync round costs the task server alone: curl, with no client logic,
# sends the requests of one round to a throwaway Radicale (the tests' own,
# tests/platform/caldav/radicale.sh) holding a list of 5,000 tasks: one
# sync-collection report, then 100 PUTs of small tasks onto existing items,
# one after another. Three rounds. Compare with `bench_caldav
# --benchmark_filter=SyncRound`, Quillery's round on the same kind of server.
#
#   bench/caldav-server-floor.sh
set -euo pipefail
cd "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"
script=tests/platform/caldav/radicale.sh
work=$(mktemp -d)
state=$work/state
$script start "$state"
trap '$script stop "$state"; rm -rf "$work"' EXIT
# shellcheck disable=SC1090
. "$state"
origin="http://127.0.0.1:$RAD_PORT"
list="$origin/$RAD_USER/list/"
auth="$RAD_USER:$RAD_PASSWORD"
elapsed() { echo "$2 - $1" | bc; }

curl -sf -u "$auth" -X MKCOL -H 'Content-Type: application/xml' -o /dev/null --data \
    '<?xml version="1.0"?><mkcol xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><set><prop><resourcetype><collection/><C:calendar/></resourcetype><C:supported-calendar-component-set><C:comp name="VTODO"/></C:supported-calendar-component-set></prop></set></mkcol>' \
    "$list"
{
    printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillery//bench//EN\r\n'
    for i in $(seq 0 4999); do
        printf 'BEGIN:VTODO\r\nUID:task-%d\r\nDTSTAMP:20261207T000000Z\r\nSUMMARY:Task number %d with some text\r\nEND:VTODO\r\n' "$i" "$i"
    done
    printf 'END:VCALENDAR\r\n'
} >"$work/list.ics"
start=$(date +%s.%N)
curl -sf -u "$auth" -X PUT -H 'Content-Type: text/calendar' --data-binary @"$work/list.ics" -o /dev/null "$list"
echo "upload of 5,000 tasks: $(elapsed "$start" "$(date +%s.%N)") s"

# The items' addresses and UIDs, read before anything is timed.
curl -sf -u "$auth" -X PROPFIND -H 'Depth: 1' "$list" | grep -o '<href>[^<]*\.ics</href>' |
    sed 's/<[^>]*>//g' | awk 'NR <= 300' >"$work/hrefs"
while read -r href; do
    curl -sf -u "$auth" "$origin$href" | grep '^UID:' | cut -d: -f2 | tr -d '\r'
done <"$work/hrefs" >"$work/uids"

for round in 1 2 3; do
    start=$(date +%s.%N)
    curl -sf -u "$auth" -X REPORT -H 'Depth: 1' -H 'Content-Type: application/xml' -o /dev/null --data \
        '<?xml version="1.0"?><sync-collection xmlns="DAV:"><sync-token/><sync-level>1</sync-level><prop><getetag/></prop></sync-collection>' \
        "$list"
    reported=$(date +%s.%N)
    for i in $(seq 1 100); do
        n=$(((round - 1) * 100 + i))
        href=$(sed -n "${n}p" "$work/hrefs")
        uid=$(sed -n "${n}p" "$work/uids")
        printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillery//bench//EN\r\nBEGIN:VTODO\r\nUID:%s\r\nDTSTAMP:20261207T000000Z\r\nSUMMARY:Changed in round %d\r\nEND:VTODO\r\nEND:VCALENDAR\r\n' \
            "$uid" "$round" >"$work/one.ics"
        curl -sf -u "$auth" -X PUT -H 'Content-Type: text/calendar' --data-binary @"$work/one.ics" -o /dev/null \
            "$origin$href"
    done
    echo "round $round: report $(elapsed "$start" "$reported") s, 100 PUTs $(elapsed "$reported" "$(date +%s.%N)") s"
done
