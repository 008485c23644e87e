#!/usr/bin/env bash
# qlok-sync.exe end to end under Wine against qlok-daytimed on 127.0.0.1 port 13, one run for
# each exit status, checked by the status, the output and the history. Wine refuses to set the
# clock, as Windows does for a program without the right: qlok-sync.exe says so and ends with 1.
# Runs through wine_run.sh, in a private user and network namespace, on a copy of the prefix.
# Usage: wine_run.sh PREFIX wine_sync_e2e.sh QLOK_SYNC_EXE DAYTIMED
set -uo pipefail
sync=$(realpath "$1") daytimed=$(realpath "$2")
# shellcheck source-path=SCRIPTDIR source=../e2e/namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/namespace.sh"
trap 'wineserver -k; kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
cp -a "$WINEPREFIX" "$work/prefix" && cd "$work" || exit 1
export WINEPREFIX=$work/prefix TZ=Asia/Kolkata LANG=en_US.UTF-8
printf '127.0.0.2\r\n127.0.0.1\r\n' >"QLOK servers.ini" # server 2 is the test server
wineserver -p
failures=0

# check NAME STATUS SERVER_SWITCHES|- ARGUMENTS LINE HISTORY: runs "qlok-sync.exe ARGUMENTS" with
# the test server (unless -); wants STATUS, a line matching LINE, QLOK.log holding HISTORY.
check() {
    local name=$1 want=$2 server=$3 arguments=$4 line=$5 history=$6 status
    rm -f QLOK.log ready
    if [[ $server != - ]]; then
        # shellcheck disable=SC2086
        "$daytimed" --count 1 --timeout 30 --quiet --ready-file ready $server &
        await_file ready
    fi
    # shellcheck disable=SC2086
    timeout 60 wine "$sync" $arguments >out 2>&1
    status=$?
    wait
    if ((status != want)) || ! tr -d '\r' <out | grep -qE "$line" ||
        [[ $history && $(grep -c "$history"$'\r$' QLOK.log) != 1 ]] ||
        [[ ! $history && -e QLOK.log ]]; then
        echo "FAIL [$name]: status $status (wanted $want), history '$(cat QLOK.log 2>/dev/null)'," \
            "output:" >&2
        cat out >&2
        failures=$((failures + 1))
    fi
}

check in-step 0 "" 2 '^      Time difference: +'$'\t\t''   [0-9: AMP]+$' ""
check refused 1 "--skew 5" 2 '^      reason: qlok-sync\.exe needs the right to set the clock$' " failed"
check bad-reply 1 "--length 50" 2 '^      incorrect data received' ""
check no-server 1 - 2 '^   error received: 10061$' ""
check usage 2 - "2 3" '^Try .qlok-sync --help' ""
check help 0 - --help '^Usage: qlok-sync \[--once\] \[N\]$' ""
check dead-then-good 0 "" "" '^trying server 2 of 2: 127\.0\.0\.1$' ""
((failures == 0)) && echo "PASS"
