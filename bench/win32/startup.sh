#!/usr/bin/env bash
# Start-up time of qlok.exe under Wine against a bare Win32 window, in the same run: from
# the start of the program until its window is on the (Xvfb) screen, with one warm Wine
# server, the two programs alternating; prints the median of each and the size of qlok.exe.
# Runs through the Windows build's Wine runner, in a private namespace on a copy of its prefix:
#   bash tests/win32/wine_run.sh build/win32/wineprefix bench/win32/startup.sh \
#       build/win32/src/win32/qlok.exe \
#       build/win32/bench/win32/qlok_bare_window_win32.exe [RUNS]
set -uo pipefail
qlok=$(realpath "$1") bare=$(realpath "$2") runs=${3:-15}
work=$(mktemp -d)
trap 'wineserver -k; kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
cp -a "$WINEPREFIX" "$work/prefix" && cd "$work" || exit 1
export WINEPREFIX=$work/prefix
Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>display 2>/dev/null &
until [[ -s display ]]; do sleep 0.1; done
DISPLAY=:$(<display) && export DISPLAY
wineserver -p

# milliseconds PROGRAM TITLE: from its start until a window of that title is shown.
milliseconds() {
    local start pid
    start=$(date +%s%N)
    wine "$1" 2>/dev/null &
    pid=$!
    until xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do sleep 0.005; done
    echo $((($(date +%s%N) - start) / 1000000))
    kill "$pid"
    wait "$pid" 2>/dev/null
    # gone from the screen too, so that the next run cannot find it
    while xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; do sleep 0.005; done
}
# figures FILE: median and fastest of its lines; the fastest is the steadier on a busy machine.
figures() {
    sort -n "$1" |
        awk '{ v[NR] = $1 } END { printf "median %d ms, fastest %d ms", v[int((NR + 1) / 2)], v[1] }'
}

milliseconds "$bare" bare >/dev/null; milliseconds "$qlok" QLOK >/dev/null  # warm-up
: >bare.ms && : >qlok.ms
for ((i = 0; i < runs; i++)); do
    if ((i % 2)); then
        milliseconds "$qlok" QLOK >>qlok.ms && milliseconds "$bare" bare >>bare.ms
    else
        milliseconds "$bare" bare >>bare.ms && milliseconds "$qlok" QLOK >>qlok.ms
    fi
done
echo "qlok.exe: $(stat -c %s "$qlok") bytes"
echo "start-up under Wine, $runs runs each:"
echo "  bare window: $(figures bare.ms)"
echo "  qlok.exe:    $(figures qlok.ms)"
echo "bare: $(tr '\n' ' ' <bare.ms)"
echo "qlok: $(tr '\n' ' ' <qlok.ms)"
