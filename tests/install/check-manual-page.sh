#!/bin/sh
# The manual page (plain or compressed) renders without a single warning from man or groff, and
# shows every section a player looks for.
set -eu
page=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" >"$out" 2>"$err"
if [ -s "$err" ]; then
    echo "warnings while rendering $page:"
    cat "$err"
    exit 1
fi
for section in NAME SYNOPSIS DESCRIPTION "KEYS AND MOUSE" FILES ENVIRONMENT "EXIT STATUS"; do
    grep -qx "$section" "$out" || { echo "$page: no section $section"; exit 1; }
done
grep -q "marshwade - hop a frog" "$out" || { echo "$page: the NAME line is not what whatis reads"; exit 1; }
