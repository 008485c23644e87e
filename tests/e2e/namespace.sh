# shellcheck shell=bash
# Sourced by the end-to-end scripts. Re-runs the calling script inside a private user and
# network namespace (unshare -rn): port 13 on 127.0.0.1 is its own there, and clock_settime
# fails with EPERM, so nothing it starts can set the machine's clock. Then brings lo up and
# makes a scratch folder $work, removed on exit with the background jobs. Exit 77 = skipped.
if [[ ${QLOK_IN_NAMESPACE:-} != 1 ]]; then
    unshare -rn true 2>/dev/null || { echo "SKIPPED: 'unshare -rn' does not work here"; exit 77; }
    QLOK_IN_NAMESPACE=1 exec unshare -rn bash "${BASH_SOURCE[1]}" "$@"
fi
# In the first user namespace uid_map maps the whole range.
[[ $(awk '{print $3; exit}' /proc/self/uid_map) != 4294967295 ]] ||
    { echo "FAIL: refusing to run outside a private user namespace" >&2; exit 1; }
ip link set lo up || exit 1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT

# await_file PATH [PID]: waits (at most 15 s) until PATH is not empty; fails sooner if PID ends.
await_file() {
    local deadline=$((SECONDS + 15))
    until [[ -s $1 ]]; do
        ((SECONDS < deadline)) && { [[ -z ${2:-} ]] || kill -0 "$2" 2>/dev/null; } || return 1
        sleep 0.05
    done
}

# fail WHAT: counts a failure and says what (for the case in $tag, when set).
failures=0
fail() { echo "FAIL${tag:+ [$tag]}: $*" >&2 && failures=$((failures + 1)); }

# expect PATTERN...: waits (at most $wait s, 20 by default) until the lines the caller's
# activity function prints hold lines matching these patterns (whole lines), in this order.
expect() {
    local re=$'(^|\n)' pattern deadline=$((SECONDS + ${wait:-20}))
    for pattern; do re+="$pattern"$'\n(.*\n)?'; done
    until [[ $(activity)$'\n' =~ $re ]]; do
        ((SECONDS < deadline)) || { fail "wanted in order:$(printf '\n  [%s]' "$@")" && return 1; }
        sleep 0.2
    done
}
