#!/usr/bin/env bash
# Checks that the README's layout section lists every floor of the build, lowest first, and
# no folder the build does not have. Floors that share a level ("a|b") may come in any order.
set -euo pipefail
readme="$1"
IFS=';' read -r -a levels <<<"$2"
mapfile -t listed < <(grep -oE '^src/[a-z]+/' "$readme" | sed -E 's#^src/([a-z]+)/#\1#')
level_of() {
    local i
    for i in "${!levels[@]}"; do
        if [[ "|${levels[$i]}|" == *"|$1|"* ]]; then
            echo "$i"
            return
        fi
    done
    echo -1
}
status=0
previous=0
for folder in "${listed[@]}"; do
    level=$(level_of "$folder")
    if [ "$level" -lt 0 ]; then
        echo "README lists src/$folder/, which is no floor of the build"
        status=1
    elif [ "$level" -lt "$previous" ]; then
        echo "README lists src/$folder/ after a higher floor"
        status=1
    else
        previous=$level
    fi
done
for level in "${levels[@]}"; do
    IFS='|' read -r -a folders <<<"$level"
    for folder in "${folders[@]}"; do
        if ! printf '%s\n' "${listed[@]}" | grep -qx "$folder"; then
            echo "README does not list src/$folder/"
            status=1
        fi
    done
done
[ "$status" -eq 0 ] && echo "README lists ${#listed[@]} floors in order"
exit "$status"
