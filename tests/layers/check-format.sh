#!/usr/bin/env bash
# Fails, naming the files, when a C++ source differs from what clang-format makes of it.
set -euo pipefail
clang_format="$1"
root="$2"
cd "$root"
mapfile -t files < <(find src tests bench fuzz tools -name '*.cpp' -o -name '*.h' | sort)
drifted=()
for f in "${files[@]}"; do
    if ! "$clang_format" --dry-run --Werror "$f" >/dev/null 2>&1; then
        drifted+=("$f")
    fi
done
if [ ${#drifted[@]} -ne 0 ]; then
    printf 'not formatted: %s\n' "${drifted[@]}"
    echo "run: clang-format -i ${drifted[*]}"
    exit 1
fi
echo "${#files[@]} files formatted"
