#!/usr/bin/env bash
# The real thesaurus (th_en_US_v2, 18.5 MB): load and save timings through the command
# line (goal: each within 0.5 s), the round trip's .dat against the original (equal
# apart from the byte-order mark), and every head word looked up through libmythes in
# our .idx and .dat, for the file as loaded and after Sort.
# Usage: bench/thesaurus_files.sh [BUILD_DIR]   (LEXALOOM_CORPUS overrides the corpus folder)
# Needs libmythes-dev (scripts/install-deps.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=${1:-${BUILD_DIR:-build}}
cli=$build/src/cli/lexaloom-cli
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
dat=$corpus/thesaurus/th_en_US_v2.dat
[[ -x $cli ]] || { echo "no $cli: build first" >&2; exit 1; }
[[ -f $dat ]] || { echo "no $dat" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++17 "$root/bench/mythes_lookup.cpp" -o "$work/mythes_lookup" $(pkg-config --cflags --libs mythes)

metrics() { # prefix, output of the cli
    sed -n -E 's/^(entries|load ms|sort ms|save ms): (.*)$/\1\t\2/p' "$2" | sed "s/^/$1 /"
}

"$cli" roundtrip --kind thesaurus "$dat" "$work/out" >"$work/roundtrip.txt" 2>/dev/null
metrics "roundtrip" "$work/roundtrip.txt"
if tail -c +4 "$work/out/th_en_US_v2.dat" | cmp -s - "$dat"; then
    printf 'roundtrip .dat equal apart from the BOM\tyes\n'
else
    printf 'roundtrip .dat equal apart from the BOM\tNO\n'
fi
"$work/mythes_lookup" "$work/out/th_en_US_v2.idx" "$work/out/th_en_US_v2.dat" | sed 's/^/libmythes as loaded: /'

"$cli" thesaurus-sort "$dat" "$work/sorted.dat" >"$work/sort.txt" 2>/dev/null
metrics "thesaurus-sort" "$work/sort.txt"
"$work/mythes_lookup" "$work/sorted.idx" "$work/sorted.dat" | sed 's/^/libmythes after Sort: /'
