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
printf 'UTF-8\nzebra|1\n(noun)|equine\ncat|1\n(noun)|feline\n' >th.dat
printf 'UTF-8\nabc|101\n' >too-many.dat # over the 100-meaning limit
ns='xmlns:block-list="http://openoffice.org/2001/block-list"'
# An autocorrect list as the office suite writes it (one line) and one the import cannot use.
printf '<block-list:block-list %s><block-list:block block-list:abbreviated-name="teh" block-list:name="the"/></block-list:block-list>\n' "$ns" >DocumentList.xml
printf '<list/>\n' >NotAList.xml
printf '<block-list:block-list %s><block-list:block block-list:abbreviated-name="wlak" block-list:name="walk"/><block-list:block block-list:abbreviated-name=":smile:" block-list:name="&#x1F600;"/></block-list:block-list>\n' "$ns" >WalkList.xml
printf '<block-list:block-list %s><block-list:block block-list:abbreviated-name="x" block-list:name="&#x41"/></block-list:block-list>\n' "$ns" >BrokenHex.xml
mkdir -p at/BW
printf '<block-list:block-list %s><block-list:block block-list:abbreviated-name="BW" block-list:package-name="BW" block-list:name="Best wishes,"/></block-list:block-list>' "$ns" >at/BlockList.xml
printf '<block-list:block-list %s block-list:list-name="Mine"/>' "$ns" >EmptyBlockList.xml
printf '<?xml version="1.0"?>\n<rules>\n<category name="Nouns">\n<rule id="R">\n</rule>\n</category>\n</rules>\n' >rules.xml
printf '<?xml version="1.0"?>\n<rules>\n</rules>\n' >no-rules.xml
printf 'pear\r\nApple\n\xc3\xa9clair' >words.txt
printf '\n' >empty.txt
printf 'SET UTF-8\nSFX S Y 1\nSFX S 0 s .\n' >dup.aff
printf '2\nwalk/S\nwalk/S\n' >dup.dic
cp dup.aff nodup.aff
printf '2\nwalk/S\ntalk/S\n' >nodup.dic
printf 'SET UTF-8\nTRY abc\n' >no-tags.aff
printf ' \n\n' >blank.aff
# An .aff with a byte that is not UTF-8: every command goes on, keeping the byte.
printf 'SET UTF-8\n# caf\351\nSFX S Y 1\nSFX S 0 s .\n' >latin.aff
printf '2\nwalk/S\tpo:verb\ntalk\n' >latin.dic

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
check 0 "" statistics "$fx/walk.dic"
check 0 "" derive "$fx/walk.aff" walk/S
check 0 "" derive-all "$fx/walk.dic" all.txt
check 0 "" extract --kind csv "$fx/walk.dic" words.csv
check 0 "" roundtrip "$fx/walk.dic" out
check 0 "" roundtrip --kind dictionary "$fx/walk.dic" out2
check 0 "" validate-aff "$fx/walk.aff"
check 0 "" roundtrip --kind thesaurus th.dat th-out
check 0 "" thesaurus-sort th.dat sorted.dat
check 0 "" thesaurus-tool sort-on-numbers th.dat by-number.dat
check 0 "" thesaurus-tool extract th.dat th.txt
check 1 "^lexaloom-cli: .*th\.dat: Basic combine doesn't accept synonyms with: " thesaurus-tool combine th.dat combined.dat
check 2 "^lexaloom-cli: frobnicate: no such tool " thesaurus-tool frobnicate th.dat x.dat
check 2 "^lexaloom-cli: .*missing\.dat: File not found\.$" thesaurus-tool fix-spaces missing.dat x.dat
check 2 "^lexaloom-cli: .*plain-file/x\.dat: " thesaurus-tool sort-on-numbers th.dat plain-file/x.dat
check 0 "" roundtrip --kind autocorrect DocumentList.xml acout
check 0 "" autotext-list at/BlockList.xml
check 0 "" roundtrip --kind hyphenation "$fx/../hyphenation/small.dic" hyph-out
check 0 "" hyphenate "$fx/../hyphenation/small.dic" "$fx/walk.aff" walk/S
check 0 "" grammar-outline --line-numbers rules.xml outline.txt
check 0 "" grammar-outline rules.xml outline2
check 0 "" extract-pos --form spelling --language English "$fx/walk.dic" pos.txt
check 0 "" sort-flags "$fx/walk.dic" sorted.dic
check 0 "" merge-duplicates --twofold 1 "$fx/walk.dic" merged.dic
check 0 "" validate-autocorrect WalkList.xml "$fx/walk.dic"
check 0 "" autocorrect-tool hex-to-emoji WalkList.xml emoji.xml
check 0 "" autocorrect-tool extract WalkList.xml pairs.txt
printf 'apple\n' >master.txt
printf 'Apple\npear\napple\n' >other.txt
check 0 "" master-compare master.txt other.txt notinmaster.txt
check 0 "" crunch "$fx/walk.dic" crunched.dic
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" crunch missing.dic crunched.dic
check 2 "^lexaloom-cli: .*nomaster\.txt: File not found\.$" master-compare nomaster.txt other.txt notinmaster2.txt
check 2 "^lexaloom-cli: .*plain-file/m\.txt: " master-compare master.txt other.txt plain-file/m.txt
# A check that finds problems.
check 1 "" validate-aff short-group.aff
check 1 "" validate-autocorrect DocumentList.xml "$fx/walk.dic"
check 1 "^lexaloom-cli: BrokenHex\.xml: Null word at Line:1 Aborted\.$" autocorrect-tool hex-to-emoji BrokenHex.xml x.xml
check 2 "^lexaloom-cli: missing\.xml: \.XML file not found\.$" validate-autocorrect missing.xml "$fx/walk.dic"
check 2 "^lexaloom-cli: missing\.dic: .*not found" validate-autocorrect DocumentList.xml missing.dic
check 2 "^lexaloom-cli: .*plain-file/x\.xml: " autocorrect-tool fix-spaces DocumentList.xml plain-file/x.xml
check 2 "^usage: lexaloom-cli autocorrect-tool " autocorrect-tool frobnicate DocumentList.xml x.xml
check 0 "" sort-aff-tags "$fx/walk.aff" sorted.aff
check 0 "" wordlist-duplicates nodup.dic
check 1 "" wordlist-duplicates dup.dic dups.txt
# A missing input.
# count and derive-all read a dictionary as File > Open does, so refuse it the same way.
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" count missing.dic
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" statistics missing.dic
check 2 "^lexaloom-cli: .*missing\.aff: cannot read" derive missing.aff walk
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" derive-all missing.dic all.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" extract --kind txt missing.dic words.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" roundtrip missing.dic out
check 2 "^lexaloom-cli: .*missing\.aff: cannot read" validate-aff missing.aff
check 2 "^lexaloom-cli: .*missing\.dat: File not found\.$" roundtrip --kind thesaurus missing.dat out
check 2 "^lexaloom-cli: .*missing\.dat: File not found\.$" thesaurus-sort missing.dat sorted.dat
check 2 "^lexaloom-cli: .*too-many\.dat: Found synonym with more than 100 meanings\.$" thesaurus-sort too-many.dat x.dat
check 2 "^lexaloom-cli: .*plain-file/th\.dat: " thesaurus-sort th.dat plain-file/th.dat
check 2 "^lexaloom-cli: .*missing\.xml: \.XML file not found\.$" roundtrip --kind autocorrect missing.xml acout
check 2 "^lexaloom-cli: .*NotAList\.xml: Failed to import file\.$" roundtrip --kind autocorrect NotAList.xml acout
check 2 "^lexaloom-cli: .*missing\.xml: \.XML file not found\.$" autotext-list missing.xml
check 2 "^lexaloom-cli: .*EmptyBlockList\.xml: \.XML file has no valid entries\.$" autotext-list EmptyBlockList.xml
check 2 "^lexaloom-cli: .*missing\.dic: \.DIC file not found\.$" hyphenate missing.dic "$fx/walk.aff" walk
check 2 "^lexaloom-cli: .*missing\.dic: \.DIC file not found\.$" roundtrip --kind hyphenation missing.dic out
check 2 "^lexaloom-cli: .*missing\.xml: \.XML file not found\.$" grammar-outline missing.xml outline.txt
check 2 "^lexaloom-cli: .*outline3\.txt: Nothing to save\.$" grammar-outline no-rules.xml outline3.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" extract-pos --form added --language English missing.dic pos.txt
check 0 "" bulk-import --mode sort words.txt sorted
check 0 "" bulk-import --mode dictionary --into "$fx/walk.dic" words.txt bi-out
check 2 "^lexaloom-cli: .*missing\.txt: " bulk-import --mode sort missing.txt out.txt
check 2 "^lexaloom-cli: .*empty\.txt: Nothing to process\.$" bulk-import --mode delete-duplicates empty.txt out.txt
check 2 "^usage: lexaloom-cli bulk-import " bulk-import --mode frobnicate words.txt out.txt
check 2 "^usage: lexaloom-cli bulk-import " bulk-import --mode thesaurus words.txt out
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" sort-flags missing.dic sorted.dic
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" merge-duplicates missing.dic merged.dic
check 2 "^lexaloom-cli: .*missing\.aff: " sort-aff-tags missing.aff sorted.aff
check 2 "^lexaloom-cli: .*no-tags\.aff: No tags found in \.AFF\.$" sort-aff-tags no-tags.aff sorted.aff
check 2 "^lexaloom-cli: .*blank\.aff: \.AFF is empty\.$" sort-aff-tags blank.aff sorted.aff
check 2 "^lexaloom-cli: .*master\.txt: Number of files is limited to 10\.$" master-compare master.txt \
    other.txt other.txt other.txt other.txt other.txt other.txt other.txt other.txt other.txt other.txt m10.txt
