#!/usr/bin/env bash
# Builds QLOK (optimised) and starts it in the current directory, where it reads
# "QLOK servers.ini" and writes "QLOK.log". Arguments go to the program:
# "scripts/run.sh 2" synchronises at once with the second server of the list.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh" run
(
    cd "$root"
    cmake --preset release >/dev/null
    cmake --build --preset release
)
exec "$root/build/release/src/qt/qlok" "$@"
