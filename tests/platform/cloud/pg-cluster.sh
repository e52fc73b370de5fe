#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the cloud tests: made fresh in a
# temporary folder, owned by a user that is not root (initdb refuses root; CI
# runs as root, so the cluster then belongs to "postgres"), listening on a
# free loopback port and on a socket in its own temporary folder.
#
#   pg-cluster.sh start  <state-file>   make and start a cluster, write where it is
#   pg-cluster.sh halt   <state-file>   stop the server at once (like a crash)
#   pg-cluster.sh resume <state-file>   start the same server again
#   pg-cluster.sh stop   <state-file>   stop it and remove everything
#
# The state file holds shell assignments: PGC_DIR, PGC_PORT, PGC_SOCKET,
# PGC_ADMIN (a superuser reachable over the socket without a password).
set -euo pipefail

command=${1:?usage: pg-cluster.sh start|halt|resume|stop <state-file>}
state=${2:?usage: pg-cluster.sh start|halt|resume|stop <state-file>}
bin=${QUILLERY_PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}
[ -x "$bin/initdb" ] || { echo "pg-cluster.sh: no PostgreSQL server binaries found" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
    owner=postgres
    as_owner() { runuser -u "$owner" -- "$@"; }
else
    owner=$(id -un)
    as_owner() { "$@"; }
fi

server_start() {
    as_owner "$bin/pg_ctl" -D "$PGC_DIR/data" -l "$PGC_DIR/server.log" -w -t 60 -o \
        "-c listen_addresses=127.0.0.1 -c port=$PGC_PORT -c unix_socket_directories=$PGC_SOCKET -c fsync=off" \
        start >/dev/null
}

server_halt() {
    as_owner "$bin/pg_ctl" -D "$PGC_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
}

case $command in
start)
    PGC_DIR=$(mktemp -d /tmp/quillery-pg.XXXXXX)
    PGC_SOCKET=$PGC_DIR/socket
    PGC_ADMIN=quillery_admin
    mkdir "$PGC_SOCKET"
    chmod 755 "$PGC_DIR"
    [ "$owner" = "$(id -un)" ] || chown -R "$owner" "$PGC_DIR"
    as_owner "$bin/initdb" -D "$PGC_DIR/data" -U "$PGC_ADMIN" --auth-local=trust --auth-host=scram-sha-256 \
        -E UTF8 --locale=C.UTF-8 --no-sync >"$PGC_DIR/initdb.log" 2>&1 \
        || { cat "$PGC_DIR/initdb.log" >&2; exit 1; }
    started=no
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        PGC_PORT=$((20000 + RANDOM % 30000))
        if server_start; then
            started=yes
            break
        fi
    done
    [ $started = yes ] || { cat "$PGC_DIR/server.log" >&2; exit 1; }
    printf 'PGC_DIR=%s\nPGC_PORT=%s\nPGC_SOCKET=%s\nPGC_ADMIN=%s\n' \
        "$PGC_DIR" "$PGC_PORT" "$PGC_SOCKET" "$PGC_ADMIN" >"$state"
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
    rm -rf "$PGC_DIR" "$state"
    ;;
*)
    echo "pg-cluster.sh: unknown command $command" >&2
    exit 2
    ;;
esac
