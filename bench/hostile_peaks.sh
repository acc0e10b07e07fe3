#!/usr/bin/env bash
# The peak memory (maximum resident set) of lexaloom-cli on the worst small hostile
# inputs of each file kind, generated here: one line per run with its exit status,
# its wall time and its peak. Runs are capped at LIMIT_KB of address space (default
# 4 GB) and SECONDS (default 120) each, so that a reader that runs away ends.
# Usage: bench/hostile_peaks.sh [LEXALOOM_CLI [WORK_FOLDER]]   (default: $BUILD_DIR/src/cli/lexaloom-cli)
set -u
cli=${1:-${BUILD_DIR:-build}/src/cli/lexaloom-cli}
work=${2:-$(mktemp -d)}
limit=${LIMIT_KB:-4000000}
seconds=${SECONDS_EACH:-120}
mkdir -p "$work"
header='<?xml version="1.0" encoding="UTF-8" ?> <block-list:block-list xmlns:block-list="http://openoffice.org/2001/block-list">'

run() {
    local kind=$1 name=$2
    shift 2
    (
        ulimit -v "$limit"
        exec /usr/bin/time -f '%x %e %M' -o "$work/time" timeout "${RUN_SECONDS:-$seconds}" "$@"
    ) >"$work/out" 2>"$work/err"
    local status wall peak
    read -r status wall peak < <(tail -1 "$work/time")
    # time(1) reports a signal as "Command terminated by signal N" before its line.
    grep -q "terminated by signal" "$work/time" && status="signal $(sed -n 's/.*signal \([0-9]*\).*/\1/p' "$work/time" | head -1)"
    printf '%-12s %-58s exit %-9s %7ss %9s KB  %s\n' "$kind" "$name" "$status" "$wall" "$peak" \
        "$(tr '\n' ' ' <"$work/err" | cut -c1-90)"
}

# Dictionary: 8 M blank lines; one 50 MB line.
printf 'SET UTF-8\n' >"$work/d.aff"
{ echo 8000000; head -c 8000000 /dev/zero | tr '\0' '\n'; } >"$work/blank.dic"
cp "$work/d.aff" "$work/blank.aff"
run dictionary "count, 8 M blank lines" "$cli" count "$work/blank.dic"
{ echo 1; head -c 50000000 /dev/zero | tr '\0' 'a'; echo; } >"$work/long.dic"
cp "$work/d.aff" "$work/long.aff"
run dictionary "count, one 50 MB word" "$cli" count "$work/long.dic"

# Thesaurus: combine on 30,000 entries of 100 one-word meanings; a 10 M comma import.
awk 'BEGIN { print "UTF-8"
             for (i = 0; i < 30000; i++) { print "w" i "|100"; for (j = 0; j < 100; j++) print "s" j } }' >"$work/wide.dat"
run thesaurus "combine, 30,000 entries x 100 meanings" "$cli" thesaurus-tool combine "$work/wide.dat" "$work/wide-out.dat"
printf 'UTF-8\nold|1\n(noun)|x\n' >"$work/th.dat"
head -c 10000000 /dev/zero | tr '\0' ',' >"$work/commas.txt"
run thesaurus "bulk import, one line of 10 M commas" "$cli" bulk-import --mode thesaurus --into "$work/th.dat" \
    "$work/commas.txt" "$work/commas-out"

# Hyphenation: a 40 MB pattern line; a 100,000-letter word against 64 K prefix patterns.
printf 'SET UTF-8\n' >"$work/plain.aff"
{ echo UTF-8; head -c 40000000 /dev/zero | tr '\0' 'a'; echo 1b; } >"$work/longpat.dic"
run hyphenation "one 40 MB pattern line" "$cli" hyphenate "$work/longpat.dic" "$work/plain.aff" abef
awk 'BEGIN { print "UTF-8"; p = ""; for (i = 0; i < 65536; i++) { p = (i % 200 == 0) ? "a" : p "a"; print "1" p } }' \
    >"$work/prefixes.dic"
word=$(head -c 100000 /dev/zero | tr '\0' 'a')
run hyphenation "100,000-letter word, 64 K prefix patterns" "$cli" hyphenate "$work/prefixes.dic" "$work/plain.aff" "$word"

# Autocorrect: 8 M blank lines; 100,000 copies of one pair mapped to itself (AC Validate's
# step 4 makes a line per pair of entries), through AC Validate and the duplicates tool.
{ echo "$header"; head -c 8000000 /dev/zero | tr '\0' '\n'; echo '</block-list:block-list>'; } >"$work/blank.xml"
printf '1\nword\n' >"$work/tiny.dic"
cp "$work/d.aff" "$work/tiny.aff"
run autocorrect "AC Validate, 8 M blank lines" "$cli" validate-autocorrect "$work/blank.xml" "$work/tiny.dic"
{
    echo "$header"
    awk 'BEGIN { for (i = 0; i < 100000; i++) print "  <block-list:block block-list:abbreviated-name=\"a\" block-list:name=\"a\"/>" }'
    echo '</block-list:block-list>'
} >"$work/same.xml"
run autocorrect "AC Validate, 100,000 copies of a -> a" "$cli" validate-autocorrect "$work/same.xml" "$work/tiny.dic"
run autocorrect "delete-duplicates, 100,000 copies of a -> a" "$cli" autocorrect-tool delete-duplicates \
    "$work/same.xml" "$work/same-out.xml"

# AutoText: 20,000 entries naming one 1 MB content file; 30 MB of ">"; a FIFO.
mkdir -p "$work/at/p" "$work/gt/p" "$work/fifo/p"
awk 'BEGIN { printf "<office:document xmlns:text=\"t\"><office:body>"
             for (i = 0; i < 60000; i++) printf "<text:p>line %d</text:p>", i
             print "</office:body></office:document>" }' >"$work/at/p/content.xml"
awk 'BEGIN { printf "<block-list:block-list xmlns:block-list=\"http://openoffice.org/2001/block-list\">"
             for (i = 0; i < 20000; i++)
                 printf "<block-list:block block-list:abbreviated-name=\"e%d\" block-list:package-name=\"p\" block-list:name=\"n\"/>", i
             print "</block-list:block-list>" }' >"$work/at/BlockList.xml"
run AutoText "20,000 entries naming one 1 MB content file" "$cli" autotext-list "$work/at/BlockList.xml"
head -c 30000000 /dev/zero | tr '\0' '>' >"$work/gt/p/content.xml"
printf '<block-list:block block-list:abbreviated-name="g" block-list:package-name="p" block-list:name="n"/>\n' \
    >"$work/gt/BlockList.xml"
run AutoText "content file of 30 MB of >" "$cli" autotext-list "$work/gt/BlockList.xml"
[ -p "$work/fifo/p/content.xml" ] || mkfifo "$work/fifo/p/content.xml"
cp "$work/gt/BlockList.xml" "$work/fifo/BlockList.xml"
RUN_SECONDS=20 run AutoText "content file that is a FIFO" "$cli" autotext-list "$work/fifo/BlockList.xml"

# LanguageTool: a grammar.xml of 10^6 categories (the CLI's share; the window's lists
# are measured by the GUI test).
awk 'BEGIN { print "<?xml version=\"1.0\"?>"; print "<rules>"
             for (i = 0; i < 1000000; i++) { print "<category id=\"C" i "\" name=\"c\">"; print "</category>" }
             print "</rules>" }' >"$work/grammar.xml"
run LanguageTool "grammar.xml of 10^6 categories" "$cli" grammar-outline "$work/grammar.xml" "$work/outline.txt"
