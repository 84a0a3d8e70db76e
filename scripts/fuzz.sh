#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer and UBSan) into build-fuzz/ and
# runs each for SECONDS seconds (default 600) on its corpus in fuzz/corpus/, which grows with
# what the run finds (minimised after each run). Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(Like Dates Quoting Decrypt Engine Ical Sealed)

missing=()
command -v clang++ >/dev/null || missing+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
    missing+=(libclang-rt-14-dev)
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CXX=clang++ CC=clang cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPIMORA_BUILD_FUZZ=ON -DPIMORA_BUILD_TESTS=OFF
fi
cmake --build build-fuzz -j2 --target app_files "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for t in "${targets[@]}"; do
    mkdir -p "fuzz/corpus/$t" "build-fuzz/findings/$t"
    echo "== $t: $seconds s"
    QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/fuzz_$t" "fuzz/corpus/$t" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="build-fuzz/findings/$t/" -print_final_stats=1
    # Keep only the inputs that add coverage, so the committed corpus stays small.
    rm -rf "build-fuzz/merged/$t" && mkdir -p "build-fuzz/merged/$t"
    "build-fuzz/fuzz/fuzz_$t" -merge=1 "build-fuzz/merged/$t" "fuzz/corpus/$t" 2>/dev/null
    rm -rf "fuzz/corpus/$t" && mv "build-fuzz/merged/$t" "fuzz/corpus/$t"
done
