#!/usr/bin/env bash
# Times Find over the real en_GB dictionary, once as it is and once twenty times
# over (about two million entries), and shows how often the search pumps events.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$here/build-bench}"
corpus="${LEXALOOM_CORPUS:-/work/corpus-data}"
dic="$corpus/hunspell/en_GB.dic"
if [[ ! -f "$dic" ]]; then
    echo "find.sh: $dic not found (set LEXALOOM_CORPUS)" >&2
    exit 1
fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF -DLEXALOOM_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target find_bench >/dev/null
"$build/bench/find_bench" "$dic" 1
echo
"$build/bench/find_bench" "$dic" 20
