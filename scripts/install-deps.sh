#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pimora need.
# Idempotent: does nothing when everything is present.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libgl-dev
    libsqlite3-dev libsodium-dev
    libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
    clang-format desktop-file-utils
    lintian appstream dpkg-dev file man-db
    libical-dev python3-icalendar
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
