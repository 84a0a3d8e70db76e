#!/usr/bin/env bash
# Configures and builds Pimora: into build/, or with "sanitize" into build-sanitize/ with
# AddressSanitizer and UBSan. PIMORA_WERROR=ON (as the test script sets it) makes every
# warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
build_type="${BUILD_TYPE:-RelWithDebInfo}"
dir=build
options=()
if [ "${1:-}" = "sanitize" ]; then
    dir=build-sanitize
    options=(-DPIMORA_SANITIZE=ON)
    shift
fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
    options+=(-DCMAKE_BUILD_TYPE="$build_type")
fi
# The warnings rule is passed only when asked for, so that starting the program after the
# tests does not change the flags and rebuild everything.
if [ -n "${PIMORA_WERROR:-}" ]; then
    options+=(-DPIMORA_WERROR="$PIMORA_WERROR")
fi
if [ ! -f "$dir/CMakeCache.txt" ] || [ ${#options[@]} -ne 0 ] || [ $# -ne 0 ]; then
    cmake -S . -B "$dir" "${options[@]}" "$@" >/dev/null
fi
cmake --build "$dir" -j2
