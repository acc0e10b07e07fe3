#!/usr/bin/env bash
# Derivation engine throughput, side by side with Hunspell's unmunch.
#
#   bench/engine.sh            (RUNS=5 by default; LEXALOOM_CORPUS overrides /work/corpus-data)
#
# Builds a Release tree in build-bench when needed, then for every corpus
# dictionary measures the CPU time (user + system, best of RUNS) of
#   - lexaloom-cli count DIC          (the "Count wordlist" total)
#   - lexaloom-cli derive-all DIC OUT (every form written as "All .txt" writes it)
#   - unmunch DIC AFF > /dev/null and > OUT
# and prints forms per second and our ratio to unmunch. unmunch is a speed
# reference only: it derives a different set of forms, so each side is divided
# by its own form count. Then engine_bench gives in-process times of
# BuildAffixTable and of the entry with the most forms (as the word editor derives it).
# Dictionaries in LEXALOOM_EXTRA_DICTS (Korean, Basque, Turkish) are counted too.
# BEFORE=/path/to/an/older/lexaloom-cli adds its times in the same run, for a
# before/after comparison on the same machine and load.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell
RUNS=${RUNS:-5}

[ -d "$CORPUS" ] || { echo "engine.sh: no corpus at $CORPUS" >&2; exit 1; }
command -v unmunch >/dev/null || { echo "engine.sh: unmunch not found (package hunspell-tools)" >&2; exit 1; }

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF -DLEXALOOM_BENCH=ON >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli engine_bench >/dev/null
CLI=$BUILD/src/cli/lexaloom-cli
ENGINE=$BUILD/bench/engine_bench

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# shellcheck source=bench/timing.bash
source "$ROOT/bench/timing.bash"

printf '%-7s %10s %10s | %-28s | %-28s | %-28s\n' "dict" "our forms" "unmunch" \
    "count: ours / unmunch Mf/s" "write: ours / unmunch Mf/s" "ratios count, write"
for dic in "$CORPUS"/*.dic; do
    name=$(basename "$dic" .dic)
    aff=${dic%.dic}.aff
    ours=$("$CLI" count "$dic" | tr -cd '0-9')
    theirs=$(unmunch "$dic" "$aff" 2>/dev/null | wc -l)

    count_ms=$(cpu_ms "$CLI" count "$dic")
    write_ms=$(cpu_ms "$CLI" derive-all "$dic" "$TMP/ours.txt")
    unmunch_null_ms=$(cpu_ms sh -c 'unmunch "$1" "$2" >/dev/null 2>&1' sh "$dic" "$aff")
    unmunch_file_ms=$(cpu_ms sh -c 'unmunch "$1" "$2" >"$3" 2>/dev/null' sh "$dic" "$aff" "$TMP/unmunch.txt")

    c_ours=$(per_s "$ours" "$count_ms"); c_theirs=$(per_s "$theirs" "$unmunch_null_ms")
    w_ours=$(per_s "$ours" "$write_ms"); w_theirs=$(per_s "$theirs" "$unmunch_file_ms")
    printf '%-7s %10s %10s | %8s ms %6s / %6s | %8s ms %6s / %6s | %8s %8s\n' "$name" "$ours" "$theirs" \
        "$count_ms" "$c_ours" "$c_theirs" "$write_ms" "$w_ours" "$w_theirs" \
        "$(ratio "$c_ours" "$c_theirs")" "$(ratio "$w_ours" "$w_theirs")"
    if [ -n "${BEFORE:-}" ]; then
        b_count_ms=$(cpu_ms "$BEFORE" count "$dic")
        b_write_ms=$(cpu_ms "$BEFORE" derive-all "$dic" "$TMP/before.txt")
        printf '%-7s %21s | %8s ms %6s %8s | %8s ms %6s %8s | %8s %8s\n' "before" "" \
            "$b_count_ms" "$(per_s "$ours" "$b_count_ms")" "" "$b_write_ms" "$(per_s "$ours" "$b_write_ms")" "" \
            "$(ratio "$(per_s "$ours" "$b_count_ms")" "$c_theirs")" "$(ratio "$(per_s "$ours" "$b_write_ms")" "$w_theirs")"
    fi
done

# Large dictionaries outside the corpus (Korean, Basque, Turkish from Debian's
# hunspell-ko, hunspell-eu and hunspell-tr, unpacked with dpkg -x): counting
# only, once each for the two big ones (Basque alone has 3.1 G forms).
EXTRA=${LEXALOOM_EXTRA_DICTS:-/work/extra-dicts/usr/share/hunspell}
if [ -d "$EXTRA" ]; then
    echo
    printf '%-7s %12s | %-24s\n' "dict" "our forms" "count: ms, Mf/s"
    for name in ko eu tr_TR; do
        dic=$EXTRA/$name.dic
        [ -f "$dic" ] || continue
        ours=$("$CLI" count "$dic" | tr -cd '0-9')
        runs=$RUNS
        [ "$ours" -lt 100000000 ] || runs=1 # Korean and Basque take seconds each
        count_ms=$(RUNS=$runs cpu_ms "$CLI" count "$dic")
        printf '%-7s %12s | %10s ms %8s\n' "$name" "$ours" "$count_ms" "$(per_s "$ours" "$count_ms")"
        if [ -n "${BEFORE:-}" ]; then
            b_count_ms=$(RUNS=$runs cpu_ms "$BEFORE" count "$dic")
            printf '%-7s %12s | %10s ms %8s\n' "before" "" "$b_count_ms" "$(per_s "$ours" "$b_count_ms")"
        fi
    done
fi

echo
echo "In-process (engine_bench, median):"
largest_aff=$(ls -S "$CORPUS"/*.aff | head -1)
# The count and write rates here leave out the process start, the .aff build and
# reading the file, which the command's figures above include.
for dic in "$CORPUS"/*.dic ${EXTRA:+"$EXTRA"/tr_TR.dic}; do
    [ -f "$dic" ] || continue
    name=$(basename "$dic" .dic)
    "$ENGINE" "$dic" "$RUNS" | awk -v name="$name" -v largest="$( [ "${dic%.dic}.aff" = "$largest_aff" ] && echo " (largest .aff)")" '
        /^build_table_ms/ { b = $2 } /^biggest_entry / { e = $2 } /^biggest_forms/ { f = $2 }
        /^biggest_entry_ms/ { m = $2 } /^count_forms_per_s/ { c = $2 } /^write_forms_per_s/ { w = $2 }
        END { printf "%-7s count %.2f Mf/s, write %.2f Mf/s; BuildAffixTable %.3f ms%s; entry with most forms %s (%d forms) %.3f ms\n", name, c / 1e6, w / 1e6, b, largest, e, f, m }'
done
