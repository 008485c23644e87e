#!/usr/bin/env bash
# The help text of each desktop. Usage: help_texts_test.sh SOURCE_DIR CHECK
#   linux-only  the Windows text names nothing that only the Linux desktop has
#   headings    both texts have the same headings in the same order (the desktop's name aside)
set -u
linux="$1/QLOK instructions.txt" windows="$1/dist/windows/QLOK instructions.txt"
case $2 in
linux-only)
    found=$(grep -n -i -E -e 'linux|systemd|timedate|cron|CAP_SYS_TIME|setcap|polkit|sudo|root' \
        -e 'context menu|menu key|QT_LOGGING|terminal|autostart|desktop' "$windows")
    [[ -z $found ]] || { printf 'FAIL: the Windows help text names:\n%s\n' "$found"; exit 1; } ;;
headings)
    headings() { grep -B1 -E '^(=+|-+)$' "$1" | grep -v -E '^(=+|-+)$' | sed 's/ (.*)$//'; }
    diff <(headings "$linux") <(headings "$windows") || { echo "FAIL: other headings"; exit 1; } ;;
esac
