#!/usr/bin/env bash
# Small hostile thesaurus, autocorrect and AutoText inputs, generated here, each run
# under a memory limit and a time limit: every run must end with its result or a clear
# refusal, never an abort, a hang or a file its reader refuses. Prints each run's peak
# memory.
# Usage: hostile_lists.sh LEXALOOM_CLI   (LEXALOOM_HOSTILE_LIMIT_KB: the limit, default 1 GB)
set -u
cli=$1
limit=${LEXALOOM_HOSTILE_LIMIT_KB:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
header='<?xml version="1.0" encoding="UTF-8" ?> <block-list:block-list xmlns:block-list="http://openoffice.org/2001/block-list">'

# bounded NAME SECONDS EXPECTED_STATUS PATTERN COMMAND...: runs the command under the
# limits; its exit status and one line of its output (or standard error) are checked.
bounded() {
    local name=$1 seconds=$2 expected=$3 pattern=$4
    shift 4
    (
        ulimit -v "$limit"
        exec /usr/bin/time -f '%M' -o "$work/peak" timeout "$seconds" "$@"
    ) >"$work/out" 2>"$work/err"
    local status=$?
    local peak
    peak=$(tail -1 "$work/peak" 2>/dev/null)
    if [ "$status" != "$expected" ]; then
        fail "$name: exit status $status, not $expected: $(head -c 300 "$work/err")"
    elif ! grep -q -- "$pattern" "$work/out" "$work/err"; then
        fail "$name: no \"$pattern\" in: $(head -c 300 "$work/out") $(head -c 300 "$work/err")"
    else
        echo "$name: ok, peak ${peak} KB"
    fi
}

# A thesaurus to import into.
printf 'UTF-8\nold|1\n(noun)|x\n' >"$work/th.dat"

# Bulk import of one line of ten million commas: refused, nothing written.
head -c 10000000 /dev/zero | tr '\0' ',' >"$work/commas.txt"
bounded "thesaurus bulk import, a line of 10 M commas" 60 2 "Line 1: No synonym text." \
    "$cli" bulk-import --mode thesaurus --into "$work/th.dat" "$work/commas.txt" "$work/commas-out"
[ ! -e "$work/commas-out/th.dat" ] || fail "the refused import wrote a thesaurus"
awk 'BEGIN { printf "a"; for (i = 0; i < 200; i++) printf ",s%d", i; print "" }' >"$work/wide.txt"
bounded "thesaurus bulk import, 200 meanings" 60 2 "Line 1: Synonym has more than 100 meanings." \
    "$cli" bulk-import --mode thesaurus --into "$work/th.dat" "$work/wide.txt" "$work/wide-out"

# Bulk import of a NUL and other characters XML forbids into an autocorrect list.
printf '%s\n  <block-list:block block-list:abbreviated-name="teh" block-list:name="the"/>\n</block-list:block-list>\n' \
    "$header" >"$work/DocumentList.xml"
printf 'adn,and\nnul,a\000b\n' >"$work/nul.txt"
bounded "autocorrect bulk import, a NUL" 60 2 "Line 2: The character U+0000 can't be written to an autocorrect list." \
    "$cli" bulk-import --mode autocorrect --into "$work/DocumentList.xml" "$work/nul.txt" "$work/nul-out"
[ ! -e "$work/nul-out/DocumentList.xml" ] || fail "the refused import wrote a list"

[ "$failures" -eq 0 ] && echo "every hostile input ended within its limits"
exit $((failures > 0))
