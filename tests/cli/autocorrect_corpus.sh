#!/usr/bin/env bash
# The real autocorrect lists and AutoText catalogues against an XML parser: every
# block of a list is imported (counted independently with xmllint), the saved list is
# well-formed with the same pairs (compared by Python's XML parser, references
# decoded on both sides), and saving it again writes the same bytes. Every catalogue
# lists as many entries as it has block elements; the one without any says so.
# Usage: autocorrect_corpus.sh LEXALOOM_CLI   (LEXALOOM_CORPUS overrides the corpus folder)
set -u
cli=$1
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
if [ ! -d "$corpus/autocorrect" ] || ! command -v xmllint >/dev/null; then
    echo "skipped: no corpus or no xmllint"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
blocks() { xmllint --xpath 'count(//*[local-name()="block"])' "$1"; }
pairs() { # the decoded pairs of a list, one per line
    python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
ns = '{http://openoffice.org/2001/block-list}'
for b in ET.parse(sys.argv[1]).getroot().iter(ns + 'block'):
    print(repr((b.get(ns + 'abbreviated-name'), b.get(ns + 'name'))))
PY
}

for list in "$corpus"/autocorrect/*/DocumentList.xml; do
    language=$(basename "$(dirname "$list")")
    expected=$(blocks "$list")
    "$cli" roundtrip --kind autocorrect "$list" "$work/$language" >"$work/out.txt" 2>"$work/err.txt" ||
        { fail "$language: roundtrip: $(cat "$work/err.txt")"; continue; }
    saved=$work/$language/DocumentList.xml
    read_count=$(awk '/^entries:/ {print $2}' "$work/out.txt")
    [ "$read_count" = "$expected" ] || fail "$language: read $read_count pairs, xmllint counts $expected"
    xmllint --noout "$saved" || fail "$language: xmllint refuses the saved list"
    [ "$(blocks "$saved")" = "$expected" ] || fail "$language: the saved list has $(blocks "$saved") blocks"
    cmp -s <(pairs "$list") <(pairs "$saved") || fail "$language: the saved pairs differ from the original's"
    "$cli" roundtrip --kind autocorrect "$saved" "$work/$language-again" >/dev/null 2>&1 &&
        cmp -s "$saved" "$work/$language-again/DocumentList.xml" || fail "$language: a second round trip changed bytes"
    echo "$language: $expected pairs imported, saved, well-formed, unchanged on reload"
done

for catalogue in $(find "$corpus/autotext" -name BlockList.xml | sort); do
    name=${catalogue#"$corpus"/autotext/}
    expected=$(blocks "$catalogue")
    before=$(find "$(dirname "$catalogue")" -type f | wc -l)
    if [ "$expected" -eq 0 ]; then
        "$cli" autotext-list "$catalogue" >/dev/null 2>"$work/err.txt" && fail "$name: an empty catalogue listed"
        grep -q '\.XML file has no valid entries\.$' "$work/err.txt" || fail "$name: $(cat "$work/err.txt")"
        echo "$name: no entries: $(cat "$work/err.txt")"
    else
        rows=$("$cli" autotext-list "$catalogue" | wc -l)
        [ "$rows" = "$expected" ] || fail "$name: $rows rows, xmllint counts $expected blocks"
        echo "$name: $rows entries"
    fi
    [ "$(find "$(dirname "$catalogue")" -type f | wc -l)" = "$before" ] || fail "$name: reading created files"
done

[ "$failures" -eq 0 ] && echo "all real lists and catalogues as expected"
exit $((failures > 0))
