#!/usr/bin/env bash
# End-to-end runs of qlok-sync against qlok-daytimed on 127.0.0.1 port 13, one for each exit
# status, checked by the status, the output and the history; then runs that move on from a
# first server on 127.0.0.2 to 127.0.0.1, each with the time it took.
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

# in_order PATTERN...: the output has lines matching the patterns, in this order.
in_order() {
    local from=1 at pattern
    for pattern; do
        at=$(tail -n +"$from" out | grep -nE -m1 -- "$pattern" | cut -d: -f1)
        [[ $at ]] || return 1
        from=$((from + at))
    done
}

# failover NAME STATUS FIRST SECOND LINE...: "qlok-sync" with 127.0.0.2 run with the switches
# FIRST (- for no server there) and 127.0.0.1 with SECOND; wants STATUS, the LINEs in order, and
# the clock set (recorded) exactly when STATUS is 0.
failover() {
    local name=$1 want=$2 one=$3 two=$4 status start took address switches set=0
    shift 4
    rm -f QLOK.log settime ready*
    for address in 127.0.0.2 127.0.0.1; do
        switches=$one && [[ $address == 127.0.0.1 ]] && switches=$two
        [[ $switches == - ]] && continue
        # shellcheck disable=SC2086
        "$daytimed" --address $address --port 13 --count 1 --timeout 60 --quiet \
            --ready-file ready$address $switches &
        await_file ready$address
    done
    start=$EPOCHREALTIME
    env DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent LC_ALL=C.UTF-8 \
        LD_PRELOAD="${first:+$first:}$recorder" QLOK_SETTIME_RECORD="$work/settime" \
        timeout 150 "$sync" >out 2>&1
    status=$?
    took=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
    wait
    echo "[$name] exit status $status after $took s:" && cat out
    [[ -s settime ]] && set=1
    if ((status != want || set != (want == 0))) || ! in_order "$@"; then
        echo "FAIL [$name]: status $status (wanted $want), settime '$(cat settime 2>/dev/null)'" >&2
        failures=$((failures + 1))
    fi
}

try() { echo "^trying server $1 of 2: 127\.0\.0\.$((3 - $1))\$"; }
failover dead-then-good 0 - "--skew 5" "$(try 1)" '^   error received: 10061$' "$(try 2)" \
    '^clock synchronised succesfully$'
failover silent-then-good 0 --silent "--skew 5" "$(try 1)" '^   error received: 10060$' \
    "$(try 2)" '^clock synchronised succesfully$'
failover disagree 1 "--skew 172800" "" "$(try 1)" 'another server must agree' "$(try 2)" \
    '^the servers disagree - clock not set$' '^      127\.0\.0\.2: ' '^      127\.0\.0\.1: '
((failures == 0)) && echo "PASS"
