#!/usr/bin/env bash
# End-to-end run of the real qlok program: "qlok 1" under Xvfb against
# qlok-daytimed on 127.0.0.1 port 13, read through the qlok.activity log. Without
# a server it runs as "qlok -platform x -reverse": Qt's options are the logic's.
#
# Usage: qlok_e2e.sh CASE QLOK DAYTIMED RECORDER [PRELOAD_FIRST]
#   CASE           no-server | skew-recorded
#   RECORDER       record_settime.so, preloaded in skew-recorded
#   PRELOAD_FIRST  a library that has to come first in LD_PRELOAD (libasan)
#
# Everything runs inside a private user and network namespace (unshare -rn):
# port 13 on 127.0.0.1 is ours alone, and clock_settime fails there with EPERM,
# so nothing here can set the machine's clock. The recorder stands in for a
# successful clock_settime call. Exit 77 = skipped.
set -uo pipefail

(($# >= 4)) || { echo "usage: qlok_e2e.sh CASE QLOK DAYTIMED RECORDER [PRELOAD_FIRST]" >&2; exit 2; }
test_case=$1 qlok=$(realpath "$2") daytimed=$(realpath "$3") recorder=$(realpath -m "$4")
preload_first=${5:-}

# shellcheck source-path=SCRIPTDIR source=namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/namespace.sh"

tag=$test_case
# started WHAT PATH LOG: waits until the last background job has written PATH; if it ends
# first or takes too long, shows LOG and stops here.
started() {
    await_file "$2" $! || { fail "$1 did not start" && cat "$3" >&2 && exit 1; }
}

# The activity list lines qlok logged so far, without the category prefix.
activity() { sed -n 's/^qlok\.activity: //p' "$work/qlok.stderr"; }

# --- the scene: servers file, display, Daytime server
cd "$work" && printf '127.0.0.1\r\n' >"QLOK servers.ini" || exit 1

Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>"$work/display" 2>"$work/xvfb.log" &
started Xvfb "$work/display" "$work/xvfb.log"
display=:$(tr -d '[:space:]' <"$work/display")

args=(1) preload=
case $test_case in
    no-server) args=(-platform x -reverse) ;;
    skew-recorded)
        "$daytimed" --address 127.0.0.1 --port 13 --skew 5 --count 1 --timeout 60 \
            --ready-file "$work/ready" 2>"$work/daytimed.log" &
        started qlok-daytimed "$work/ready" "$work/daytimed.log"
        preload=${preload_first:+$preload_first:}$recorder
        ;;
    *) echo "unknown case $test_case" >&2 && exit 2 ;;
esac

# --- qlok itself, in the UK formats and a zone 5:30 ahead of UTC, so that a mix-up
# of local time and UTC shows; no system bus to reach
: >"$work/qlok.stderr"
env DISPLAY="$display" QT_QPA_PLATFORM=xcb QT_FORCE_STDERR_LOGGING=1 \
    QT_LOGGING_RULES="qlok.activity.debug=true" LC_ALL=en_GB.UTF-8 TZ=Asia/Kolkata \
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent ${preload:+LD_PRELOAD="$preload"} \
    QLOK_SETTIME_RECORD="$work/settime.txt" "$qlok" "${args[@]}" >"$work/qlok.stdout" 2>"$work/qlok.stderr" &
qlok_pid=$!

case $test_case in
    no-server)
        expect 'target: 127\.0\.0\.1' '   error received: 10061' 'sockets closed'
        ;;
    skew-recorded)
        data='      data received: (20[0-9-]{8} [0-9:]{8})    \(51 bytes\)'
        if expect "$data" '   sockets closed' '      Time difference: .*' \
            'clock synchronised succesfully' && [[ $(activity) =~ $data ]]; then
            # The clock is set to the served UTC second; the caption shows it as local time
            # (short date, long time), with the offset and direction.
            served=$(date -u -d "${BASH_REMATCH[1]}" +%s)
            recorded=$(cat "$work/settime.txt" 2>/dev/null)
            [[ $recorded == "$served 0" ]] ||
                fail "clock_settime got '$recorded', wanted '$served 0' (the server's UTC second)"
            want="QLOK $(LC_ALL=en_GB.UTF-8 TZ=Asia/Kolkata date -d "@$served" '+%x %X') 00:00:0"
            caption=$(DISPLAY=$display xdotool search --name '^QLOK ' getwindowname 2>/dev/null | head -1)
            [[ $caption == "$want"[45]" (Slow)" ]] ||
                fail "caption '$caption', wanted '${want}5 (Slow)'"
        fi
        ;;
esac

kill -0 "$qlok_pid" 2>/dev/null || fail "qlok ended by itself (it is a window that stays open)"
((failures == 0)) && echo "PASS [$test_case]" && exit 0
echo "--- qlok stderr" >&2 && cat "$work/qlok.stderr" >&2
[[ -f $work/daytimed.log ]] && echo "--- qlok-daytimed" >&2 && cat "$work/daytimed.log" >&2
exit 1
