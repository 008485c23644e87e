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
# Wine's 32-bit loader needs the kernel's 32-bit emulation, which a kernel may leave off
# (ia32_emulation=off): then no Windows program of this build can run here.
loader=0
[[ -x /usr/lib/wine/wine ]] && { /usr/lib/wine/wine --version >/dev/null 2>&1; loader=$?; }
if ((loader == 126)); then
    echo "SKIPPED: this kernel runs no 32-bit programs (ia32 emulation is off), so Wine cannot"
    exit 77
fi
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
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
