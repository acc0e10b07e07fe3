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

# An AutoText catalogue whose 20,000 entries name one 1 MB content file: read once.
mkdir -p "$work/at/p"
awk 'BEGIN { printf "<office:document xmlns:text=\"t\"><office:body>"
             for (i = 0; i < 60000; i++) printf "<text:p>line %d</text:p>", i
             print "</office:body></office:document>" }' >"$work/at/p/content.xml"
awk 'BEGIN { printf "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\">"
             for (i = 0; i < 20000; i++)
                 printf "<block-list:block block-list:abbreviated-name=\"e%d\" block-list:package-name=\"p\" block-list:name=\"n\"/>", i
             print "</block-list:block-list>" }' >"$work/at/BlockList.xml"
bounded "AutoText, 20,000 entries naming one 1 MB content file" 60 0 "^20000" \
    "$cli" autotext-list "$work/at/BlockList.xml"

# A content file of 30 MB of ">" (quadratic once: minutes), and one that is a FIFO
# (opening it waited for a writer forever).
mkdir -p "$work/gt/p"
head -c 30000000 /dev/zero | tr '\0' '>' >"$work/gt/p/content.xml"
printf '<block-list:block block-list:abbreviated-name="g" block-list:package-name="p" block-list:name="n"/>\n' \
    >"$work/gt/BlockList.xml"
bounded "AutoText, a content file of 30 MB of \">\"" 30 0 "^1" "$cli" autotext-list "$work/gt/BlockList.xml"
mkdir -p "$work/fifo/p"
mkfifo "$work/fifo/p/content.xml"
cp "$work/gt/BlockList.xml" "$work/fifo/BlockList.xml"
bounded "AutoText, a content file that is a FIFO" 20 0 "^1" "$cli" autotext-list "$work/fifo/BlockList.xml"

# Combine on 30,000 entries of 100 one-word meanings (20 MB) asks for gigabytes.
awk 'BEGIN { print "UTF-8"
             for (i = 0; i < 30000; i++) { print "w" i "|100"; for (j = 0; j < 100; j++) print "s" j } }' \
    >"$work/wide.dat"
bounded "thesaurus combine, 30,000 entries of 100 meanings" 120 1 "Not enough memory to combine the synonyms" \
    "$cli" thesaurus-tool combine "$work/wide.dat" "$work/wide-combined.dat"
[ ! -e "$work/wide-combined.dat" ] || fail "the refused combine wrote a thesaurus"

# 8 M blank lines take no memory (the reader keeps no entry for them); 100,000 copies of
# one pair mapped to itself (7 MB) made step 4 of AC Validate list 10^10 lines.
{
    echo "$header"
    head -c 8000000 /dev/zero | tr '\0' '\n'
    echo '</block-list:block-list>'
} >"$work/blank.xml"
printf 'SET UTF-8\n' >"$work/tiny.aff"
printf '1\nword\n' >"$work/tiny.dic"
bounded "AC Validate, 8 M blank lines" 120 2 "No autocorrect words found." \
    "$cli" validate-autocorrect "$work/blank.xml" "$work/tiny.dic"
{
    echo "$header"
    awk 'BEGIN { for (i = 0; i < 100000; i++) print "  <block-list:block block-list:abbreviated-name=\"a\" block-list:name=\"a\"/>" }'
    echo '</block-list:block-list>'
} >"$work/same.xml"
bounded "AC Validate, 100,000 copies of a -> a" 120 2 "Not enough memory to list the 10,000,000,000 issues of step 4." \
    "$cli" validate-autocorrect "$work/same.xml" "$work/tiny.dic"
bounded "autocorrect delete-duplicates, 100,000 copies of a -> a" 120 0 "^a:100000" \
    "$cli" autocorrect-tool delete-duplicates "$work/same.xml" "$work/same-out.xml"

[ "$failures" -eq 0 ] && echo "every hostile input ended within its limits"
exit $((failures > 0))
