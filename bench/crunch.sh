#!/usr/bin/env bash
# "Crunch words with flags" on the real en_GB dictionary: 2,000 forms of its "All .txt"
# extraction that are no entry's word are appended as bare entries, the dictionary is
# crunched (match level 2, every rule on), and the forms of the crunched dictionary are
# compared with the original's as sets.
#
#   bench/crunch.sh   (LEXALOOM_CORPUS overrides /work/corpus-data; BUILD the build tree,
#                      default build-bench; FORMS the number injected, default 2000)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell
FORMS=${FORMS:-2000}
[ -f "$CORPUS/en_GB.dic" ] || { echo "crunch.sh: no en_GB.dic in $CORPUS" >&2; exit 1; }

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli >/dev/null
CLI=$BUILD/src/cli/lexaloom-cli

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export LC_ALL=C

"$CLI" extract --kind txt "$CORPUS/en_GB.dic" "$TMP/original.txt" >/dev/null
sed '1s/^\xEF\xBB\xBF//' "$TMP/original.txt" | sort -u >"$TMP/original.sorted"

# Forms that no entry has as its word, spread evenly over the extraction.
tail -n +2 "$CORPUS/en_GB.dic" | sed 's/^\xEF\xBB\xBF//; s/[\t].*//; s/\/.*//' | sort -u >"$TMP/words"
comm -23 "$TMP/original.sorted" "$TMP/words" | grep -v '^$' >"$TMP/candidates"
total=$(wc -l <"$TMP/candidates")
awk -v n="$FORMS" -v t="$total" 'NR % int(t / n) == 0 && c < n { print; c++ }' "$TMP/candidates" >"$TMP/injected"

count=$(head -1 "$CORPUS/en_GB.dic" | tr -dc '0-9')
{
    echo $((count + $(wc -l <"$TMP/injected")))
    tail -n +2 "$CORPUS/en_GB.dic"
    cat "$TMP/injected"
} >"$TMP/injected.dic"
cp "$CORPUS/en_GB.aff" "$TMP/injected.aff"

start=$(date +%s%N)
"$CLI" crunch "$TMP/injected.dic" "$TMP/crunched.dic" >"$TMP/report"
end=$(date +%s%N)

"$CLI" extract --kind txt "$TMP/crunched.dic" "$TMP/crunched.txt" >/dev/null
sed '1s/^\xEF\xBB\xBF//' "$TMP/crunched.txt" | sort -u >"$TMP/crunched.sorted"

injected_crunched=$(tail -n "$(wc -l <"$TMP/injected")" "$TMP/crunched.dic" | grep -c '/' || true)
printf 'injected\t%s\n' "$(wc -l <"$TMP/injected")"
printf 'crunched_total\t%s\n' "$(sed -n 's/^Crunched: //p' "$TMP/report")"
printf 'crunched_injected\t%s\n' "$injected_crunched"
printf 'crunch_wall_ms\t%s\n' "$(((end - start) / 1000000))"
printf 'forms_only_in_original\t%s\n' "$(comm -23 "$TMP/original.sorted" "$TMP/crunched.sorted" | wc -l)"
printf 'forms_only_in_crunched\t%s\n' "$(comm -13 "$TMP/original.sorted" "$TMP/crunched.sorted" | wc -l)"
printf 'sample\t%s\n' "$(tail -n "$(wc -l <"$TMP/injected")" "$TMP/crunched.dic" | grep '/' | awk 'NR % 97 == 1' | head -8 | paste -sd' ')"
printf 'extra_forms_sample\t%s\n' "$(comm -13 "$TMP/original.sorted" "$TMP/crunched.sorted" | head -8 | paste -sd' ')"
