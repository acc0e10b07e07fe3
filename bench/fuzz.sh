#!/usr/bin/env bash
# Runs one libFuzzer target over its seeds for a while.
#
#   bench/fuzz.sh TARGET SECONDS      e.g. bench/fuzz.sh aff_derive 600
#
# TARGET is a file name under tests/fuzz/ without ".cpp" (the "fuzz_" may be left
# out). Builds the target in build-san (the clang ASan+UBSan tree of `make test`) when needed, copies the seeds to a
# scratch folder so they stay as they are, runs at low priority, and prints the
# runs, the coverage (cov: edges, ft: features) and every crash, timeout or
# out-of-memory input found. KEEP_GOING=1 carries on after a finding (libFuzzer's
# fork mode) so that one run collects them all; by default the first one ends it.
# FUZZ_OPTIONS adds libFuzzer options (e.g. "-max_len=16384").
# Store a finding worth keeping in tests/fuzz/crashes/<target>/: `make test` runs it.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-san}
[ $# -eq 2 ] || { echo "usage: bench/fuzz.sh TARGET SECONDS" >&2; exit 2; }
TARGET=fuzz_${1#fuzz_}
SECONDS_TO_RUN=$2
SOURCE=$ROOT/tests/fuzz
[ -f "$SOURCE/$TARGET.cpp" ] || {
    echo "fuzz.sh: no target $TARGET (have: $(cd "$SOURCE" && ls fuzz_*.cpp | sed 's/\.cpp$//' | tr '\n' ' '))" >&2
    exit 2
}

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DLEXALOOM_SANITIZE=ON -DLEXALOOM_FUZZ=ON >/dev/null
fi
nice -n 10 cmake --build "$BUILD" -j2 --target "$TARGET" >/dev/null

DICT=$(sed -n "s/^set(${TARGET}_DICT \(.*\))$/\1/p" "$SOURCE/CMakeLists.txt")
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/$TARGET.XXXXXX")
mkdir -p "$SCRATCH/corpus" "$SCRATCH/findings"
cp "$SOURCE/corpus/$TARGET"/* "$SCRATCH/corpus/"

OPTIONS=(-max_total_time="$SECONDS_TO_RUN" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
    -artifact_prefix="$SCRATCH/findings/")
[ -n "$DICT" ] && OPTIONS+=(-dict="$SOURCE/$DICT")
[ "${KEEP_GOING:-0}" = 1 ] && OPTIONS+=(-fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1)
# shellcheck disable=SC2206 # options are words
[ -n "${FUZZ_OPTIONS:-}" ] && OPTIONS+=($FUZZ_OPTIONS)

echo "$TARGET for ${SECONDS_TO_RUN}s; log, corpus and findings in $SCRATCH"
status=0
(cd "$SCRATCH" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice -n 10 "$BUILD/tests/fuzz/$TARGET" "${OPTIONS[@]}" "$SCRATCH/corpus") >"$SCRATCH/log" 2>&1 || status=$?

grep -E '^#[0-9]+' "$SCRATCH/log" | tail -n 1 | sed 's/^/last status: /' || true
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|INFO: fuzzed for)' "$SCRATCH/log" || true
grep -E '^==[0-9]+==ERROR|^SUMMARY|runtime error|ALARM|out-of-memory|-- deadly signal' "$SCRATCH/log" | sort | uniq -c || true
echo "corpus: $(ls "$SCRATCH/corpus" | wc -l) inputs (seeds: $(ls "$SOURCE/corpus/$TARGET" | wc -l))"
findings=$(ls "$SCRATCH/findings" | wc -l)
if [ "$findings" -gt 0 ]; then
    echo "findings: $findings in $SCRATCH/findings (the first ten, smallest first):"
    (cd "$SCRATCH/findings" && ls -S -r | head -n 10 | xargs ls -l | sed 's/^/  /')
fi
exit $status
