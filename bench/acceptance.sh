#!/usr/bin/env bash
# How many of the forms our engine derives Hunspell's own checker accepts.
#
#   bench/acceptance.sh        (LEXALOOM_CORPUS overrides /work/corpus-data)
#
# For each corpus dictionary: every form written as "All .txt" writes it, then
#   - `hunspell -l`, the reference listing of rejected words; it splits lines
#     into tokens (at spaces, hyphens, a leading apostrophe), so it also lists
#     parts of multi-word forms such as "Sainte" from "Sainte Anne";
#   - hunspell_rejects, the same checker through libhunspell on each whole form.
# The rejected whole forms are printed for inspection.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF -DLEXALOOM_BENCH=ON >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli >/dev/null
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
cc -O2 "$ROOT/bench/hunspell_rejects.c" -o "$TMP/hunspell_rejects" -l:libhunspell-1.7.so.0

for dic in "$CORPUS"/*.dic; do
    name=$(basename "$dic" .dic)
    "$BUILD/src/cli/lexaloom-cli" derive-all "$dic" "$TMP/$name.txt" >/dev/null
    tail -c +4 "$TMP/$name.txt" >"$TMP/$name.plain" # without the byte-order mark
    forms=$(wc -l <"$TMP/$name.plain")
    tokens=$(hunspell -i UTF-8 -d "${dic%.dic}" -l <"$TMP/$name.plain" | wc -l)
    "$TMP/hunspell_rejects" "${dic%.dic}.aff" "$dic" <"$TMP/$name.plain" >"$TMP/$name.rejected"
    rejected=$(wc -l <"$TMP/$name.rejected")
    awk -v n="$name" -v f="$forms" -v r="$rejected" -v t="$tokens" 'BEGIN {
        printf "%-6s %9d forms, %d rejected as whole forms (%.4f%% accepted); hunspell -l lists %d tokens\n",
            n, f, r, 100 * (f - r) / f, t }'
    sed 's/^/    rejected: /' "$TMP/$name.rejected"
    # The forms a spell checker accepts on their own (extract --kind accepted).
    "$BUILD/src/cli/lexaloom-cli" extract --kind accepted "$dic" "$TMP/$name.accepted.txt" >/dev/null
    tail -c +4 "$TMP/$name.accepted.txt" >"$TMP/$name.accepted"
    kept=$(wc -l <"$TMP/$name.accepted")
    "$TMP/hunspell_rejects" "${dic%.dic}.aff" "$dic" <"$TMP/$name.accepted" >"$TMP/$name.accepted.rejected"
    still=$(wc -l <"$TMP/$name.accepted.rejected")
    awk -v n="$name" -v f="$kept" -v r="$still" 'BEGIN {
        printf "%-6s %9d accepted forms, %d of them rejected (%.4f%% accepted)\n", n, f, r, 100 * (f - r) / (f ? f : 1) }'
    sed 's/^/    accepted but rejected: /' "$TMP/$name.accepted.rejected"
done
