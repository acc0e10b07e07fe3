#!/bin/sh
# Every corpus dictionary, and a made-up pair with raw-byte flags, saved by
# `roundtrip` byte for byte as loaded, apart from what saving defines: a BOM, the
# count line written anew and LF line ends. `count` agrees with the lines of
# `extract --kind txt`, and count reads a .dic as File > Open does.
# Usage: corpus_roundtrip.sh LEXALOOM_CLI [CORPUS]
set -u
cli=$1
corpus=${2:-${LEXALOOM_CORPUS:-/work/corpus-data}}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; status=1; }
status=0
bom=$(printf '\357\273\277')

# expected_pair SRC.dic OUTDIR: writes OUTDIR/expected.dic and .aff.
expected_pair() {
    src=$1
    aff=${src%dic}aff
    { printf '%s' "$bom"; sed '1s/^\xEF\xBB\xBF//' "$aff"; } > "$2/expected.aff"
    sed '1s/^\xEF\xBB\xBF//' "$src" | tr -d '\r' > "$work/body"
    # The first line is dropped when it begins with a number (Hunspell reads the
    # count and ignores the rest) or is blank, kept otherwise.
    if head -n 1 "$work/body" | grep -Eq '^[[:blank:]]*([0-9]|$)'; then
        tail -n +2 "$work/body" > "$work/entries"
    else
        cp "$work/body" "$work/entries"
    fi
    { printf '%s%s\n' "$bom" "$(wc -l < "$work/entries" | tr -d ' ')"; cat "$work/entries"; } > "$2/expected.dic"
}

check_pair() {
    src=$1
    name=$(basename "$src" .dic)
    out=$work/out-$name
    mkdir -p "$out"
    "$cli" roundtrip "$src" "$out" > "$out/log" 2>&1 || { fail "$name: roundtrip failed: $(cat "$out/log")"; return; }
    expected_pair "$src" "$out"
    cmp "$out/expected.dic" "$out/$name.dic" || fail "$name.dic differs"
    cmp "$out/expected.aff" "$out/$name.aff" || fail "$name.aff differs"
}

mkdir -p "$work/hb"
printf 'SET UTF-8\nSFX \341 Y 1\nSFX \341 0 s .\nSFX \351 Y 1\nSFX \351 0 ed .\n' > "$work/hb/hb.aff"
printf '1\nwalk/\341\351\n' > "$work/hb/hb.dic"
check_pair "$work/hb/hb.dic"

# count reads the .dic as File > Open does: the space before tags (the question is
# answered Yes) separates them, so "po:verb" is no flag string; a 0-byte .dic is refused.
mkdir -p "$work/cases"
printf 'SET UTF-8\nSFX S Y 1\nSFX S 0 s .\nSFX o Y 1\nSFX o 0 oops .\n' > "$work/cases/w.aff"
printf '2\nwalk/S po:verb\ntalk/S\n' > "$work/cases/w.dic"
[ "$("$cli" count "$work/cases/w.dic" 2>/dev/null)" = "OK. Words Found:4" ] || fail "count splits tags at the space wrongly"
printf 'walk/S\ntalk\r' > "$work/cases/n.dic"
cp "$work/cases/w.aff" "$work/cases/n.aff"
[ "$("$cli" count "$work/cases/n.dic" 2>/dev/null)" = "OK. Words Found:3" ] || fail "count lost a first line that is a word"
: > "$work/cases/z.dic"
cp "$work/cases/w.aff" "$work/cases/z.aff"
for command in "count" "derive-all" "extract --kind txt" "roundtrip"; do
    output=$work/cases/z.out
    [ "$command" = count ] && output=
    "$cli" $command "$work/cases/z.dic" $output > "$work/cases/z.log" 2>&1 && fail "$command accepted a 0-byte .dic"
    grep -q "DIC file not found" "$work/cases/z.log" || fail "$command: no refusal for a 0-byte .dic"
done

# A legacy charset: every command reads the pair in it (one rule: count and extract
# agree), roundtrip saves it back byte for byte without a byte-order mark, and the
# UTF-8 outputs (extract, convert-utf8) are iconv's conversion of the original.
mkdir -p "$work/el"
printf 'SET ISO8859-7\nSFX A Y 1\nSFX A 0 \362 .\n' > "$work/el/el.aff"
printf '2\n\353\374\343\357/A\n\352\341\353\336\tpo:adj\n' > "$work/el/el.dic"
[ "$("$cli" count "$work/el/el.dic" 2>/dev/null)" = "OK. Words Found:3" ] || fail "count of a legacy pair"
"$cli" extract --kind txt "$work/el/el.dic" "$work/el/forms.txt" > /dev/null 2>&1 || fail "extract of a legacy pair"
{ printf '%s' "$bom"; printf '\353\374\343\357\n\353\374\343\357\362\n\352\341\353\336\n' | iconv -f ISO-8859-7 -t UTF-8; } > "$work/el/expected.txt"
cmp -s "$work/el/forms.txt" "$work/el/expected.txt" || fail "extract of a legacy pair is not its UTF-8 forms"
"$cli" roundtrip "$work/el/el.dic" "$work/el/out" > /dev/null 2>&1 || fail "roundtrip of a legacy pair"
cmp -s "$work/el/el.dic" "$work/el/out/el.dic" || fail "legacy .dic not saved back byte for byte"
cmp -s "$work/el/el.aff" "$work/el/out/el.aff" || fail "legacy .aff not saved back byte for byte"
"$cli" convert-utf8 "$work/el/el.dic" "$work/el/utf8" > /dev/null 2>&1 || fail "convert-utf8 of a legacy pair"
{ printf '%s' "$bom"; iconv -f ISO-8859-7 -t UTF-8 "$work/el/el.dic"; } > "$work/el/expected.dic"
{ printf '%sSET UTF-8\n' "$bom"; tail -n +2 "$work/el/el.aff" | iconv -f ISO-8859-7 -t UTF-8; } > "$work/el/expected.aff"
cmp -s "$work/el/utf8/el.dic" "$work/el/expected.dic" || fail "convert-utf8 .dic is not iconv's"
cmp -s "$work/el/utf8/el.aff" "$work/el/expected.aff" || fail "convert-utf8 .aff is not iconv's"

found=0
for dic in "$corpus"/hunspell/*.dic; do
    [ -f "$dic" ] || continue
    found=1
    check_pair "$dic"
    name=$(basename "$dic" .dic)
    counted=$("$cli" count "$dic" 2>/dev/null | sed -n 's/^OK\. Words Found://p' | tr -d ',')
    "$cli" extract --kind txt "$dic" "$work/$name-all.txt" > /dev/null 2>&1 || fail "$name: extract failed"
    lines=$(wc -l < "$work/$name-all.txt" | tr -d ' ')
    [ "$counted" = "$lines" ] || fail "$name: count says $counted, extract wrote $lines lines"
done
[ $found = 1 ] || echo "no corpus at $corpus: only the made-up pair checked"
[ $status = 0 ] && echo "ok"
exit $status
