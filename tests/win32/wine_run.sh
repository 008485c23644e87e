#!/usr/bin/env bash
# Runs a Windows program of this build under Wine, inside a private user and
# network namespace (unshare -rn): the program reaches no network but its own
# loopback, and the clock cannot be set from there.
#
# Usage: wine_run.sh PREFIX [PROGRAM [ARGS...]]
#   PREFIX   the build's throw-away Wine prefix, made on first use
#   PROGRAM  a .exe, or a .sh run by bash with the Wine settings; without it the prefix
#            is only made ready
# Exit status: the program's; 77 when 'unshare -rn' is not available here.
set -uo pipefail

(($# >= 1)) || { echo "usage: wine_run.sh PREFIX [PROGRAM [ARGS...]]" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=../e2e/namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/namespace.sh"
prefix=$(realpath -m "$1") && shift
# QLOK_WINE_ARCH=win64: the programs are 64-bit and run under Wine's 64-bit loader alone, which
# the wrapper on PATH would pass over for the 32-bit one.
arch=${QLOK_WINE_ARCH:-win32}
loader=/usr/lib/wine/wine
if [[ $arch == win64 ]]; then
    loader=/usr/lib/wine/wine64
    mkdir -p "$prefix.bin"
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$prefix.bin/$name"
        chmod +x "$prefix.bin/$name"
    done
    export PATH=$prefix.bin:$PATH WINELOADER=$loader
fi
[[ -x $loader ]] || { echo "SKIPPED: no $loader (scripts/deps.sh installs Wine)"; exit 77; }
# The 32-bit loader needs the kernel's 32-bit emulation, which a kernel may leave off
# (ia32_emulation=off): then no 32-bit Windows program can run here (the win64 preset can).
"$loader" --version >/dev/null 2>&1
(($? != 126)) ||
    { echo "SKIPPED: this kernel runs no 32-bit programs (ia32 emulation is off)"; exit 77; }
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
# No Mono or Gecko installers, no menu entries in the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# wineboot is slow: once per prefix, and one test at a time waits for it.
exec 9>"$prefix.lock" && flock 9
if [[ ! -e $prefix/.ready ]]; then
    rm -rf "$prefix"
    wineboot -i >/dev/null 2>&1 && wineserver -w ||
        { echo "FAIL: wineboot -i could not make $prefix" >&2; exit 1; }
    touch "$prefix/.ready"
fi
flock -u 9 && exec 9>&-

(($# == 0)) && exit 0
[[ $1 == *.sh ]] && { bash "$@"; exit; }
wine "$@"
