#!/usr/bin/env bash
# Reads every include of the project's own headers under a source folder and fails on any
# that goes the wrong way (to a higher layer), sideways (to a layer beside it) or from a layer
# with widgets to the database layer, naming the file and the line.
#   check-layers.sh SOURCE_FOLDER "LAYERS" "WIDGET_LAYERS"
# LAYERS lists the folders lowest first, side-by-side folders joined by "|" (the build's own
# list); WIDGET_LAYERS names the folders that may not include data.
set -euo pipefail
src="${1:?usage: check-layers.sh SOURCE_FOLDER LAYERS WIDGET_LAYERS}"
layers="${2:?the layers, lowest first}"
widgets="${3:-}"
cd "$src"
find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z | xargs -0 awk \
    -v layers="$layers" -v widgets="$widgets" '
BEGIN {
    n = split(layers, groups, /[ ;]+/)
    for (i = 1; i <= n; i++) {
        m = split(groups[i], side, "|")
        for (j = 1; j <= m; j++) rankOf[side[j]] = i
    }
    m = split(widgets, w, /[ ;]+/)
    for (j = 1; j <= m; j++) widget[w[j]] = 1
}
function layer(path,   parts) {
    split(path, parts, "/")
    return parts[1]
}
FNR == 1 { file = substr(FILENAME, 3); own = layer(file) }
/^[ \t]*#[ \t]*include[ \t]*"/ {
    inc = $0
    sub(/^[^"]*"/, "", inc)
    sub(/".*$/, "", inc)
    target = layer(inc)
    why = ""
    if (inc ~ /\.\.\//) why = "climbs out of its folder"
    else if (!(target in rankOf) || !(own in rankOf)) why = "names no layer"
    else if (target == own) next
    else if (rankOf[target] == rankOf[own]) why = own " may not include its sibling " target
    else if (rankOf[target] > rankOf[own]) why = own " may not include the higher layer " target
    else if ((own in widget) && target == "data") why = own " holds widgets: it reaches the database through the stores"
    if (why != "") {
        printf "%s:%d: #include \"%s\": %s\n", file, FNR, inc, why
        bad = 1
    }
}
END { exit bad }
'
