#!/usr/bin/env bash
# qlok.exe end to end under Wine and Xvfb, against qlok-daytimed on 127.0.0.1 port 13:
# a 5-second skew that Wine refuses to set, a stopped server after a wake, the system-menu
# commands and the tray round trip (driven by poke.exe), then a silent install and uninstall.
# qlok's activity lines are read through WINEDEBUG=+debugstr (OutputDebugStringA).
# Runs through wine_run.sh, so all of it is in one private user and network namespace, on a
# throw-away copy of the build's Wine prefix.
# Usage: wine_run.sh PREFIX wine_e2e.sh QLOK_EXE POKE_EXE DAYTIMED INSTALLER
set -uo pipefail
qlok=$(realpath "$1") poke=$(realpath "$2") daytimed=$(realpath "$3") installer=$(realpath "$4")
# shellcheck source-path=SCRIPTDIR source=../e2e/namespace.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/namespace.sh"
trap 'wineserver -k; kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
cp -a "$WINEPREFIX" "$work/prefix" && cd "$work" || exit 1
# Local time 5:30 ahead of UTC and US formats: a mix-up of local time and UTC shows.
export WINEPREFIX=$work/prefix WINEDEBUG=fixme-all,+debugstr,+systray
export TZ=Asia/Kolkata LANG=en_US.UTF-8

Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>display 2>/dev/null &
await_file display && DISPLAY=:$(<display) && export DISPLAY
wineserver -p  # one server for every Wine program of the run

# Wine's log since line $mark, and the activity lines in it.
since() { tail -n +$((mark + 1)) qlok.err; }
activity() { since | sed -n 's/^[0-9a-f]*:warn:debugstr:OutputDebugStringA "\(.*\)\\n"$/\1/p'; }
poke() { wine "$poke" "$@" | tr -d '\r'; }  # its C runtime ends lines with CR LF
ended() {  # ended PID: waits up to 5 s for the program to end, else ends it; its status
    for _ in {1..50}; do kill -0 "$1" 2>/dev/null || { wait "$1"; return; }; sleep 0.1; done
    kill "$1" && return 124
}

# "qlok.exe 1" synchronises at once, with a server 5 s ahead.
printf '127.0.0.1\r\n' >"QLOK servers.ini" && : >qlok.err && mark=0
"$daytimed" --skew 5 --count 1 --timeout 30 --ready-file ready 2>/dev/null &
await_file ready
# The programs it starts are loaded from their files, which this run replaces (below).
WINEDLLOVERRIDES+=";notepad.exe,rundll32.exe=n" wine "$qlok" 1 2>qlok.err & qlok_pid=$!

data='      data received: (20[0-9-]{8} [0-9:]{8})    \(51 bytes\)'
# The difference in the long time format: 12:00:05 AM. Wine grants no right to set the clock,
# so qlok.exe starts qlok-setclock.exe with the server's second and its arrival reading, which
# Wine refuses too.
if expect "$data" '      Time difference: .*12:00:0[45] AM \(Slow\)' \
    'qlok-setclock: [0-9]+ [0-9]+' 'SetSystemTime failed\. Clock not synchronised' \
    '      reason: qlok-setclock\.exe did not set the clock' '      Windows says: .*\(1314\)'; then
    ms=$(since | sed -n 's/.*:err:sync:NtSetSystemTime not allowed: difference \([0-9]*\) ms$/\1/p')
    # Twice (qlok.exe, then qlok-setclock.exe) 5 s, less the part of the served second gone by,
    # less the time the reply took
    [[ $ms =~ ^(3[5-9][0-9][0-9]|4[0-9]{3}|5000)$'\n'(3[5-9][0-9][0-9]|4[0-9]{3}|5000)$ ]] ||
        fail "Wine was asked to move the clock by '$ms' ms"
    [[ $(wc -l <QLOK.log) == 1 && $(grep -c $' failed\r$' QLOK.log) == 1 ]] ||
        fail "QLOK.log is not one line ending ' failed' CR LF: $(od -c QLOK.log)"
    [[ $(activity) =~ $data ]] &&
        served=$(date -d "${BASH_REMATCH[1]} UTC" '+%-m/%-d/%Y %-I:%M:%S %p') &&
        asked="qlok-setclock: $(date -d "${BASH_REMATCH[1]} UTC" +%s) [0-9]+"
    wait=0 expect "${asked:-qlok-setclock was not asked for the served second}"
fi

# The list scrolls sideways as far as its widest line reaches.
read -r extent width < <(poke list)
((${extent:-0} > ${width:-0})) || fail "the list's extent $extent is within its width $width"

# Help and Show Clock run the system's programs: those of the same names planted in the working
# folder must not run. Both are poke.exe, which only notes how it was started.
system=$WINEPREFIX/drive_c/windows/system32
for name in Notepad.exe rundll32.exe; do
    mv "$system/${name,,}" "$system/${name,,}.real" && cp "$poke" "$system/${name,,}" &&
        cp "$poke" "$name"
