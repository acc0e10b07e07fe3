# Timing helpers shared by the bench scripts (sourced, never run on its own).
# RUNS must be set by the caller.

# Best CPU time in milliseconds of a command over RUNS runs.
cpu_ms() {
    local best="" t
    for _ in $(seq "$RUNS"); do
        t=$( { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%d", ($1 + $2) * 1000 }')
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    done
    [ "$best" -gt 0 ] || best=1
    echo "$best"
}

per_s() { awk -v n="$1" -v ms="$2" 'BEGIN { printf "%.2f", n / ms / 1000 }'; } # millions per second
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }
