#!/usr/bin/env bash
# Wordlist extraction throughput, side by side with Hunspell's unmunch.
#
#   bench/extract.sh [DIC]     (default pt_PT.dic of the corpus; RUNS=3 by default;
#                               LEXALOOM_CORPUS overrides /work/corpus-data)
#
# Builds a Release tree in build-bench when needed, then measures the CPU time
# (user + system, best of RUNS) of
#   - lexaloom-cli extract --kind txt DIC OUT   (Dictionary Tools > Extract wordlist > All .txt)
#   - lexaloom-cli extract --kind csv DIC OUT   (All .csv)
#   - unmunch DIC AFF > OUT
# and prints forms per second and our ratio to unmunch. Our times include loading
# the dictionary as File > Open does. unmunch derives a different set of forms,
# so each side is divided by its own form count.
# Then the peak memory (/usr/bin/time -v) of "All .txt" on DIC and on a .dic made
# of DIC's entries repeated ten times, next to the output sizes: it must stay flat
# while the output grows, as the forms are streamed to the file.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell
RUNS=${RUNS:-3}
DIC=${1:-$CORPUS/pt_PT.dic}
AFF=${DIC%.dic}.aff

[ -f "$DIC" ] || { echo "extract.sh: no dictionary at $DIC" >&2; exit 1; }
command -v unmunch >/dev/null || { echo "extract.sh: unmunch not found (package hunspell-tools)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "extract.sh: /usr/bin/time not found (package time)" >&2; exit 1; }

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli >/dev/null
CLI=$BUILD/src/cli/lexaloom-cli

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# shellcheck source=bench/timing.bash
source "$ROOT/bench/timing.bash"
lines() { tail -c +4 "$1" | wc -l; } # after the byte-order mark
peak_kb() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'; }

name=$(basename "$DIC" .dic)
"$CLI" extract --kind txt "$DIC" "$TMP/ours.txt" >/dev/null 2>&1
"$CLI" extract --kind csv "$DIC" "$TMP/ours.csv" >/dev/null 2>&1
unmunch "$DIC" "$AFF" >"$TMP/unmunch.txt" 2>/dev/null || true
ours=$(lines "$TMP/ours.txt")
ours_csv=$(( $(lines "$TMP/ours.csv") - 1 )) # less the heading
theirs=$(wc -l <"$TMP/unmunch.txt")
counted=$("$CLI" count "$DIC" | tr -cd '0-9')

txt_ms=$(cpu_ms "$CLI" extract --kind txt "$DIC" "$TMP/ours.txt")
csv_ms=$(cpu_ms "$CLI" extract --kind csv "$DIC" "$TMP/ours.csv")
unmunch_ms=$(cpu_ms sh -c 'unmunch "$1" "$2" >"$3" 2>/dev/null' sh "$DIC" "$AFF" "$TMP/unmunch.txt")

u=$(per_s "$theirs" "$unmunch_ms")
t=$(per_s "$ours" "$txt_ms")
c=$(per_s "$ours_csv" "$csv_ms")
echo "$name: count reports $counted forms; All .txt has $ours lines, All .csv $ours_csv rows; unmunch $theirs lines"
printf '%-10s %10s %10s %12s %10s %s\n' "" "forms" "cpu ms" "Mforms/s" "size" "vs unmunch"
printf '%-10s %10s %10s %12s %10s %s\n' "All .txt" "$ours" "$txt_ms" "$t" "$(du -h "$TMP/ours.txt" | cut -f1)" "$(ratio "$t" "$u")"
printf '%-10s %10s %10s %12s %10s %s\n' "All .csv" "$ours_csv" "$csv_ms" "$c" "$(du -h "$TMP/ours.csv" | cut -f1)" "$(ratio "$c" "$u")"
printf '%-10s %10s %10s %12s %10s %s\n' "unmunch" "$theirs" "$unmunch_ms" "$u" "$(du -h "$TMP/unmunch.txt" | cut -f1)" "1.00x"
[ "$ours" = "$counted" ] || echo "MISMATCH: All .txt lines ($ours) differ from count ($counted)"

# Ten copies of the entries under one count line; the .aff beside it.
big=$TMP/big/${name}.dic
mkdir -p "$TMP/big"
cp "$AFF" "$TMP/big/"
entries=$(tail -n +2 "$DIC")
{ echo $(( $(head -1 "$DIC" | tr -cd '0-9') * 10 )); for _ in $(seq 10); do printf '%s\n' "$entries"; done; } >"$big"

echo
echo "Peak memory (maximum resident set size). The loaded dictionary itself grows with"
echo "the .dic; Compounds .txt loads the same and writes little, so it is the baseline:"
for d in "$DIC" "$big"; do
    for kind in compounds txt; do
        rm -f "$TMP/mem.txt"
        kb=$(peak_kb "$CLI" extract --kind "$kind" "$d" "$TMP/mem.txt")
        printf '  %-10s %-10s .dic %6s  output %6s %10s lines  peak %6s MB\n' \
            "$( [ "$d" = "$DIC" ] && echo "$name" || echo "$name x10")" "$kind" "$(du -h "$d" | cut -f1)" \
            "$(du -h "$TMP/mem.txt" | cut -f1)" "$(lines "$TMP/mem.txt")" "$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')"
    done
done
