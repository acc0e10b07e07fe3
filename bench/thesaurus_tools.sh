#!/usr/bin/env bash
# Every Thesaurus Tools batch tool through `lexaloom-cli thesaurus-tool` on the real
# thesaurus (th_en_US_v2), on a copy with 10,000 injected duplicate head words (each a
# second entry for an existing word with one meaning of its own, so the merge has work)
# and, for Combine, which refuses tagged meanings, on a one-synonym-per-line thesaurus
# made from the real one. Goal: each tool within 2 s (the cpu time is shown beside
# the wall time, which a busy machine inflates). The saved results are looked up
# head word by head word through libmythes.
# Usage: bench/thesaurus_tools.sh [BUILD_DIR]   (LEXALOOM_CORPUS overrides the corpus folder)
# Needs libmythes-dev (scripts/install-deps.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=${1:-${BUILD_DIR:-build}}
cli=$build/src/cli/lexaloom-cli
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
dat=$corpus/thesaurus/th_en_US_v2.dat
[[ -x $cli ]] || { echo "no $cli: build first" >&2; exit 1; }
[[ -f $dat ]] || { echo "no $dat" >&2; exit 1; }

work=${KEEP_DIR:-$(mktemp -d)}
[[ -n ${KEEP_DIR:-} ]] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work"
g++ -O2 -std=c++17 "$root/bench/mythes_lookup.cpp" -o "$work/mythes_lookup" $(pkg-config --cflags --libs mythes)

# The copy with duplicates: every 14th entry again at the end, with one extra meaning.
awk -v want=10000 '
    NR == 1 { print; next }
    left == 0 {
        split($0, h, "|"); head = h[1]; left = h[2] + 0; count++
        pick = (count % 14 == 0 && injected < want)
        if (pick) { injected++; extra[injected] = head "|2" }
        print; next
    }
    {
        print; left--
        if (pick && !(injected in first)) { first[injected] = $0 }
    }
    END {
        for (i = 1; i <= injected; i++)
            printf "%s\n%s\n(noun)|injected meaning %d\n", extra[i], first[i], i
    }' "$dat" >"$work/duplicates.dat"

# One synonym per line: the items of each meaning without tags, notes or "|".
awk '
    NR == 1 { print; next }
    left == 0 {
        if (head != "") flush()
        split($0, h, "|"); head = h[1]; left = h[2] + 0; n = 0; delete seen; next
    }
    {
        left--
        k = split($0, items, "|")
        for (i = 1; i <= k; i++) {
            item = items[i]
            if (item ~ /[()]/ || item == "" || item ~ /-$/ || item == head || (item in seen) || n >= 20) continue
            seen[item] = 1; list[++n] = item
        }
    }
    function flush() {
        if (n == 0) return
        print head "|" n
        for (j = 1; j <= n; j++) print list[j]
    }
    END { flush() }' "$dat" >"$work/simple.dat"

# tool INPUT_LABEL INPUT OUT
run() {
    local tool=$1 label=$2 input=$3 out=$4
    local log=$work/$label-$tool.log
    local status=0
    "$cli" thesaurus-tool "$tool" "$input" "$out" >"$log" 2>"$work/$label-$tool.err" || status=$?
    local ms changed
    ms=$(sed -n -E "s/^$tool ms: //p" "$log")
    changed=$(sed -n -E 's/^entries changed in place: //p' "$log")
    printf '%s %s ms\t%s\n' "$label" "$tool" "${ms:-refused (exit $status)}"
    printf '%s %s result\t%s\n' "$label" "$tool" \
        "$(sed -n -E "s/^$tool: //p" "$log")$(head -c 80 "$work/$label-$tool.err" | tr '\n' ' ')"
    sed -n -E 's/^entries: (.*)$/\1/p' "$log" | sed "s/^/$label $tool entries\t/"
    [[ -z $changed ]] || printf '%s %s entries changed in place\t%s\n' "$label" "$tool" "$changed"
}

for tool in extract extract-book; do
    run "$tool" real "$dat" "$work/real-$tool.txt"
done
for tool in clean-symbols merge-duplicates combine deduplicate sort-meanings sort-on-numbers fix-spaces; do
    run "$tool" real "$dat" "$work/real-$tool.dat"
    run "$tool" duplicates "$work/duplicates.dat" "$work/duplicates-$tool.dat"
done
run combine simple "$work/simple.dat" "$work/simple-combine.dat"
# What a maintainer does after Combine; common words then pass the 100-meaning limit.
run merge-duplicates combined "$work/simple-combine.dat" "$work/combined-merged.dat"
# Clean up leaves double spaces where tags were; Fix invalid spaces repairs them.
run fix-spaces cleaned "$work/real-clean-symbols.dat" "$work/cleaned-fix-spaces.dat"

for saved in real-sort-on-numbers real-sort-meanings real-clean-symbols cleaned-fix-spaces \
    duplicates-merge-duplicates simple-combine; do
    "$work/mythes_lookup" "$work/$saved.idx" "$work/$saved.dat" | sed "s/^/libmythes $saved: /"
done
