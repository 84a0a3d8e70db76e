#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: once on the ordinary
# build, once more under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# A warning fails the tests' build: the code stays clean under -Wall -Wextra -Wpedantic.
export PIMORA_WERROR=ON
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300)
scripts/build.sh sanitize
(cd build-sanitize && QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure -j2 --timeout 600)
