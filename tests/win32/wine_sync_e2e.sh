#!/usr/bin/env bash
# qlok-sync.exe end to end under Wine against qlok-daytimed, one run for each way a
# synchronisation ends (the command line is read by the code the Linux qlok-sync shares, tested
# with it), checked by the status, the output and the history, as the Linux program's runs are.
# Wine refuses to set the clock, as Windows does for a program without the right: qlok-sync.exe
# says so and ends with 1.
# Runs through wine_run.sh, in a private user and network namespace, on a copy of the prefix.
# Usage: wine_run.sh PREFIX wine_sync_e2e.sh QLOK_SYNC_EXE DAYTIMED
set -uo pipefail
sync=$(realpath "$1") daytimed=$(realpath "$2") run_with=wine
# shellcheck source-path=SCRIPTDIR source=../e2e/namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/namespace.sh"
trap 'wineserver -k; kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
cp -a "$WINEPREFIX" "$work/prefix" || exit 1
export WINEPREFIX=$work/prefix TZ=Asia/Kolkata LANG=en_US.UTF-8
# shellcheck source-path=SCRIPTDIR source=../e2e/sync_check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/sync_check.sh"
wineserver -p

in_step=$'^      Time difference: +\t\t   [0-9: AMP]+$'
check in-step 0 - "" 2 "" "$in_step"
check refused 1 - "--skew 5" 2 " failed" "$(try 2)" \
    '^      reason: qlok-sync\.exe needs the right to set the clock$' '\(1314\)$'
check dead-then-good 0 - "" "" "" "$(try 1)" '^   error received: 10061$' "$(try 2)" "$in_step"
((failures == 0)) && echo "PASS"