check 2 "^lexaloom-cli: .*missing\.dic: .*not found" wordlist-duplicates missing.dic
# An output that cannot be written.
check 2 "^lexaloom-cli: .*plain-file/s\.txt: " bulk-import --mode sort words.txt plain-file/s.txt
# A pair output whose two files are one (the .aff named as the .dic; an .idx that is a
# link to its .dat) is refused, and the file that was there stays.
printf 'keep\n' >same.aff
printf 'keep\n' >same.dat
ln -s same.dat same.idx
check 2 "same\.aff.*Both files of the pair are the same file\.$" sort-flags "$fx/walk.dic" same.aff
check 2 "same\.(dat|idx).*Both files of the pair are the same file\.$" thesaurus-tool sort-on-numbers th.dat same.dat
[ "$(cat same.aff)" = keep ] && [ "$(cat same.dat)" = keep ] ||
    { echo "FAIL: a pair saved onto one file changed it"; failures=$((failures + 1)); }
check 2 "^lexaloom-cli: .*plain-file/all\.txt: cannot write" derive-all "$fx/walk.dic" plain-file/all.txt
check 2 "^lexaloom-cli: .*plain-file/words\.txt: " extract --kind txt "$fx/walk.dic" plain-file/words.txt
check 2 "^lexaloom-cli: .*plain-file/out: cannot create" roundtrip "$fx/walk.dic" plain-file/out
check 2 "^lexaloom-cli: .*plain-file/acout: cannot create" roundtrip --kind autocorrect DocumentList.xml plain-file/acout
check 2 "^lexaloom-cli: .*taken/walk\.dic: " roundtrip "$fx/walk.dic" taken
check 2 "^lexaloom-cli: .*plain-file/o\.txt: " grammar-outline rules.xml plain-file/o.txt
check 2 "^lexaloom-cli: .*plain-file/s\.dic: " sort-flags "$fx/walk.dic" plain-file/s.dic
check 2 "^lexaloom-cli: .*plain-file/m\.dic: " merge-duplicates "$fx/walk.dic" plain-file/m.dic
check 2 "^lexaloom-cli: .*plain-file/s\.aff: " sort-aff-tags "$fx/walk.aff" plain-file/s.aff
# Kinds whose files are not built yet, and malformed calls.
check 2 "^usage: lexaloom-cli roundtrip " roundtrip --kind nonsense a out
check 2 "^usage: lexaloom-cli extract " extract "$fx/walk.dic" words.txt
check 2 "^usage: lexaloom-cli count " count --kind txt "$fx/walk.dic"
check 2 "^usage: lexaloom-cli statistics " statistics "$fx/walk.dic" extra.txt
check 2 "^lexaloom-cli: unknown command" frobnicate
check 2 "^usage: lexaloom-cli thesaurus-sort " thesaurus-sort th.dat
check 2 "^usage: lexaloom-cli merge-duplicates " merge-duplicates --twofold yes "$fx/walk.dic" merged.dic

