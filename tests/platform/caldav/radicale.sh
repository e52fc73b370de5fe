#!/usr/bin/env bash
# A throwaway task server for the sync tests: Radicale on a free loopback
# port, its collections in a fresh temporary folder, basic authentication
# from a plain htpasswd file with the test users below.
#
#   radicale.sh start  <state-file>   make the folder and start the server
#   radicale.sh halt   <state-file>   stop the server at once (like a crash)
#   radicale.sh resume <state-file>   start it again on the same port and data
#   radicale.sh stop   <state-file>   stop it and remove everything
#
# The state file holds shell assignments: RAD_DIR, RAD_PORT, RAD_USER,
# RAD_PASSWORD.
set -euo pipefail

command=${1:?usage: radicale.sh start|halt|resume|stop <state-file>}
state=${2:?usage: radicale.sh start|halt|resume|stop <state-file>}

server_start() {
    setsid /usr/bin/radicale --config "$RAD_DIR/config" >>"$RAD_DIR/server.log" 2>&1 </dev/null &
    echo $! >"$RAD_DIR/pid"
    for _ in $(seq 1 100); do
        if (exec 3<>"/dev/tcp/127.0.0.1/$RAD_PORT") 2>/dev/null; then
            return 0
        fi
        kill -0 "$(cat "$RAD_DIR/pid")" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

server_halt() {
    [ -f "$RAD_DIR/pid" ] || return 0
    pid=$(cat "$RAD_DIR/pid")
    kill -9 "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    rm -f "$RAD_DIR/pid"
}

case $command in
start)
    RAD_DIR=$(mktemp -d /tmp/quillery-radicale.XXXXXX)
    RAD_USER=alice
    RAD_PASSWORD=$(head -c 12 /dev/urandom | base64 | tr -d '/+=')
    printf '%s:%s\nbob:bob-password\n' "$RAD_USER" "$RAD_PASSWORD" >"$RAD_DIR/users"
    chmod 600 "$RAD_DIR/users"
    started=no
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        RAD_PORT=$((20000 + RANDOM % 30000))
        cat >"$RAD_DIR/config" <<CONFIG
[server]
hosts = 127.0.0.1:$RAD_PORT
[auth]
type = htpasswd
htpasswd_filename = $RAD_DIR/users
htpasswd_encryption = plain
delay = 0
[rights]
type = owner_only
[storage]
filesystem_folder = $RAD_DIR/collections
[logging]
level = warning
CONFIG
        if server_start; then
            started=yes
            break
        fi
        server_halt
    done
    [ $started = yes ] || { cat "$RAD_DIR/server.log" >&2; rm -rf "$RAD_DIR"; exit 1; }
    printf 'RAD_DIR=%s\nRAD_PORT=%s\nRAD_USER=%s\nRAD_PASSWORD=%s\n' \
        "$RAD_DIR" "$RAD_PORT" "$RAD_USER" "$RAD_PASSWORD" >"$state"
    ;;
halt)
    . "$state"
    server_halt
    ;;
resume)
    . "$state"
    server_start
    ;;
stop)
    [ -f "$state" ] || exit 0
    . "$state"
    server_halt
    rm -rf "$RAD_DIR" "$state"
    ;;
*)
    echo "radicale.sh: unknown command $command" >&2
    exit 2
    ;;
esac
