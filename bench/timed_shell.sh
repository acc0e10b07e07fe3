#!/usr/bin/env bash
# A shell for make (SHELL=...) that times each recipe line it runs into $TIMING_LOG:
# wall seconds, CPU seconds (user + system, children included), the line.
[ "$1" = -c ] && shift
line=$1
measure=$(mktemp)
/usr/bin/time -o "$measure" -f '%e %U %S' bash -c "$line"
status=$?
read -r wall user sys < <(tail -1 "$measure")
rm -f "$measure"
printf '%s\t%s\t%s\n' "$wall" "$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')" \
    "$(echo "$line" | tr '\n\t' '  ')" >> "${TIMING_LOG:-/dev/null}"
exit $status
