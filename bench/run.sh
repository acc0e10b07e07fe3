#!/usr/bin/env bash
# Builds the performance harness (Release, -DLEXALOOM_BENCH=ON, in build-bench) and
# runs every bench binary and every other bench/*.sh script, printing their
# "metric<TAB>value" lines side by side under the bench's name.
# Usage: bench/run.sh [build-dir]   (default: build-bench)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-bench}"
jobs="${JOBS:-2}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_BENCH=ON >/dev/null
targets=()
for source in "$root"/bench/*_bench.cpp; do
    [ -e "$source" ] && targets+=("$(basename "$source" .cpp)")
done
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$build" -j "$jobs" --target "${targets[@]}"
fi

results="$(mktemp)"
trap 'rm -f "$results"' EXIT

run() { # name command...
    local name="$1"
    shift
    echo "bench: running $name" >&2
    if ! "$@" | while IFS= read -r line; do printf '%s\t%s\n' "$name" "$line"; done >>"$results"; then
        printf '%s\tFAILED\t\n' "$name" >>"$results"
    fi
}

export QT_QPA_PLATFORM=offscreen
for target in "${targets[@]}"; do
    # A bench that needs arguments (a corpus file) is run by its own script.
    if grep -lq -- "$target" "$root"/bench/*.sh 2>/dev/null && ! grep -q -- "$target" "$root/bench/run.sh"; then
        continue
    fi
    run "$target" "$build/bench/$target"
done
for script in "$root"/bench/*.sh; do
    [ "$(basename "$script")" = "run.sh" ] && continue
    [ -e "$script" ] || continue
    run "$(basename "$script" .sh)" env BUILD_DIR="$build" BUILD="$build" BENCH_BUILD_DIR="$build" bash "$script"
done

echo
{
    printf 'BENCH\tMETRIC\tVALUE\n'
    cat "$results"
} | column -t -s $'\t'
