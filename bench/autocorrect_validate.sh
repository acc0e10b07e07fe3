#!/usr/bin/env bash
# AC Validate on the real lists and dictionaries of the corpus: the time of a run
# (goal <= 2 s each) and the memory of its word set (goal within 3x the forms as text),
# then the command line's issue counts.
#
#   bench/autocorrect_validate.sh     (RUNS=3 by default; LEXALOOM_CORPUS overrides /work/corpus-data)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}
RUNS=${RUNS:-3}

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF -DLEXALOOM_BENCH=ON >/dev/null
fi
cmake --build "$BUILD" -j2 --target lexaloom-cli autocorrect_validate_bench >/dev/null
CLI=$BUILD/src/cli/lexaloom-cli
BENCH=$BUILD/bench/autocorrect_validate_bench

for pair in "en-GB en_GB" "pt-PT pt_PT"; do
    set -- $pair
    list=$CORPUS/autocorrect/$1/DocumentList.xml
    dic=$CORPUS/hunspell/$2.dic
    if [ ! -f "$list" ] || [ ! -f "$dic" ]; then
        echo "autocorrect_validate.sh: $1 or $2 missing, skipped"
        continue
    fi
    echo "== $1 list against $2"
    "$BENCH" "$list" "$dic" "$RUNS"
    set +e
    report=$("$CLI" validate-autocorrect "$list" "$dic")
    status=$?
    set -e
    echo "validate-autocorrect: exit $status, $(grep -c "^Not found:" <<<"$report") not found," \
        "$(grep -c "^Incorrect Autocorrect entry:" <<<"$report") incorrect entries, $(tail -1 <<<"$report")"
done