done
printf 'Help\r\n' >"QLOK instructions.txt"
poke sys:1011 "click:Show Clock"
for _ in {1..100}; do [[ $(wc -l <started.txt) == 2 ]] 2>/dev/null && break; sleep 0.1; done
started=$(sort -f started.txt | tr -d '\r')
[[ $started == 'C:\windows\system32\notepad.exe|Notepad.exe QLOK instructions.txt
C:\windows\system32\rundll32.exe|rundll32.exe shell32.dll,Control_RunDLL timedate.cpl,,0' ]] ||
    fail "Help and Show Clock started:"$'\n'"$started"
rm "QLOK instructions.txt"
for name in notepad rundll32; do mv "$system/$name.exe.real" "$system/$name.exe"; done

# In repeat mode two wakes from sleep bring one resync, 30 s after the first: no server now, so
# a socket error, by its text and its number.
mark=$(wc -l <qlok.err) woke=$SECONDS
poke click:Repeat power:18 power:18
wait=40 expect 'target: 127\.0\.0\.1' 'opening connection' '   error received: .*[a-z].*' \
    '   error received: 10061' 'sockets closed' && poke "click:Stop Repeat"
((SECONDS - woke >= 29 && $(activity | grep -c '^target: ') == 1)) ||
    fail "not one resync 30 s after the wake: $((SECONDS - woke)) s, $(activity | grep target)"

mark=$(wc -l <qlok.err)
caption="caption=QLOK ${served:-?} 12:00:0[45] AM (Slow) failed"
out=$(poke sys:1013 window:About sys:1011 window:Help sys:1010 shown:0 tray:514 shown:1 close)
want="window:About QLOK, Internet time sysnchronisation for all Windows versions.*
window:Help QLOK, Help file not found
shown:0 iconic=1 $caption
shown:1 iconic=0 $caption"
# shellcheck disable=SC2053 # a pattern
[[ $out == $want ]] || fail "system menu and tray:"$'\n'"$out"
[[ $(since | grep -o 'NotifyIconW dwMessage = [0-9]' | tr -dc 0-9) == 02 ]] ||
    fail "the tray icon was not added, then deleted: $(since | grep Shell_Notify)"
ended "$qlok_pid" || fail "qlok.exe did not end with status 0 but $?"

# The silent install with the scheduled task; the shortcut starts qlok.exe in the user's folder
# that holds the help. Wine keeps the task's description but not its triggers, account or
# command: those are read from the definition the installer handed to schtasks.
wine "$installer" /S /TASK || fail "the installer failed"
program=$WINEPREFIX/drive_c/Program\ Files/QLOK
folder=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/QLOK')
[[ -f $program/qlok.exe && -f $program/qlok-sync.exe && -f $program/qlok-setclock.exe &&
    -f $folder/QLOK\ instructions.txt ]] || fail "not installed"
task=$WINEPREFIX/drive_c/windows/system32/tasks/QLOK\ sync data=$WINEPREFIX/drive_c/ProgramData/QLOK
definition=$(iconv -f UTF-16 -t UTF-8 "$program/QLOK sync task.xml" | tr -d '\r')
for want in '<Command>"C:\Program Files\QLOK\qlok-sync.exe"</Command>' '<UserId>S-1-5-18</UserId>' \
    '<WorkingDirectory>C:\ProgramData\QLOK</WorkingDirectory>' '<Interval>PT4H</Interval>'; do
    [[ $definition == *"$want"* ]] || fail "the task definition lacks $want"
done
grep -q 'QLOK servers.ini in C:\\ProgramData\\QLOK<' "$task" || fail "no task registered"
[[ -f $data/QLOK\ instructions.txt ]] || fail "no help in %ProgramData%\\QLOK"
shortcut=$(find "$WINEPREFIX/drive_c/users" -name QLOK.lnk)
strings -a -el "$shortcut" | grep -qx '.C:\\users\\[^\\]*\\AppData\\Local\\QLOK' ||
    fail "the Start-menu shortcut does not start QLOK in %LOCALAPPDATA%\\QLOK"
(cd "$folder" && exec wine "$program/qlok.exe" 2>/dev/null) & qlok_pid=$!
out=$(poke sys:1011 "window:QLOK instructions.txt - Notepad" close)
[[ $out == "window:QLOK instructions.txt - Notepad " ]] ||
    fail "Help in the shortcut's folder: $out"
ended "$qlok_pid" || fail "the installed qlok.exe did not end with status 0 but $?"
printf 'Kept\r\n' >"$data/QLOK servers.ini"
wine "$program/Uninstall.exe" /S
for _ in {1..100}; do [[ -e $program || -e $folder ]] || break && sleep 0.1; done
[[ -e $program || -e $folder || -e $task ]] &&
    fail "the uninstaller left $(find "$program" "$folder" "$task")"
[[ $(ls "$data") == "QLOK servers.ini" ]] || fail "%ProgramData%\\QLOK holds: $(ls "$data")"

((failures == 0)) || { cat qlok.err >&2 && exit 1; }
echo PASS