check 2 "^lexaloom-cli: Klingon: not a POS language" extract-pos --form added --language Klingon "$fx/walk.dic" pos.txt
check 2 "^usage: lexaloom-cli extract-pos " extract-pos --form both --language English "$fx/walk.dic" pos.txt

# The question on bytes that are not UTF-8 gets the same answer from every command.
for call in "extract-pos --form spelling --language English latin.dic latin-pos.txt" \
    "sort-flags latin.dic latin-sorted.dic" "merge-duplicates latin.dic latin-merged.dic" \
    "crunch latin.dic latin-crunched.dic" "statistics latin.dic"; do
    # shellcheck disable=SC2086
    "$cli" $call >/dev/null 2>&1 || { echo "FAIL: $call stops on an .aff that is not UTF-8"; failures=$((failures + 1)); }
done

# Every registered command appears in the help.
"$cli" --help >help.txt
for command in autocorrect-tool autotext-list bulk-import count crunch derive derive-all extract extract-pos grammar-outline hyphenate master-compare merge-duplicates roundtrip sort-aff-tags sort-flags statistics thesaurus-sort thesaurus-tool validate-aff validate-autocorrect wordlist-duplicates; do
    grep -q "^  $command " help.txt || { echo "FAIL: $command missing from --help"; failures=$((failures + 1)); }
