#!/usr/bin/env bash
# End-to-end run of qlok-sync: "qlok-sync 2" against qlok-daytimed on 127.0.0.1 port 13,
# checked by its exit status, its output and the history.
#
# Usage: qlok_sync_e2e.sh CASE QLOK_SYNC DAYTIMED RECORDER [PRELOAD_FIRST]
#   CASE  in-step | set | refused | bad-reply | no-server | usage
#
# Runs inside a private user and network namespace (unshare -rn), where clock_settime fails
# with EPERM, with no system bus; the preloaded recorder stands in for a successful
# clock_settime in the case "set". Exit 77 = skipped.
set -uo pipefail

test_case=$1
sync=$(realpath "$2")
daytimed=$(realpath "$3")
recorder=$(realpath -m "$4")
preload_first=${5:-}

if [[ ${QLOK_E2E_IN_NAMESPACE:-} != 1 ]]; then
    unshare -rn true 2>/dev/null || { echo "SKIPPED: 'unshare -rn' does not work here"; exit 77; }
    QLOK_E2E_IN_NAMESPACE=1 exec unshare -rn bash "${BASH_SOURCE[0]}" "$@"
fi
if [[ $(awk '{print $3; exit}' /proc/self/uid_map) == 4294967295 ]]; then
    echo "FAIL: refusing to run qlok-sync outside a private user namespace" >&2
    exit 1
fi
ip link set lo up || exit 1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
printf '127.0.0.2\r\n127.0.0.1\r\n' >"QLOK servers.ini" # nothing answers on the first

serve() {
    "$daytimed" --address 127.0.0.1 --port 13 --count 1 --timeout 30 --quiet --ready-file ready \
        "$@" &
    for _ in $(seq 200); do
        [[ -s ready ]] && return
        sleep 0.05
    done
    echo "FAIL [$test_case]: qlok-daytimed did not start" >&2
    exit 1
}

arguments=(2) want=1 preload=
case $test_case in
    in-step) serve && want=0 ;;
    set) serve --skew 5 && want=0 preload=${preload_first:+$preload_first:}$recorder ;;
    refused) serve --skew -5 ;;
    bad-reply) serve --length 50 ;;
    no-server) ;;
    usage) arguments=(2 3) want=2 ;;
    *) echo "unknown case $test_case" >&2 && exit 2 ;;
esac
env DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent LC_ALL=C.UTF-8 TZ=Asia/Kolkata \
    ${preload:+LD_PRELOAD="$preload"} QLOK_SETTIME_RECORD="$work/settime" \
    timeout 60 "$sync" "${arguments[@]}" >out 2>err
status=$?

failures=0
fail() {
    echo "FAIL [$test_case]: $*" >&2
    failures=$((failures + 1))
}
has() { grep -qE "$1" out || fail "no line matches '$1'"; }
history_ends() { [[ $(grep -c "$1"$'\r$' QLOK.log 2>/dev/null) == 1 ]] || fail "QLOK.log: no '$1'"; }

((status == want)) || fail "exit status $status, wanted $want"
case $test_case in
    in-step)
        has '^      Time difference: +	+   00:00:0[01]$'
        [[ -e QLOK.log ]] && fail "in step, yet QLOK.log was written"
        ;;
    set)
        [[ $(tail -n 1 out) == "clock synchronised succesfully" ]] || fail "not set"
        served=$(grep -oE 'received: [0-9-]{10} [0-9:]{8}' out | cut -c11-)
        [[ $(cat settime) == "$(date -u -d "$served" +%s) 0" ]] ||
            fail "clock_settime got '$(cat settime)', the server sent $served UTC"
        history_ends " ok"
        ;;
    refused)
        has '^SetSystemTime failed\. Clock not synchronised$'
        has '^      reason: .*CAP_SYS_TIME'
        history_ends " failed"
        ;;
    bad-reply) has '\(50 bytes\)$' && has 'incorrect data received' ;;
    no-server) has '^   error received: 10061$' ;;
    usage)
        [[ ! -s out && -s err ]] || fail "a usage error is told on standard error alone"
        "$sync" --help | grep -q '^Usage: qlok-sync \[N\]' || fail "--help"
        [[ $("$sync" --version) =~ ^qlok-sync\ [0-9.]+$ ]] || fail "--version"
        ;;
esac
if ((failures)); then
    cat out err >&2
    exit 1
fi
echo "PASS [$test_case]"
