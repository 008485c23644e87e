#!/usr/bin/env bash
# Start-up against the floor: a bare Qt window, the same window with QLOK's standard controls
# and no logic (what the toolkit itself spends on them), and "qlok 1", started in turn under
# Xvfb, N times each, against qlok-daytimed on 127.0.0.1:13 serving the time 5 s ahead. For each:
# the time from exec to the first window exposed, for qlok also to its clock_settime call
# (recorded, never made), and the peak resident memory. Prints the medians, qlok's ratio to the
# bare window (with the goal) and to the window of controls;
# the CPU time used until each moment is less at the mercy of a loaded machine.
#
# Usage: bench/startup_bench.sh [BUILD_DIR] [N]   (default: build/release, 15)
# On a busy machine a higher priority steadies the figures: sudo nice -n -15 bench/...
#
# Runs in a private user and network namespace (unshare -rn), where the clock cannot be set and
# port 13 is free; the system bus is pointed at nothing, the session bus is a private one.
set -euo pipefail

build=$(realpath "${1:-build/release}")
n=${2:-15}
qlok=$build/src/qt/qlok
bare=$build/bench/qlok_bare_window
controls=$build/bench/qlok_controls_window
daytimed=$build/tools/qlok-daytimed
recorder=$build/tests/e2e/record_settime.so
for file in "$qlok" "$bare" "$controls" "$daytimed" "$recorder"; do
    [[ -x $file || -f $file ]] || { echo "missing $file: build the release preset first" >&2; exit 2; }
done

if [[ ${QLOK_BENCH_IN_NAMESPACE:-} != 1 ]]; then
    QLOK_BENCH_IN_NAMESPACE=1 exec unshare -rn bash "${BASH_SOURCE[0]}" "$build" "$n"
fi
if [[ $(awk '{print $3; exit}' /proc/self/uid_map) == 4294967295 ]]; then
    echo "refusing to run outside a private user namespace" >&2
    exit 1
fi
ip link set lo up
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
printf '127.0.0.1\r\n' >"QLOK servers.ini"

Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>display 2>/dev/null &
pids+=($!)
"$daytimed" --port 13 --skew 5 --timeout $((120 + 4 * n)) --quiet --ready-file ready &
pids+=($!)
for ((i = 0; i < 200; i++)); do
    [[ -s display && -s ready ]] && break
    sleep 0.05
done
DISPLAY=:$(tr -d '[:space:]' <display)
export DISPLAY QT_QPA_PLATFORM=xcb
# A desktop session has its bus; without one, each start would launch a bus of its own.
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 3>session_bus 4>session_pid
pids+=("$(head -n1 session_pid)")
DBUS_SESSION_BUS_ADDRESS=$(head -n1 session_bus)
export DBUS_SESSION_BUS_ADDRESS

# run MARKS PROGRAM ARGS...: one start; prints, for each of the MARKS, the wall-clock ms from
# exec and the CPU ms the process used until then, then the peak resident memory in MB. The
# launcher notes both just before it execs the program (CPU time carries over an exec).
run() {
    local marks=$1
    shift
    QLOK_STARTUP_MARK=1 LD_PRELOAD=$recorder QLOK_SETTIME_RECORD=$work/settime.txt \
        /usr/bin/python3 -S -c 'import os, sys, time
print("startup-mark exec", time.monotonic_ns(), time.process_time_ns(), file=sys.stderr, flush=True)
os.execv(sys.argv[1], sys.argv[1:])' "$@" 2>marks.log &
    local pid=$! mark i
    for mark in $marks; do
        for ((i = 0; i < 1000; i++)); do
            grep -q "^startup-mark $mark " marks.log && break
            sleep 0.01
        done
    done
    sleep 0.2  # let it settle before reading the peak
    local peak
    peak=$(awk '/^VmHWM:/ {print $2 / 1024}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v marks="$marks" -v peak="$peak" '
        $1 == "startup-mark" { wall[$2] = $3; cpu[$2] = $4 }
        END {
            n = split(marks, want, " ")
            for (i = 1; i <= n; i++) {
                m = want[i]
                if (m in wall) printf "%.2f %.2f ", (wall[m] - wall["exec"]) / 1e6, (cpu[m] - cpu["exec"]) / 1e6
                else printf "nan nan "
            }
            print peak
        }' marks.log
}

for ((round = 1; round <= n; round++)); do
    run exposed "$bare" >>bare.txt
    run exposed "$controls" >>controls.txt
    run "exposed clock_settime" "$qlok" 1 >>qlok.txt
done

# median FILE COLUMN (runs without the mark left out)
median() {
    cut -d' ' -f"$2" "$1" | grep -v nan | sort -g |
        awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
# row NAME BARE_COLUMN QLOK_COLUMN GOAL: the medians and qlok's ratios
row() {
    awk -v name="$1" -v bare="$(median bare.txt "$2")" -v controls="$(median controls.txt "$2")" \
        -v qlok="$(median qlok.txt "$3")" -v goal="$4" \
        'BEGIN { printf "%-30s %6.1f %9.1f %7.1f %6.2f %5s %9.2f\n", name, bare, controls, qlok,
                 qlok / bare, goal, qlok / controls }'
}
printf "%-30s %6s %9s %7s %6s %5s %9s\n" "medians of $n starts in turn" bare controls "qlok 1" /bare goal /controls
row "window exposed, ms from exec" 1 1 1.10
row "  CPU ms used until then" 2 2 ""
row "clock_settime, ms from exec" 1 3 1.25
row "  CPU ms used until then" 2 4 ""
row "peak resident memory, MB" 3 5 1.20
