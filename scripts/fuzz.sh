#!/usr/bin/env bash
# Builds the preset fuzz (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each fuzz target for SECONDS (default 60) from its seeds in tests/fuzz/corpus/<target>/.
# Fails if any target finds a crash, a leak, undefined behaviour, a hang or a broken rule; the
# input that shows it is kept in build/fuzz/findings/. Inputs found along the way go to
# build/fuzz/corpus/<target>/, so a later run starts from them.
# usage: scripts/fuzz.sh [SECONDS [TARGET...]]   e.g. scripts/fuzz.sh 3600 exchange
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
((${#targets[@]})) || targets=(exchange datetime numbers servers history)

[[ ${QLOK_DEPS_DONE:-} == 1 ]] || bash scripts/deps.sh fuzz || exit 1
# The targets run on the fake front end and set no clock; no system bus either way.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent
if ! cmake --preset fuzz >/dev/null || ! cmake --build --preset fuzz; then
    echo "== fuzz: BUILD FAILED"
    exit 1
fi

status=0
mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
    corpus=build/fuzz/corpus/$target
    log=build/fuzz/$target.log
    mkdir -p "$corpus"
    # nice: the machine stays usable while a long run goes on.
    nice -n 19 "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$target-" \
        "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1
    result=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if ((result == 0)); then
        echo "== fuzz $target: ${runs:-?} executions in $seconds s, no finding"
    else
        status=1
        echo "== fuzz $target: FINDING after ${runs:-?} executions (log: $log)"
        grep -a -E 'ERROR|runtime error|clock set|reads back| is written|SUMMARY|Test unit' "$log" |
            head -20
    fi
done
exit "$status"
