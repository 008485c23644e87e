#!/usr/bin/env bash
# Builds and runs every test: first the optimised build with warnings as errors
# (preset ci), then the AddressSanitizer + UndefinedBehaviorSanitizer build
# (preset asan). Exits non-zero if any build or test fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
for preset in ci asan; do
    start=$SECONDS
    echo "== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset: built in $((SECONDS - start)) s; test"
    ctest --preset "$preset" --parallel "$jobs"
done
