#!/usr/bin/env bash
# Builds the tests of the code that runs on more than one thread with
# ThreadSanitizer (build-tsan/) and runs them: the mirror's worker and
# account probe (PostgreSQL), the notification centre's file writer, the
# attachment importer and thumbnails, the import merger's checkpoint, the
# gazetteer's loader, the book's integrity check after its first page is
# shown. Qt and GLib come from Debian without the instrumentation, so reports
# inside them are suppressed (scripts/tsan.supp).
# Usage: scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tests=(test_core_sync test_core_model test_core_attachments test_gui_attachments test_core_alarms test_platform_cloud test_platform_notifications
    test_platform_places test_ui_attachments)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DQUILLERY_TSAN=ON -DQUILLERY_BUILD_BENCH=OFF -DQUILLERY_WERROR=ON >/dev/null
cmake --build build-tsan --target "${tests[@]}"
# The hostile-answer tests race a size cap against a deadline; ten times
# slower under the sanitizer, the deadline always wins. Their threads are
# the network's, which the other place tests exercise too.
export GTEST_FILTER='-HostileAnswers.*'
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$PWD/scripts/tsan.supp"
pattern=$(IFS='|'; echo "^(${tests[*]})\$")
scripts/run-tests.sh build-tsan -R "$pattern"
