#!/usr/bin/env bash
# Makes the Debian package from a build and checks it as a machine it is installed on would:
# lintian, the metainfo, the desktop entry, then the program unpacked into a root whose
# program folder is mounted read-only and started by a new user, whose database must land in
# the user's data folder. Exit 77 (skipped) where this user may not mount.
#   check-package.sh BUILD_DIR FIRST_USER_LIBRARY
set -euo pipefail
build=$1
first_user=$2

if [ "${3:-}" = "--inside" ]; then
    # In a mount namespace of its own: the read-only mount ends with it, whatever happens.
    work=$4
    root=$work/root
    lib=$root/usr/lib/pimora
    if ! mount --bind "$lib" "$lib" 2>/dev/null || ! mount -o remount,ro,bind "$lib" 2>/dev/null; then
        echo "SKIP: this user may not mount the program folder read-only"
        exit 77
    fi
    if touch "$lib/.probe" 2>/dev/null; then
        echo "FAIL: the program folder still takes writes"
        exit 1
    fi
    (cd "$root" && find . -printf '%p %s %m %T@\n' | sort) > "$work/root-before"
    home=$work/home
    data=$work/xdg-data
    mkdir -p "$home" "$work/tmp"
    preload=$first_user
    asan=$(ldd "$lib/pimora" | awk '/libasan/ {print $3}')
    [ -n "$asan" ] && preload="$asan:$preload"
    status=0
    timeout 60 env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$data" TMPDIR="$work/tmp" \
        XDG_RUNTIME_DIR="$work/tmp" QT_QPA_PLATFORM=offscreen LD_PRELOAD="$preload" \
        PIMORA_FIRST_USER_LOG="$work/first-user.log" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
        "$root/usr/bin/pimora" > "$work/run.log" 2>&1 || status=$?
    echo "--- what the first user saw"
    cat "$work/first-user.log" 2>/dev/null || true
    fail() {
        echo "FAIL: $*"
        echo "--- the program said"
        cat "$work/run.log"
        exit 1
    }
    [ "$status" -eq 0 ] || fail "pimora ended with $status"
    grep -qx "answered: &Yes" "$work/first-user.log" || fail "the create question was not asked"
    grep -q "^main window: Pimora" "$work/first-user.log" || fail "no main window"
    [ -f "$data/pimora/pengkalan.dat" ] || fail "no database in $data/pimora"
    [ "$(stat -c %a "$data/pimora/pengkalan.dat")" = 600 ] || fail "the database is not 0600"
    [ "$(stat -c %a "$data/pimora")" = 700 ] || fail "the data folder is not 0700"
    (cd "$root" && find . -printf '%p %s %m %T@\n' | sort) > "$work/root-after"
    diff "$work/root-before" "$work/root-after" || fail "something changed under the unpacked root"
    echo "--- the data folder"
    (cd "$data/pimora" && find . | sort)
    exit 0
fi

for tool in cpack lintian appstreamcli desktop-file-validate dpkg-deb unshare; do
    command -v "$tool" > /dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/pimora-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(find "$work/out" -maxdepth 1 -name 'pimora_*.deb')
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
case "$(basename "$deb")" in
    pimora_0.9.7_"$(dpkg --print-architecture)".deb) ;;
    *) echo "FAIL: the package is named $(basename "$deb")"; exit 1 ;;
esac
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || { echo "FAIL: Depends lacks Qt"; exit 1; }

echo "--- lintian"
linted=0
lintian --fail-on error --display-level ">=info" "$deb" > "$work/lintian.log" 2>&1 || linted=$?
grep -v "root privileges" "$work/lintian.log" || echo "no findings"
[ "$linted" -eq 0 ] || { echo "FAIL: lintian found errors"; exit 1; }

dpkg-deb -x "$deb" "$work/root"
root=$work/root
for f in usr/lib/pimora/pimora usr/lib/pimora/kosg.dat usr/lib/pimora/readme.xml usr/bin/pimora \
         usr/share/applications/pimora.desktop usr/share/icons/hicolor/48x48/apps/pimora.png \
         usr/share/metainfo/org.pimora.Pimora.metainfo.xml usr/share/man/man1/pimora.1.gz \
         usr/share/doc/pimora/copyright usr/share/doc/pimora/changelog.gz; do
    [ -e "$root/$f" ] || { echo "FAIL: not in the package: /$f"; exit 1; }
done
[ "$(readlink "$root/usr/bin/pimora")" = ../lib/pimora/pimora ] || { echo "FAIL: /usr/bin/pimora"; exit 1; }
grep -qx "Exec=/usr/lib/pimora/pimora" "$root/usr/share/applications/pimora.desktop" ||
    { echo "FAIL: the desktop entry runs something else"; exit 1; }
echo "--- appstreamcli"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.pimora.Pimora.metainfo.xml"
echo "--- desktop-file-validate"
said=$(desktop-file-validate "$root/usr/share/applications/pimora.desktop" 2>&1) && [ -z "$said" ] ||
    { echo "FAIL: $said"; exit 1; }
echo "valid"
man --warnings -l "$root/usr/share/man/man1/pimora.1.gz" > /dev/null 2> "$work/man.log" || true
[ ! -s "$work/man.log" ] || { cat "$work/man.log"; echo "FAIL: the manual page"; exit 1; }

echo "--- first start from a read-only program folder"
status=0
unshare --mount --propagation private "$0" "$build" "$first_user" --inside "$work" || status=$?
exit "$status"
