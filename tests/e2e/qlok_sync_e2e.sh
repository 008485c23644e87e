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
# shellcheck source-path=SCRIPTDIR source=sync_check.sh
source "$(dirname "${BASH_SOURCE[0]}")/sync_check.sh"
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent LC_ALL=C.UTF-8 TZ=Asia/Kolkata

closed='^sockets closed$'
check in-step 0 - "" 2 "" $'^      Time difference: +\t\t   00:00:0[01]$'
check refused 1 "" "--skew -5" 2 " failed" "$(try 2)" '^      reason: .*CAP_SYS_TIME' \
    'Operation not permitted$'
check usage 2 - - "2 3" "" '^Try .qlok-sync --help'
check help 0 - - --help "" '^Usage: qlok-sync \[--once\] \[N\]$' '2 usage error\.$'
check once 1 "" - "--once 2" "" '^target: 127\.0\.0\.1$' "$closed"
check dead-then-good 0 - "--skew 5" "" " ok" "$(try 1)" '^   error received: 10061$' \
    "$(try 2)" '^clock synchronised succesfully$'
check silent-then-good 0 --silent "--skew 5" "" " ok" "$(try 1)" '^   error received: 10060$' \
    "$(try 2)" '^clock synchronised succesfully$'
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
"$sync" 2 >&- 2>err &
# Once connected (the loader may borrow the number while it starts), fd 1 is looked at.
until [[ $(ls -l /proc/$!/fd) == *socket:* ]] || ! kill -0 $!; do sleep 0.01; done 2>/dev/null
stdout=$(readlink /proc/$!/fd/1)
if ! wait $! || [[ $stdout != /dev/null ]]; then
    tag=closed-stdout fail "standard output was '$stdout'" && cat err >&2
fi
((failures == 0)) && echo "PASS"
