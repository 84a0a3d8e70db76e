#!/usr/bin/env bash
# Configures (once) and builds Pimora into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_type="${BUILD_TYPE:-RelWithDebInfo}"
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" "$@"
fi
cmake --build build -j2
