#!/usr/bin/env bash
# Dictionary Tools > Statistics on the real dictionaries.
#
#   bench/statistics.sh      (RUNS=3 by default; LEXALOOM_CORPUS overrides /work/corpus-data)
#
# Builds lexaloom-cli in a Release tree (build-bench) when needed, then for en_GB and
# pt_PT prints the number of forms, the best CPU time of
#   - lexaloom-cli statistics DIC   (load as File > Open does, then the statistics run)
#   - lexaloom-cli count DIC        (load and count only: the engine's share)
# and the peak memory (maximum resident set size, /usr/bin/time -v) of the statistics.
# Goal: pt_PT within 1 s, and a peak that follows the size of the .dic, not the
# number of forms (pt_PT derives about four times the forms of en_GB).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell
RUNS=${RUNS:-3}

[ -x /usr/bin/time ] || { echo "statistics.sh: /usr/bin/time not found (package time)" >&2; exit 1; }
for name in en_GB pt_PT; do
    [ -f "$CORPUS/$name.dic" ] || { echo "statistics.sh: no $CORPUS/$name.dic" >&2; exit 1; }
done

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli >/dev/null
CLI=$BUILD/src/cli/lexaloom-cli

# shellcheck source=bench/timing.bash
source "$ROOT/bench/timing.bash"
peak_kb() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'; }

printf '%-6s %10s %8s %15s %9s %9s %14s\n' "" "forms" "entries" "statistics ms" "count ms" "peak MB" ".dic size"
for name in en_GB pt_PT; do
    dic=$CORPUS/$name.dic
    forms=$("$CLI" statistics "$dic" | head -1 | tr -cd '0-9')
    entries=$(( $(wc -l <"$dic") - 1 ))
    stats_ms=$(cpu_ms "$CLI" statistics "$dic")
    count_ms=$(cpu_ms "$CLI" count "$dic")
    kb=$(peak_kb "$CLI" statistics "$dic")
    printf '%-6s %10s %8s %15s %9s %9s %14s\n' "$name" "$forms" "$entries" "$stats_ms" "$count_ms" \
        "$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')" "$(du -h "$dic" | cut -f1)"
    if [ "$name" = pt_PT ] && [ "$stats_ms" -gt 1000 ]; then
        echo "OVER GOAL: statistics of pt_PT took $stats_ms ms (goal 1000 ms)"
    fi
done
