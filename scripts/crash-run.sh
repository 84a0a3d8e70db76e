#!/usr/bin/env bash
# The long crash run: kills the crash driver KILLS times (500 unless given) at random moments
# and checks the file after each kill. Builds first; prints the figures at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
kills="${1:-500}"
scripts/build.sh
QT_QPA_PLATFORM=offscreen PIMORA_CRASH_KILLS="$kills" \
    build/tests/test_crash --gtest_filter='Crash.*' 2>&1 | grep -v '^box: '
