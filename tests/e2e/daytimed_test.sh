#!/usr/bin/env bash
# Checks qlok-daytimed on 127.0.0.1 with a free port: the reply layout, the time
# served, each misbehaviour switch, the self-stop rules and the option errors.
# Usage: daytimed_test.sh PATH/TO/qlok-daytimed
set -uo pipefail

daytimed=${1:?usage: daytimed_test.sh PATH/TO/qlok-daytimed}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
passes=0

check() {  # check NAME CONDITION-COMMAND...
    local name=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        echo "FAIL: $name" >&2
        failures=$((failures + 1))
    fi
}

# fetch ARGS...: starts the server for one connection, reads the whole reply into
# $work/reply and the read's status into $fetch_status; milliseconds in $fetch_ms.
fetch() {
    rm -f "$work/ready" "$work/reply"
    "$daytimed" --port 0 --count 1 --timeout 10 --quiet --ready-file "$work/ready" "$@" &
    local server=$!
    for _ in $(seq 200); do
        [[ -s $work/ready ]] && break
        sleep 0.05
    done
    local start end
    start=$(date +%s%N)
    exec 3<>"/dev/tcp/127.0.0.1/$(cat "$work/ready")"
    cat <&3 >"$work/reply" 2>/dev/null
    fetch_status=$?
    exec 3<&-
    end=$(date +%s%N)
    fetch_ms=$(((end - start) / 1000000))
    wait "$server"
}

reply_size() { stat -c %s "$work/reply"; }

# The served UTC second, from bytes 8 to 24 of the reply.
served_epoch() {
    local line
    line=$(head -c 24 "$work/reply" | tail -c 17)
    date -u -d "20${line:0:8} ${line:9:8}" +%s
}

# --- the plain reply: layout, MJD and time
before=$(date -u +%s)
fetch
after=$(date -u +%s)
check "reply is 51 bytes" [ "$(reply_size)" -eq 51 ]
check "reply in the NIST layout" grep -qzE \
    $'^\n[0-9]{5} [0-9]{2}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} 00 0 0 752.6 UTC\\(NIST\\) \\* \n$' \
    "$work/reply"
served=$(served_epoch)
check "serves the current UTC second" [ "$served" -ge "$before" -a "$served" -le "$after" ]
mjd=$(head -c 6 "$work/reply" | tail -c 5)
check "MJD matches the date" [ "$((10#$mjd))" -eq $((served / 86400 + 40587)) ]

# --- skew, both ways
before=$(date -u +%s)
fetch --skew -3600
check "negative skew" [ "$(($(served_epoch) + 3600))" -ge "$before" -a "$(($(served_epoch) + 3600))" -le "$(date -u +%s)" ]
before=$(date -u +%s)
fetch --skew 86405
check "skew over a day" [ "$(($(served_epoch) - 86405))" -ge "$before" -a "$(($(served_epoch) - 86405))" -le "$(date -u +%s)" ]

# --- misbehaviours
fetch --split 20 --split-delay 300
check "split reply arrives whole" [ "$(reply_size)" -eq 51 ]
check "split reply waits between the parts" [ "$fetch_ms" -ge 280 ]
fetch --length 52
check "length 52 pads with a space" [ "$(reply_size)" -eq 52 -a "$(tail -c 1 "$work/reply")" = " " ]
fetch --length 50
check "length 50 cuts the reply" [ "$(reply_size)" -eq 50 ]
fetch --lf-only
check "lf-only sends one line feed" [ "$(od -An -c "$work/reply" | tr -d ' ')" = '\n' ]
fetch --silent --hold-ms 300
check "silent sends nothing and holds the connection" [ "$(reply_size)" -eq 0 -a "$fetch_ms" -ge 280 ]
fetch --reset
check "reset breaks the connection" [ "$fetch_status" -ne 0 -a "$(reply_size)" -eq 0 ]
fetch --split 10 --reset
check "split then reset sends the first part only" [ "$fetch_status" -ne 0 -a "$(reply_size)" -eq 10 ]

# --- stops by itself
rm -f "$work/ready"
start=$(date +%s%N)
"$daytimed" --port 0 --timeout 1 --quiet --ready-file "$work/ready"
check "timeout stops the server" [ $((($(date +%s%N) - start) / 1000000)) -lt 3000 ]
check "ready file names the port" grep -qxE '[0-9]+' "$work/ready"

"$daytimed" --port 0 --count 2 --timeout 20 --quiet --ready-file "$work/ready2" &
server=$!
for _ in $(seq 200); do [[ -s $work/ready2 ]] && break; sleep 0.05; done
for _ in 1 2; do
    exec 3<>"/dev/tcp/127.0.0.1/$(cat "$work/ready2")" && cat <&3 >/dev/null
    exec 3<&-
done
sleep 0.5
check "count stops the server" bash -c "! kill -0 $server 2>/dev/null"
wait "$server" 2>/dev/null

# --- bad options are refused with status 2 and a reason
for bad in "--port 70000" "--port x" "--skew 1.5" "--count 0" "--split" "--address nowhere" \
    "--frobnicate" "--lf-only --length 3"; do
    # shellcheck disable=SC2086
    message=$("$daytimed" $bad --timeout 1 2>&1 >/dev/null)
    status=$?
    check "refuses $bad" [ "$status" -eq 2 -a -n "$message" ]
done
check "help exits 0" "$daytimed" --help >/dev/null

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
