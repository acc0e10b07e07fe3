#!/usr/bin/env bash
# Times a cold `make test` as CI runs it: a fresh clone of HEAD in a scratch folder,
# the compiler cache off, every recipe line of the Makefile timed on its own.
#
#   bench/cold_make_test.sh [JOBS]
#
# Prints one line a phase (wall seconds, CPU seconds, the command) and the number of
# tests each phase ran. The clone is removed afterwards (KEEP=1 keeps it).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=${1:-$(nproc)}
WORK=$(mktemp -d /tmp/lexaloom-cold.XXXXXX)
LOG=$WORK/timing.tsv
trap '[ "${KEEP:-0}" = 1 ] || rm -rf "$WORK"' EXIT

git clone -q "$ROOT" "$WORK/src"
cp "$ROOT/bench/timed_shell.sh" "$WORK/timed_shell.sh"
export CCACHE_DISABLE=1 TIMING_LOG=$LOG
start=$(date +%s.%N)
make -C "$WORK/src" test JOBS="$JOBS" SHELL="$WORK/timed_shell.sh" > "$WORK/make.log" 2>&1 || {
    tail -40 "$WORK/make.log" >&2
    echo "cold_make_test: make test failed (log kept in $WORK)" >&2
    KEEP=1
    exit 1
}
end=$(date +%s.%N)

printf '%8s %8s  %s\n' wall_s cpu_s phase
awk -F'\t' '{ printf "%8.1f %8.1f  %s\n", $1, $2, substr($3, 1, 110) }' "$LOG"
printf '%8.1f %8s  %s\n' "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "" "make test, in all"

cd "$WORK/src"
echo
echo "tests: core_tests $(build/tests/core_tests --gtest_list_tests | grep -c '^  ') cases;" \
    "gui_tests $(for c in $(build/tests/gui_tests --list); do QT_QPA_PLATFORM=offscreen build/tests/gui_tests "$c" -functions; done | grep -c '()') functions in $(build/tests/gui_tests --list | wc -l) classes;" \
    "ctest in build/: $(ctest --test-dir build -N | grep -c 'Test #') entries;" \
    "in build-san/: $(ctest --test-dir build-san -N -R '^(core_tests|gui_)' | grep -c 'Test #') sanitizer and $(ctest --test-dir build-san -N -L fuzz | grep -c 'Test #') fuzz entries"
