# shellcheck shell=bash
# shellcheck disable=SC2154 # $work, $sync, $daytimed, $recorder and $first: the caller's
# Sourced by the qlok-sync end-to-end scripts, after namespace.sh: runs of the program $sync
# (through $run_with, when set) against qlok-daytimed ($daytimed) on 127.0.0.2 and 127.0.0.1
# port 13, listed in this order in the servers file, in the scratch folder. A run with a clock
# setting has $recorder preloaded (after $first, when set) to record it.
cd "$work" || exit 1
printf '127.0.0.2\r\n127.0.0.1\r\n' >"QLOK servers.ini"

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
    # shellcheck disable=SC2086 # $run_with: words
    env ${preload:+LD_PRELOAD="$preload"} QLOK_SETTIME_RECORD="$work/settime" \
        timeout "${within:-150}" ${run_with:-} "$sync" "${args[@]}" >out 2>&1
    status=$?
    sed -i 's/\r$//' out  # a Windows program ends its lines with CR LF
    awk -v n="$name" -v s=$status -v a="$start" -v b="$EPOCHREALTIME" \
        'BEGIN { printf "[%s] exit status %d after %.2f s\n", n, s, b - a }'
    jobs -p | xargs -r kill 2>/dev/null
    wait
    served=$(date -u -d "$(grep -oE '20[0-9-]{8} [0-9:]{8}' out | head -1)" +%s 2>/dev/null)
    if ((status != want)) || ! in_order "$@" ||
        [[ $history && $(grep -c "$history"$'\r$' QLOK.log) != 1 ]] ||
        [[ ! $history && -e QLOK.log ]] ||
        [[ $history == " ok" && $(cat settime) != "$served 0" ]]; then
        tag=$name fail "status $status (wanted $want), settime '$(cat settime 2>/dev/null)'," \
            "served $served, history '$(cat QLOK.log 2>/dev/null)', output:" && cat out >&2
    fi
}

try() { echo "^trying server $1 of 2: 127\\.0\\.0\\.$((3 - $1))\$"; }
