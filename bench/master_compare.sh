#!/usr/bin/env bash
# "Words missing in Master Wordlist" on real word lists: the "All .txt" extractions of
# en_GB and en_US compared in both directions.
#
#   bench/master_compare.sh      (LEXALOOM_CORPUS overrides /work/corpus-data; BUILD the
#                                 build tree, default build-bench)
#
# Prints the line counts, the missing-word counts, the wall time of each direction
# (goal: 2 s or less each) and a sample of each result.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell
[ -f "$CORPUS/en_GB.dic" ] && [ -f "$CORPUS/en_US.dic" ] || { echo "master_compare.sh: no en_GB/en_US in $CORPUS" >&2; exit 1; }

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli >/dev/null
CLI=$BUILD/src/cli/lexaloom-cli

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

"$CLI" extract --kind txt "$CORPUS/en_GB.dic" "$TMP/gb.txt" >/dev/null
"$CLI" extract --kind txt "$CORPUS/en_US.dic" "$TMP/us.txt" >/dev/null
printf 'lines_en_GB\t%s\n' "$(wc -l <"$TMP/gb.txt")"
printf 'lines_en_US\t%s\n' "$(wc -l <"$TMP/us.txt")"

compare() { # name master other
    local start end
    start=$(date +%s%N)
    "$CLI" master-compare "$2" "$3" "$TMP/$1.txt" >/dev/null
    end=$(date +%s%N)
    printf '%s_missing\t%s\n' "$1" "$(wc -l <"$TMP/$1.txt")"
    printf '%s_wall_ms\t%s\n' "$1" "$(((end - start) / 1000000))"
    printf '%s_sample\t%s\n' "$1" "$(awk 'NR % 997 == 2' "$TMP/$1.txt" | head -8 | sed 's/^\xEF\xBB\xBF//' | paste -sd' ')"
}
compare us_not_in_gb "$TMP/gb.txt" "$TMP/us.txt"
compare gb_not_in_us "$TMP/us.txt" "$TMP/gb.txt"
