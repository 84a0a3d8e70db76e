#!/usr/bin/env bash
# Reads every include of the project's own headers under a source folder and fails on any
# that goes the wrong way (to a higher layer) or sideways (to a sibling function), naming
# the file and the line. The layers, lowest first:
#   platform, common, data, cipher, ui/widgets, {calendar, thoughts, security}, ui/main,
#   startup
# A layer may include itself and the layers below it; cipher never includes data.
set -euo pipefail
src="${1:?usage: check-layers.sh SOURCE_FOLDER}"
cd "$src"
find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z | xargs -0 awk '
function layer(path,   parts, n) {
    n = split(path, parts, "/")
    if (parts[1] == "ui" && n > 2) return "ui/" parts[2]
    return parts[1]
}
function rank(l) {
    if (l == "platform") return 0
    if (l == "common") return 1
    if (l == "data") return 2
    if (l == "cipher") return 3
    if (l == "ui/widgets") return 4
    if (l == "calendar" || l == "thoughts" || l == "security") return 5
    if (l == "ui/main") return 6
    if (l == "startup") return 7
    return -1
}
FNR == 1 { file = substr(FILENAME, 3); own = layer(file) }
/^[ \t]*#[ \t]*include[ \t]*"/ {
    inc = $0
    sub(/^[^"]*"/, "", inc)
    sub(/".*$/, "", inc)
    target = layer(inc)
    why = ""
    if (inc ~ /\.\.\//) why = "climbs out of its folder"
    else if (rank(target) < 0) why = "names no layer"
    else if (target == own) next
    else if (own == "cipher" && target == "data") why = "cipher may not use the database"
    else if (rank(target) == rank(own)) why = own " may not include its sibling " target
    else if (rank(target) > rank(own)) why = own " may not include the higher layer " target
    if (why != "") {
        printf "%s:%d: #include \"%s\": %s\n", file, FNR, inc, why
        bad = 1
    }
}
END { exit bad }
'
