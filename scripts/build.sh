#!/usr/bin/env bash
# Configures (once) and builds Pimora: into build/, or with "sanitize" into build-sanitize/
# with AddressSanitizer and UBSan.
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
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$build_type" "${options[@]}" "$@"
fi
cmake --build "$dir" -j2
