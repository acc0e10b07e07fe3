#!/usr/bin/env bash
# The command line's contract with scripts: exit 0 when done, 1 when a check finds
# problems, 2 on an unreadable input or a failed write, and then exactly one line
# on standard error that says why.
# Usage: exit_codes.sh LEXALOOM_CLI FIXTURE_DIR (absolute paths; the fixture dir holds walk.dic/walk.aff)
set -u
cli=$1
fx=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch plain-file               # a file where a folder is wanted: nothing can be written below it
mkdir -p taken/walk.dic        # a folder where the saved .dic should go
printf 'SET UTF-8\nSFX A Y 2\nSFX A 0 s .\n' >short-group.aff # two rules announced, one given
printf '<?xml version="1.0"?>\n<rules>\n<category name="Nouns">\n<rule id="R">\n</rule>\n</category>\n</rules>\n' >rules.xml
printf '<?xml version="1.0"?>\n<rules>\n</rules>\n' >no-rules.xml

failures=0
# check STATUS STDERR_PATTERN ARGS...   (an empty pattern: standard error stays empty)
check() {
    local want=$1 pattern=$2
    shift 2
    "$cli" "$@" >out.txt 2>err.txt
    local got=$?
    local lines
    lines=$(wc -l <err.txt)
    local ok=1
    [ "$got" -eq "$want" ] || ok=0
    if [ -z "$pattern" ]; then
        [ "$lines" -eq 0 ] || ok=0
    else
        [ "$lines" -eq 1 ] && grep -Eq -- "$pattern" err.txt || ok=0
    fi
    if [ "$ok" -eq 0 ]; then
        echo "FAIL: lexaloom-cli $* -> status $got (want $want), stderr:"
        sed 's/^/    /' err.txt
        failures=$((failures + 1))
    fi
}

# Done.
check 0 "" count "$fx/walk.dic"
check 0 "" derive "$fx/walk.aff" walk/S
check 0 "" derive-all "$fx/walk.dic" all.txt
check 0 "" extract --kind csv "$fx/walk.dic" words.csv
check 0 "" roundtrip "$fx/walk.dic" out
check 0 "" roundtrip --kind dictionary "$fx/walk.dic" out2
check 0 "" validate-aff "$fx/walk.aff"
check 0 "" grammar-outline --line-numbers rules.xml outline.txt
check 0 "" grammar-outline rules.xml outline2
check 0 "" extract-pos --form spelling --language English "$fx/walk.dic" pos.txt
# A check that finds problems.
check 1 "" validate-aff short-group.aff
# A missing input.
# count and derive-all read a dictionary as File > Open does, so refuse it the same way.
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" count missing.dic
check 2 "^lexaloom-cli: .*missing\.aff: cannot read" derive missing.aff walk
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" derive-all missing.dic all.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" extract --kind txt missing.dic words.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" roundtrip missing.dic out
check 2 "^lexaloom-cli: .*missing\.aff: cannot read" validate-aff missing.aff
check 2 "^lexaloom-cli: .*missing\.xml: \.XML file not found\.$" grammar-outline missing.xml outline.txt
check 2 "^lexaloom-cli: .*outline3\.txt: Nothing to save\.$" grammar-outline no-rules.xml outline3.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" extract-pos --form added --language English missing.dic pos.txt
# An output that cannot be written.
check 2 "^lexaloom-cli: .*plain-file/all\.txt: cannot write" derive-all "$fx/walk.dic" plain-file/all.txt
check 2 "^lexaloom-cli: .*plain-file/words\.txt: " extract --kind txt "$fx/walk.dic" plain-file/words.txt
check 2 "^lexaloom-cli: .*plain-file/out: cannot create" roundtrip "$fx/walk.dic" plain-file/out
check 2 "^lexaloom-cli: .*taken/walk\.dic: " roundtrip "$fx/walk.dic" taken
check 2 "^lexaloom-cli: .*plain-file/o\.txt: " grammar-outline rules.xml plain-file/o.txt
# Kinds whose files are not built yet, and malformed calls.
check 2 "^lexaloom-cli: roundtrip --kind thesaurus is not available yet$" roundtrip --kind thesaurus a.dat out
check 2 "^usage: lexaloom-cli roundtrip " roundtrip --kind nonsense a out
check 2 "^usage: lexaloom-cli extract " extract "$fx/walk.dic" words.txt
check 2 "^usage: lexaloom-cli count " count --kind txt "$fx/walk.dic"
check 2 "^lexaloom-cli: unknown command" frobnicate
check 2 "^lexaloom-cli: Klingon: not a POS language" extract-pos --form added --language Klingon "$fx/walk.dic" pos.txt
check 2 "^usage: lexaloom-cli extract-pos " extract-pos --form both --language English "$fx/walk.dic" pos.txt

# Every registered command appears in the help.
"$cli" --help >help.txt
for command in count derive derive-all extract extract-pos grammar-outline roundtrip validate-aff; do
    grep -q "^  $command " help.txt || { echo "FAIL: $command missing from --help"; failures=$((failures + 1)); }
done

[ "$failures" -eq 0 ] && echo "all exit statuses as expected"
exit $((failures > 0))
