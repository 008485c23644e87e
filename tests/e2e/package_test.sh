#!/usr/bin/env bash
# The Debian package: made from a build folder, checked by lintian where it is installed (no
# error, no warning), unpacked into a scratch root, its files, desktop entry and metainfo
# checked; then the unpacked qlok started the way the menu starts it and the way a shell does,
# inside a private user and network namespace.
# Usage: package_test.sh BUILD_DIR. Exit 77 = skipped.
set -uo pipefail
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
unshare -rn true 2>/dev/null || { echo "SKIPPED: 'unshare -rn' does not work here"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$1/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$(echo "$scratch"/out/qlok_*_amd64.deb)
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependencies found in the programs"
if command -v lintian >/dev/null; then
    tags=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]: ')
    [[ -z $tags ]] || fail "lintian:"$'\n'"$tags"
fi
dpkg -x "$deb" "$scratch/root" || exit 1
usr=$scratch/root/usr
for file in bin/qlok{,-sync,-daytimed} share/man/man1/qlok{,-sync,-daytimed}.1.gz \
    lib/systemd/system/qlok-sync.{service,timer} "share/qlok/QLOK instructions.txt"; do
    [[ -f $usr/$file ]] || fail "$file is missing"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x$size/apps/qlok.png
    width=$(od -An -tu1 -j18 -N2 "$png" | awk '{print $1 * 256 + $2}')  # from the PNG header
    [[ $width == "$size" ]] || fail "icon ${size}x$size is ${width:-missing} wide"
done
desktop-file-validate "$usr/share/applications/qlok.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >&2 || fail "metainfo"

# run_qlok FOLDER COMMAND...: starts it in FOLDER as "qlok 1" with no server to reach, and once
# it has begun that synchronisation prints the folder it works in.
run_qlok() {
    mkdir -p "$1" && cd "$1" || exit 1
    HOME=$scratch/home PATH=$usr/bin:$PATH QT_QPA_PLATFORM=offscreen QT_FORCE_STDERR_LOGGING=1 \
        QT_LOGGING_RULES=qlok.activity.debug=true DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent \
        unshare -rn "${@:2}" 1 2>"$scratch/qlok.log" &
    for _ in {1..200}; do grep -q 'qlok.activity: target:' "$scratch/qlok.log" && break || sleep 0.05; done
    readlink "/proc/$!/cwd"
    kill $! && wait $! 2>/dev/null
}

menu_command=$(sed -n 's/^Exec=//p' "$usr/share/applications/qlok.desktop")
mine=$scratch/home/.local/share/qlok
[[ $(run_qlok "$scratch/menu" $menu_command) == "$mine" ]] || fail "menu start not in $mine"
cmp -s "$mine/QLOK instructions.txt" "$usr/share/qlok/QLOK instructions.txt" || fail "no help text"
echo edited >>"$mine/QLOK instructions.txt"
run_qlok "$scratch/menu" $menu_command >/dev/null
grep -q '^edited$' "$mine/QLOK instructions.txt" || fail "the user's help text was replaced"
[[ $(run_qlok "$scratch/shell" qlok) == "$scratch/shell" ]] || fail "shell start left its folder"
((failures == 0)) && echo PASS
