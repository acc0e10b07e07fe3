#!/usr/bin/env bash
# The duplicates tool and the flag sort on real dictionaries with injected duplicates.
#
#   bench/duplicates.sh [LANG...]   (default en_GB pt_PT of the corpus; LEXALOOM_CORPUS
#                                    overrides /work/corpus-data; LEXALOOM_CLI a built CLI)
#
# Copies each pair and adds about 5 % duplicate entries, each the copy of a random
# entry: identical, a bare word, a part of its flags in another order (overlapping),
# or its flags with one repeated. No injected entry adds a form the original lacks,
# so after "merge-duplicates" the derived forms (extract --kind txt, sort -u) must
# equal the original's as sets; comm proves it. Prints found/merged/deleted counts
# and the times of the tool (its own "ms", load and save left out) and of the whole
# command. Goals: the whole tool <= 3 s on pt_PT, sort flags <= 1 s.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}/hunspell
CLI=${LEXALOOM_CLI:-}
if [ -z "$CLI" ]; then
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF >/dev/null
    fi
    cmake --build "$BUILD" -j2 --target lexaloom-cli >/dev/null
    CLI=$BUILD/src/cli/lexaloom-cli
fi
LANGS=("$@")
[ ${#LANGS[@]} -gt 0 ] || LANGS=(en_GB pt_PT)

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# inject SRC_DIC OUT_DIC SEED: the entries of SRC and ~5 % copies, shuffled in.
inject() {
    python3 - "$1" "$2" "$3" <<'PY'
import random, sys
src, out, seed = sys.argv[1], sys.argv[2], int(sys.argv[3])
rnd = random.Random(seed)
raw = open(src, 'rb').read().decode('utf-8', 'surrogateescape')
bom = raw.startswith('\ufeff')
lines = raw.lstrip('\ufeff').split('\n')
if lines and lines[-1] == '':
    lines.pop()
count, entries = lines[0], lines[1:]

def split(entry):
    # word, flags, tail (tab and tags) as the .dic line holds them; an escaped slash stays in the word
    body, sep, tags = entry.partition('\t')
    i = 0
    while True:
        i = body.find('/', i)
        if i <= 0 or body[i - 1] != '\\':
            break
        i += 1
    if i < 0 or body.startswith('/'):
        return None if body.startswith('/') else (body, '', sep + tags)
    return body[:i], body[i + 1:], sep + tags

added = []
for entry in rnd.sample(entries, len(entries) // 20):
    parts = split(entry)
    if parts is None:
        continue
    word, flags, tail = parts
    kind = rnd.randrange(4)
    if kind == 0 or not flags:
        added.append(entry)                       # identical
    elif kind == 1:
        added.append(word + tail)                 # bare word
    elif kind == 2:
        part = rnd.sample(list(flags), rnd.randint(1, len(flags)))
        added.append(word + '/' + ''.join(part) + tail)   # overlapping flags, another order
    else:
        added.append(word + '/' + flags + rnd.choice(flags) + tail)  # a repeated flag
allentries = entries + added
rnd.shuffle(allentries)
text = ('\ufeff' if bom else '') + str(len(allentries)) + '\n' + '\n'.join(allentries) + '\n'
open(out, 'wb').write(text.encode('utf-8', 'surrogateescape'))
print(len(added))
PY
}

ms_of() { awk '/^ms:/ { print $2 }' "$1"; }
field() { awk -v k="$2" 'index($0, k ": ") == 1 { sub(/^[^:]*: /, ""); print }' "$1"; }

failures=0
for lang in "${LANGS[@]}"; do
    dic=$CORPUS/$lang.dic
    [ -f "$dic" ] || { echo "duplicates.sh: no dictionary at $dic" >&2; exit 1; }
    mkdir -p "$TMP/$lang"
    cp "$CORPUS/$lang.aff" "$TMP/$lang/original.aff"
    cp "$dic" "$TMP/$lang/original.dic"
    cp "$CORPUS/$lang.aff" "$TMP/$lang/injected.aff"
    added=$(inject "$dic" "$TMP/$lang/injected.dic" 21)
    printf '%s injected entries\t%s\n' "$lang" "$added"

    start=$(date +%s%N)
    "$CLI" merge-duplicates "$TMP/$lang/injected.dic" "$TMP/$lang/merged.dic" >"$TMP/$lang/merge.txt"
    whole=$(( ($(date +%s%N) - start) / 1000000 ))
    printf '%s repeated words found\t%s\n' "$lang" "$(field "$TMP/$lang/merge.txt" 'repeated words')"
    printf '%s repeated-flag entries\t%s\n' "$lang" "$(field "$TMP/$lang/merge.txt" 'repeated-flag entries')"
    printf '%s merged/deleted\t%s\n' "$lang" "$(field "$TMP/$lang/merge.txt" 'merged/deleted')"
    printf '%s flags removed\t%s\n' "$lang" "$(field "$TMP/$lang/merge.txt" 'flags removed')"
    printf '%s entries\t%s\n' "$lang" "$(field "$TMP/$lang/merge.txt" 'entries')"
    printf '%s merge-duplicates tool ms\t%s\n' "$lang" "$(ms_of "$TMP/$lang/merge.txt")"
    printf '%s merge-duplicates command ms (load+tool+save)\t%s\n' "$lang" "$whole"

    "$CLI" sort-flags "$TMP/$lang/injected.dic" "$TMP/$lang/sorted.dic" >"$TMP/$lang/sort.txt"
    printf '%s sort-flags rewritten\t%s\n' "$lang" "$(field "$TMP/$lang/sort.txt" 'rewritten')"
    printf '%s sort-flags ms\t%s\n' "$lang" "$(ms_of "$TMP/$lang/sort.txt")"

    # The merge lost no word and added none: the forms as sets.
    for which in original merged sorted; do
        "$CLI" extract --kind txt "$TMP/$lang/$which.dic" "$TMP/$lang/$which-forms.txt" >/dev/null
        sed '1s/^\xEF\xBB\xBF//' "$TMP/$lang/$which-forms.txt" | LC_ALL=C sort -u >"$TMP/$lang/$which.sorted"
    done
    for which in merged sorted; do
        only_original=$(LC_ALL=C comm -23 "$TMP/$lang/original.sorted" "$TMP/$lang/$which.sorted" | wc -l)
        only_new=$(LC_ALL=C comm -13 "$TMP/$lang/original.sorted" "$TMP/$lang/$which.sorted" | wc -l)
        printf '%s forms of %s: only in original / only in %s\t%s / %s (of %s)\n' "$lang" "$which" "$which" \
            "$only_original" "$only_new" "$(wc -l <"$TMP/$lang/original.sorted")"
        [ "$only_original" -eq 0 ] && [ "$only_new" -eq 0 ] || failures=$((failures + 1))
    done
done
[ "$failures" -eq 0 ] || { echo "duplicates.sh: the forms differ" >&2; exit 1; }
