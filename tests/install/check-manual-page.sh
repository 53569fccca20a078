#!/bin/sh
# The manual page (plain or compressed) renders without a single warning from man or groff, shows
# every section a player looks for (the game's, or those named after the page), and has the NAME
# line whatis reads ("PROGRAM - what it does").
# Usage: check-manual-page.sh PAGE [SECTION...]
set -eu
page=$1
shift
if [ $# -eq 0 ]; then set -- NAME SYNOPSIS DESCRIPTION "KEYS AND MOUSE" FILES ENVIRONMENT "EXIT STATUS"; fi
program=$(basename "$page" .gz)
program=${program%.6}
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" >"$out" 2>"$err"
if [ -s "$err" ]; then
    echo "warnings while rendering $page:"
    cat "$err"
    exit 1
fi
for section in "$@"; do
    grep -qx "$section" "$out" || { echo "$page: no section $section"; exit 1; }
done
grep -q "^ *$program - [a-z]" "$out" || { echo "$page: the NAME line is not what whatis reads"; exit 1; }
