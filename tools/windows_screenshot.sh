#!/usr/bin/env bash
# Writes a picture of qlok.exe's window under Wine after a sync against qlok-daytimed with a
# 5-second skew (refused: Wine never sets the clock), in a Wine virtual desktop, so that
# the frame is Windows' own. Runs through the Windows build's Wine runner, in a private
# namespace on a copy of its prefix:
#   bash tests/win32/wine_run.sh build/win32/wineprefix tools/windows_screenshot.sh \
#       build/win32/src/win32/qlok.exe build/win32/tests/win32/qlok-daytimed docs/windows.png
set -uo pipefail
qlok=$(realpath "$1") daytimed=$(realpath "$2") picture=$(realpath -m "$3")
work=$(mktemp -d)
trap 'wineserver -k; kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
cp -a "$WINEPREFIX" "$work/prefix" && cd "$work" || exit 1
export WINEPREFIX=$work/prefix WINEDEBUG=fixme-all,+debugstr LANG=en_US.UTF-8
Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>display 2>/dev/null &
until [[ -s display ]]; do sleep 0.1; done
DISPLAY=:$(<display) && export DISPLAY

printf 'time.example.org\r\n127.0.0.1\r\n' >"QLOK servers.ini"
"$daytimed" --skew 5 --count 1 --timeout 30 --ready-file ready 2>/dev/null &
until [[ -s ready ]]; do sleep 0.1; done
wine explorer /desktop=QLOK,1000x700 "$qlok" 2 2>qlok.err &
until grep -qs '"      reason: ' qlok.err; do sleep 0.2; done
sleep 1  # painted
# The desktop around the window is one colour: trimmed away.
import -window root screen.png
convert screen.png -crop 1000x700+0+0 +repage -fuzz 2% -trim +repage "$picture"
