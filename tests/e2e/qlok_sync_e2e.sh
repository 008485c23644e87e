#!/usr/bin/env bash
# End-to-end runs of qlok-sync against qlok-daytimed on 127.0.0.1 port 13, one for each exit
# status, checked by the status, the output and the history.
#
# Usage: qlok_sync_e2e.sh QLOK_SYNC DAYTIMED RECORDER [PRELOAD_FIRST]
#
# Runs inside a private user and network namespace (unshare -rn), where clock_settime fails
# with EPERM, with no system bus; the preloaded recorder stands in for a successful
# clock_settime. Exit 77 = skipped.
set -uo pipefail

sync=$(realpath "$1") daytimed=$(realpath "$2") recorder=$(realpath -m "$3") first=${4:-}
# shellcheck source-path=SCRIPTDIR source=namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/namespace.sh"
cd "$work" || exit 1
printf '127.0.0.2\r\n127.0.0.1\r\n' >"QLOK servers.ini" # server 2 is the test server
failures=0

# check NAME STATUS SERVER_SWITCHES|- ARGUMENTS LINE HISTORY: runs "qlok-sync ARGUMENTS" with
# the test server (unless -); wants STATUS, a line matching LINE, QLOK.log ending in HISTORY.
check() {
    local name=$1 want=$2 server=$3 arguments=$4 line=$5 history=$6 status served preload=
    [[ $history == " ok" ]] && preload=${first:+$first:}$recorder
    rm -f QLOK.log settime ready
    if [[ $server != - ]]; then
        # shellcheck disable=SC2086
        "$daytimed" --address 127.0.0.1 --port 13 --count 1 --timeout 30 --quiet \
            --ready-file ready $server &
        await_file ready
    fi
    # shellcheck disable=SC2086
    env DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent LC_ALL=C.UTF-8 TZ=Asia/Kolkata \
        ${preload:+LD_PRELOAD="$preload"} QLOK_SETTIME_RECORD="$work/settime" \
        timeout 60 "$sync" $arguments >out 2>&1
    status=$?
    wait
    served=$(date -u -d "$(grep -oE '20[0-9-]{8} [0-9:]{8}' out | head -1)" +%s 2>/dev/null)
    if ((status != want)) || ! grep -qE "$line" out ||
        [[ $history && $(grep -c "$history"$'\r$' QLOK.log) != 1 ]] ||
        [[ ! $history && -e QLOK.log ]] ||
        [[ $history == " ok" && $(cat settime) != "$served 0" ]]; then
        echo "FAIL [$name]: status $status (wanted $want), settime '$(cat settime 2>/dev/null)'," \
            "served $served, history '$(cat QLOK.log 2>/dev/null)', output:" >&2
        cat out >&2
        failures=$((failures + 1))
    fi
}

check in-step 0 "" 2 $'^      Time difference: +\t\t   00:00:0[01]$' ""
check set 0 "--skew 5" 2 '^clock synchronised succesfully$' " ok"
check refused 1 "--skew -5" 2 '^      reason: .*CAP_SYS_TIME' " failed"
check bad-reply 1 "--length 50" 2 '^      incorrect data received' ""
check no-server 1 - 2 '^   error received: 10061$' ""
check usage 2 - "2 3" '^Try .qlok-sync --help' ""
check help 0 - --help '^Usage: qlok-sync \[N\]$' ""
((failures == 0)) && echo "PASS"
