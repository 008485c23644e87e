#!/usr/bin/env bash
# End-to-end run of the real qlok program under Xvfb against qlok-daytimed on 127.0.0.1 port 13,
# whose clock is 5 s ahead, read through the qlok.activity log. It is started as
# "qlok -platform x -reverse": Qt's options are the logic's, which takes them for no number, so
# it picks the first server and synchronises at once.
#
# Usage: qlok_e2e.sh QLOK DAYTIMED RECORDER [PRELOAD_FIRST]
#   RECORDER       record_settime.so, preloaded into qlok
#   PRELOAD_FIRST  a library that has to come first in LD_PRELOAD (libasan)
#
# Everything runs inside a private user and network namespace (unshare -rn):
# port 13 on 127.0.0.1 is ours alone, and clock_settime fails there with EPERM,
# so nothing here can set the machine's clock. The recorder stands in for a
# successful clock_settime call. Exit 77 = skipped.
set -uo pipefail

(($# >= 3)) || { echo "usage: qlok_e2e.sh QLOK DAYTIMED RECORDER [PRELOAD_FIRST]" >&2; exit 2; }
qlok=$(realpath "$1") daytimed=$(realpath "$2") recorder=$(realpath -m "$3") first=${4:-}

# shellcheck source-path=SCRIPTDIR source=namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/namespace.sh"

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

"$daytimed" --address 127.0.0.1 --port 13 --skew 5 --count 1 --timeout 60 \
    --ready-file "$work/ready" 2>"$work/daytimed.log" &
started qlok-daytimed "$work/ready" "$work/daytimed.log"

# --- qlok itself, in the UK formats and a zone 5:30 ahead of UTC, so that a mix-up
# of local time and UTC shows; no system bus to reach
: >"$work/qlok.stderr"
env DISPLAY="$display" QT_QPA_PLATFORM=xcb QT_FORCE_STDERR_LOGGING=1 \
    QT_LOGGING_RULES="qlok.activity.debug=true" LC_ALL=en_GB.UTF-8 TZ=Asia/Kolkata \
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent LD_PRELOAD="${first:+$first:}$recorder" \
    QLOK_SETTIME_RECORD="$work/settime.txt" "$qlok" -platform x -reverse \
    >"$work/qlok.stdout" 2>"$work/qlok.stderr" &
qlok_pid=$!

data='      data received: (20[0-9-]{8} [0-9:]{8})    \(51 bytes\)'
if expect 'target: 127\.0\.0\.1' "$data" '   sockets closed' '      Time difference: .*' \
    'clock synchronised succesfully' && [[ $(activity) =~ $data ]]; then
    # The clock is set to the served UTC second; the caption shows it as local time (short
    # date, long time), with the offset and direction.
    served=$(date -u -d "${BASH_REMATCH[1]}" +%s)
    recorded=$(cat "$work/settime.txt" 2>/dev/null)
    [[ $recorded == "$served 0" ]] ||
        fail "clock_settime got '$recorded', wanted '$served 0' (the server's UTC second)"
    want="QLOK $(LC_ALL=en_GB.UTF-8 TZ=Asia/Kolkata date -d "@$served" '+%x %X') 00:00:0"
    caption=$(DISPLAY=$display xdotool search --name '^QLOK ' getwindowname 2>/dev/null | head -1)
    [[ $caption == "$want"[45]" (Slow)" ]] || fail "caption '$caption', wanted '${want}5 (Slow)'"
fi

kill -0 "$qlok_pid" 2>/dev/null || fail "qlok ended by itself (it is a window that stays open)"
((failures == 0)) && echo "PASS" && exit 0
echo "--- qlok stderr" >&2 && cat "$work/qlok.stderr" >&2
echo "--- qlok-daytimed" >&2 && cat "$work/daytimed.log" >&2
exit 1
