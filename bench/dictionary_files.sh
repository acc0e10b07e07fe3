#!/usr/bin/env bash
# Load and save timings and peak memory of the dictionary files, next to `cat` of
# the same files: the real pt_PT dictionary and a 1,000,000-line one made from it.
# Usage: bench/dictionary_files.sh [BUILD_DIR]   (LEXALOOM_CORPUS overrides the corpus folder)
# "load ms" and "save ms" are measured inside the program; they include writing the
# recent-files log, and the save includes syncing both files to disk.
set -euo pipefail

build=${1:-${BUILD_DIR:-build}}
cli=$build/src/cli/lexaloom-cli
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
source_dic=$corpus/hunspell/pt_PT.dic
[[ -x $cli ]] || { echo "no $cli: build first" >&2; exit 1; }
[[ -f $source_dic ]] || { echo "no $source_dic" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# pt_PT's entries repeated with a numbered word until there are 1,000,000 lines.
python3 - "$source_dic" "$work/big.dic" <<'PY'
import sys
lines = open(sys.argv[1], 'rb').read().split(b'\n')[1:]
lines = [l for l in lines if l]
out, n, r = [], 1000000, 0
while len(out) < n:
    for l in lines:
        if len(out) == n:
            break
        cut = min([i for i in (l.find(b'/'), l.find(b'\t')) if i >= 0] or [len(l)])
        out.append(l[:cut] + (b'%d' % r if r else b'') + l[cut:])
    r += 1
open(sys.argv[2], 'wb').write(b'%d\n' % n + b'\n'.join(out) + b'\n')
PY
cp "$corpus/hunspell/pt_PT.aff" "$work/big.aff"
cp "$source_dic" "$work/pt_PT.dic"
cp "$corpus/hunspell/pt_PT.aff" "$work/pt_PT.aff"

measure() { # label, command...
    local label=$1
    shift
    /usr/bin/time -v "$@" >"$work/out.txt" 2>"$work/time.txt"
    local rss wall user sys
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
    user=$(awk -F': ' '/User time/ {print $2}' "$work/time.txt")
    sys=$(awk -F': ' '/System time/ {print $2}' "$work/time.txt")
    printf '%-26s wall %-8s user %5ss sys %5ss  peak RSS %7.1f MB\n' "$label" "$wall" "$user" "$sys" \
        "$(echo "$rss / 1024" | bc -l)"
    grep -E '^(entries|load ms|save ms):' "$work/out.txt" | sed 's/^/    /' || true
}

measure "cli startup (--help)" "$cli" --help
for name in pt_PT big; do
    dic=$work/$name.dic
    size=$(stat -c %s "$dic")
    lines=$(wc -l <"$dic")
    printf '\n%s.dic: %d bytes, %d lines (4x size = %.1f MB)\n' "$name" "$size" "$lines" "$(echo "4 * $size / 1048576" | bc -l)"
    measure "cat .dic + .aff" cat "$dic" "$work/$name.aff"
    measure "load + save (roundtrip)" "$cli" roundtrip "$dic" "$work/out"
done
