#!/usr/bin/env bash
# End-to-end runs of qlok-sync against qlok-daytimed on 127.0.0.2 and 127.0.0.1 port 13 (the
# servers file lists them in this order): one for each exit status, and runs that move on from
# a first server that fails; each checked by the status, the printed lines, the history and the
# recorded clock setting, and printed with the time it took.
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
printf '127.0.0.2\r\n127.0.0.1\r\n' >"QLOK servers.ini"
failures=0

# in_order PATTERN...: the output has lines matching the patterns in this order, the last one
# on its last line.
in_order() {
    local from=1 at pattern
    for pattern; do
        at=$(tail -n +"$from" out | grep -nE -m1 -- "$pattern" | cut -d: -f1)
        [[ $at ]] || return 1
        from=$((from + at))
    done
    ((from > $(wc -l <out)))
}

# check NAME STATUS SWITCHES_2 SWITCHES_1 ARGUMENTS HISTORY LINE...: runs "qlok-sync ARGUMENTS"
# (words as the shell reads them) with a server on 127.0.0.2 and one on 127.0.0.1 started with
# these switches (- for none), then the commands in $prepare, for at most $within seconds (150);
# wants STATUS, the LINEs in this order (the last one last), and QLOK.log ending in HISTORY ("" for
# no QLOK.log). A server still waiting at the end was not asked.
check() {
    local name=$1 want=$2 history=$6 status served preload='' address switches start args
    eval "args=($5)"
    local servers=([2]=$3 [1]=$4)
    shift 6
    [[ $history == " ok" ]] && preload=${first:+$first:}$recorder
    rm -f QLOK.log settime ready*
    for address in 2 1; do
        switches=${servers[address]}
        [[ $switches == - ]] && continue
        # shellcheck disable=SC2086
        "$daytimed" --address 127.0.0.$address --port 13 --count 1 --timeout 60 --quiet \
            --ready-file ready$address $switches &
        await_file ready$address
    done
    eval "${prepare:-}"
    start=$EPOCHREALTIME
    env DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent LC_ALL=C.UTF-8 TZ=Asia/Kolkata \
        ${preload:+LD_PRELOAD="$preload"} QLOK_SETTIME_RECORD="$work/settime" \
        timeout "${within:-150}" "$sync" "${args[@]}" >out 2>&1
    status=$?
    awk -v n="$name" -v s=$status -v a="$start" -v b="$EPOCHREALTIME" \
        'BEGIN { printf "[%s] exit status %d after %.2f s\n", n, s, b - a }'
    jobs -p | xargs -r kill 2>/dev/null
    wait
    served=$(date -u -d "$(grep -oE '20[0-9-]{8} [0-9:]{8}' out | head -1)" +%s 2>/dev/null)
    if ((status != want)) || ! in_order "$@" ||
        [[ $history && $(grep -c "$history"$'\r$' QLOK.log) != 1 ]] ||
        [[ ! $history && -e QLOK.log ]] ||
        [[ $history == " ok" && $(cat settime) != "$served 0" ]]; then
        echo "FAIL [$name]: status $status (wanted $want), settime '$(cat settime 2>/dev/null)'," \
            "served $served, history '$(cat QLOK.log 2>/dev/null)', output:" >&2
        cat out >&2
        failures=$((failures + 1))
    fi
}

try() { echo "^trying server $1 of 2: 127\\.0\\.0\\.$((3 - $1))\$"; }
closed='^sockets closed$'
check in-step 0 - "" 2 "" $'^      Time difference: +\t\t   00:00:0[01]$'
check refused 1 "" "--skew -5" 2 " failed" "$(try 2)" '^      reason: .*CAP_SYS_TIME' \
    'Operation not permitted$'
check bad-reply 1 - "--length 50" 2 "" "$(try 2)" '^      incorrect data received' "$(try 1)" \
    '^   error received: 10061$' "$closed"
check usage 2 - - "2 3" "" '^Try .qlok-sync --help'
check help 0 - - --help "" '^Usage: qlok-sync \[--once\] \[N\]$' '2 usage error\.$'
check once 1 "" - "--once 2" "" '^target: 127\.0\.0\.1$' "$closed"
check dead-then-good 0 - "--skew 5" "" " ok" "$(try 1)" '^   error received: 10061$' \
    "$(try 2)" '^clock synchronised succesfully$'
check silent-then-good 0 --silent "--skew 5" "" " ok" "$(try 1)" '^   error received: 10060$' \
    "$(try 2)" '^clock synchronised succesfully$'
check disagree 1 "--skew 172800" "" "" "" "$(try 1)" 'another server must agree' "$(try 2)" \
    '^the servers disagree - clock not set$' '^      127\.0\.0\.2: ' '^      127\.0\.0\.1: '
check empty-number 2 - - '""' "" '^qlok-sync: the server number is empty$' '^Try .qlok-sync --help'
# A server that never stops sending is cut off once the reply is too long, not after 30 s.
within=10 check flood 1 - --flood 2 "" "$(try 2)" \
    '^      reply too long \([0-9]+ bytes, a reply has 51\) - no more is read$' "$(try 1)" \
    '^   error received: 10061$' "$closed"
# Another program holds the lock on QLOK.log throughout: the line is written after a short wait.
prepare=': >QLOK.log && flock QLOK.log -c "echo \$\$ >locked && exec sleep 60" & await_file locked' \
    within=10 check locked-history 0 - "--skew 5" 2 " ok" "$(try 2)" '^clock synchronised succesfully$'
kill "$(cat locked)"

# Standard output closed: /dev/null takes its number, not the next descriptor opened.
"$daytimed" --count 1 --quiet --ready-file ready2 --split 10 --split-delay 800 &
await_file ready2
env DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent "$sync" 2 >&- 2>err &
# Once connected (the loader may borrow the number while it starts), fd 1 is looked at.
until [[ $(ls -l /proc/$!/fd) == *socket:* ]] || ! kill -0 $!; do sleep 0.01; done 2>/dev/null
stdout=$(readlink /proc/$!/fd/1)
if ! wait $! || [[ $stdout != /dev/null ]]; then
    echo "FAIL [closed-stdout]: standard output was '$stdout'" >&2 && cat err >&2
    failures=$((failures + 1))
fi
((failures == 0)) && echo "PASS"
