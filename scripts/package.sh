#!/usr/bin/env bash
# Builds Pimora in Release into build-release/, with Debian's hardening flags, and makes the
# Debian package pimora_<version>_<arch>.deb in the project's folder:
#   scripts/package.sh && sudo apt install ./pimora_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DPIMORA_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-release -j2
(cd build-release && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(find build-release/package -maxdepth 1 -name 'pimora_*.deb')
cp "$deb" .
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
