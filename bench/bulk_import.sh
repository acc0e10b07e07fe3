#!/usr/bin/env bash
# Bulk import on the real files through the command line: a few thousand en_US words
# that en_GB lacks imported into en_GB (hunspell then accepts all of them and still
# accepts what it did), new head words imported into th_en_US_v2 (every head word still
# found by libmythes), and misspellings imported into the en-GB DocumentList.xml (still
# well-formed for xmllint).
# Usage: bench/bulk_import.sh [BUILD_DIR]   (LEXALOOM_CORPUS overrides the corpus folder)
# Needs hunspell, libmythes-dev and xmllint (libxml2-utils).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=${1:-${BUILD_DIR:-build}}
cli=$build/src/cli/lexaloom-cli
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
[[ -x $cli ]] || { echo "no $cli: build first" >&2; exit 1; }
[[ -f $corpus/hunspell/en_GB.dic ]] || { echo "no corpus at $corpus" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++17 "$root/bench/mythes_lookup.cpp" -o "$work/mythes_lookup" $(pkg-config --cflags --libs mythes)

# Real words: the forms of en_US that en_GB refuses, every third one without digits.
"$cli" extract --kind txt "$corpus/hunspell/en_US.dic" "$work/us.txt" >/dev/null 2>&1
sed '1s/^\xEF\xBB\xBF//' "$work/us.txt" | hunspell -d "$corpus/hunspell/en_GB" -l >"$work/us_not_gb.txt"
awk 'NR % 3 == 0 && !/[0-9]/ && n++ < 3000' "$work/us_not_gb.txt" >"$work/words.txt"
sed 1d "$corpus/hunspell/en_GB.dic" | cut -f1 | cut -d/ -f1 | awk 'NR % 19 == 0' >"$work/gb_sample.txt"

"$cli" bulk-import --mode dictionary --into "$corpus/hunspell/en_GB.dic" "$work/words.txt" "$work/gb" >"$work/dic.txt"
cp "$corpus/hunspell/en_GB.aff" "$work/gb/"
printf 'dictionary: words imported\t%s\n' "$(wc -l <"$work/words.txt")"
printf 'dictionary: entries before + added\t%s\n' "$(sed -n 's/^entries: //p' "$work/dic.txt")"
printf 'dictionary: imported words hunspell refused before\t%s\n' \
    "$(hunspell -d "$corpus/hunspell/en_GB" -l <"$work/words.txt" | wc -l)"
printf 'dictionary: imported words hunspell refuses after\t%s\n' \
    "$(hunspell -d "$work/gb/en_GB" -l <"$work/words.txt" | wc -l)"
printf 'dictionary: en_GB sample (%s words) refused before / after\t%s / %s\n' "$(wc -l <"$work/gb_sample.txt")" \
    "$(hunspell -d "$corpus/hunspell/en_GB" -l <"$work/gb_sample.txt" | wc -l)" \
    "$(hunspell -d "$work/gb/en_GB" -l <"$work/gb_sample.txt" | wc -l)"
before=$(sed -n 's/^entries: \([0-9]*\) .*/\1/p' "$work/dic.txt")
if cmp -s <(sed 1d "$work/gb/en_GB.dic" | head -n "$before") <(sed 1d "$corpus/hunspell/en_GB.dic"); then
    printf 'dictionary: original lines unchanged\tyes\n'
else
    printf 'dictionary: original lines unchanged\tNO\n'
fi

# Thesaurus: "head,synonym,synonym" lines made of the same words.
awk 'NR % 4 == 1 && !/[0-9]/ && n++ < 6000' "$work/us_not_gb.txt" | paste -d, - - - >"$work/th.txt"
"$cli" bulk-import --mode thesaurus --into "$corpus/thesaurus/th_en_US_v2.dat" "$work/th.txt" "$work/th" >"$work/th_out.txt"
printf 'thesaurus: entries before + added\t%s\n' "$(sed -n 's/^entries: //p' "$work/th_out.txt")"
"$work/mythes_lookup" "$work/th/th_en_US_v2.idx" "$work/th/th_en_US_v2.dat" | sed 's/^/thesaurus: libmythes /'

# Autocorrect: each word with two letters swapped, and one pair full of XML specials.
awk 'NR % 5 == 2 && length($0) > 3 && !/[0-9]/ && n++ < 2000 {
    w = $0; print substr(w, 1, 1) substr(w, 3, 1) substr(w, 2, 1) substr(w, 4) "," w }' "$work/us_not_gb.txt" >"$work/ac.txt"
printf 'AT&T<x>,"quoted" & <ok>\n' >>"$work/ac.txt"
"$cli" bulk-import --mode autocorrect --into "$corpus/autocorrect/en-GB/DocumentList.xml" "$work/ac.txt" "$work/ac" \
    >"$work/ac_out.txt"
printf 'autocorrect: entries before + added\t%s\n' "$(sed -n 's/^entries: //p' "$work/ac_out.txt")"
if xmllint --noout "$work/ac/DocumentList.xml" 2>/dev/null; then
    printf 'autocorrect: xmllint\tok\n'
else
    printf 'autocorrect: xmllint\tFAILED\n'
fi
printf 'autocorrect: blocks in the saved list\t%s\n' "$(grep -c '<block-list:block ' "$work/ac/DocumentList.xml")"
