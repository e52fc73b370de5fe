#!/usr/bin/env bash
# Runs every test of a build folder with CTest. The tests get a private D-Bus
# session bus of their own (dbus-run-session), so the notification tests never
# reach the user's desktop; servers the tests need (PostgreSQL, HTTP) are
# started by CTest fixtures.
set -euo pipefail
build=${1:-build}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
exec dbus-run-session -- ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