done

# What the autocorrect round trip and the AutoText list write.
"$cli" roundtrip --kind autocorrect DocumentList.xml acout >/dev/null 2>&1
grep -q '^  <block-list:block block-list:abbreviated-name="teh" block-list:name="the"/>$' acout/DocumentList.xml ||
    { echo "FAIL: roundtrip --kind autocorrect wrote:"; cat acout/DocumentList.xml; failures=$((failures + 1)); }
[ "$("$cli" autotext-list at/BlockList.xml)" = "$(printf '1\tBW\tBW\tBest wishes,')" ] ||
    { echo "FAIL: autotext-list printed:"; "$cli" autotext-list at/BlockList.xml; failures=$((failures + 1)); }

# The emoji reference becomes the character itself, as UTF-8.
grep -q "block-list:name=\"$(printf '\xF0\x9F\x98\x80')\"" emoji.xml ||
    { echo "FAIL: autocorrect-tool hex-to-emoji wrote:"; cat emoji.xml; failures=$((failures + 1)); }

# The statistics print the figures of the window's Export.
"$cli" statistics "$fx/walk.dic" >stats.txt 2>/dev/null
head -1 stats.txt | grep -qx 'Total wordlist:12' && grep -qx ' 5 characters long:3 (25%)' stats.txt ||
    { echo "FAIL: statistics printed:"; cat stats.txt; failures=$((failures + 1)); }
# What bulk-import writes: the sorted list as "Save as" does, the dictionary with the lines added.
[ "$(od -An -c sorted.txt | tr -s ' ')" = "$(printf '\xef\xbb\xbfApple\n\xc3\xa9clair\npear\n' | od -An -c | tr -s ' ')" ] ||
    { echo "FAIL: bulk-import --mode sort wrote:"; cat sorted.txt; failures=$((failures + 1)); }
tail -n 3 bi-out/walk.dic | cmp -s - <(printf 'pear\nApple\n\xc3\xa9clair\n') ||
    { echo "FAIL: bulk-import --mode dictionary wrote:"; cat bi-out/walk.dic; failures=$((failures + 1)); }

[ "$(cat notinmaster.txt)" = "$(printf '\357\273\277Apple\npear')" ] ||
    { echo "FAIL: master-compare wrote:"; cat notinmaster.txt; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "all exit statuses as expected"
exit $((failures > 0))
