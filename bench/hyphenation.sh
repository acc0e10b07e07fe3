#!/usr/bin/env bash
# Hyphenation of derived forms: time and agreement with libhyphen.
#
#   bench/hyphenation.sh        (LEXALOOM_CORPUS overrides /work/corpus-data)
#
# 1. hyphenation_bench time: the en_GB entry with the most forms, derived and
#    hyphenated with hyph_en_US.dic as "Hyphenate" does (warm cache), and the cold
#    build of the pattern cache.
# 2. Every primary word of en_GB.dic longer than five letters through our
#    HyphenateWord (checked against the plain spaced-string reading) and through
#    libhyphen's hnj_hyphen_hyphenate2 (package libhyphen-dev; the words lower-cased
#    for it as the office suite does), with the differences sorted into classes.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
CORPUS=${LEXALOOM_CORPUS:-/work/corpus-data}
PATTERNS=$CORPUS/hyphenation/hyph_en_US.dic
DIC=$CORPUS/hunspell/en_GB.dic
[ -f "$PATTERNS" ] && [ -f "$DIC" ] || { echo "hyphenation.sh: no corpus at $CORPUS" >&2; exit 1; }
[ -f /usr/include/hyphen.h ] || { echo "hyphenation.sh: libhyphen-dev not installed" >&2; exit 1; }

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_GUI=OFF -DLEXALOOM_BENCH=ON >/dev/null
fi
cmake --build "$BUILD" -j2 --target hyphenation_bench >/dev/null
BENCH=$BUILD/bench/hyphenation_bench
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cc -O2 -o "$WORK/libhyphen_words" "$ROOT/bench/libhyphen_words.c" -lhyphen

"$BENCH" time "$PATTERNS" "$DIC" 9

tail -n +2 "$DIC" | tr -d '\r' | cut -f1 | sed 's|/.*||' |
    python3 -c 'import sys; [print(w) for w in (l.rstrip("\n") for l in sys.stdin) if len(w) > 5]' >"$WORK/words"
"$BENCH" words "$PATTERNS" <"$WORK/words" >"$WORK/ours" 2>"$WORK/literal"
python3 -c 'import sys; [sys.stdout.write(l.lower()) for l in sys.stdin]' <"$WORK/words" |
    "$WORK/libhyphen_words" "$PATTERNS" >"$WORK/theirs"
echo "literal_check	$(cat "$WORK/literal")"

python3 - "$WORK/ours" "$WORK/theirs" "$PATTERNS" <<'PY'
import collections, re, sys
ours = [l.rstrip("\n").split("\t") for l in open(sys.argv[1], encoding="utf-8")]
theirs = [l.rstrip("\n").split("\t") for l in open(sys.argv[2], encoding="utf-8", errors="replace")]
patterns = [l.rstrip("\n") for l in open(sys.argv[3], encoding="utf-8")]
letters = [re.sub(r"[1-9=\-]", "", p) for p in patterns if p and not p[0].isupper() and not p.startswith("%")]

def skipped_overlap(word):
    # A pattern that stands in the word more often, overlapping, than it is counted.
    x = "." + word.lower() + "."
    for l in letters:
        if not l:
            continue
        starts = [m.start() for m in re.finditer("(?=%s)" % re.escape(l), x)]
        count, free = 0, -1
        for s in starts:
            if s >= free:
                count, free = count + 1, s + len(l)
        if len(starts) > count:
            return True
    return False

classes = collections.Counter()
examples = collections.defaultdict(list)
agree = 0
for (word, ours_word, rule), (_, theirs_word) in zip(ours, theirs):
    if ours_word.lower() == theirs_word:
        agree += 1
        continue
    if "-" in word:
        kind = "hyphen_in_word"      # libhyphen hyphenates each part as a word of its own
    elif "'" in word or "\u2019" in word:
        kind = "apostrophe"          # libhyphen's minimum lengths do not count apostrophes
    elif skipped_overlap(word):
        kind = "overlap_counting"    # only as many matches as non-overlapping occurrences
    else:
        kind = "other"
    classes[kind] += 1
    if len(examples[kind]) < 3:
        examples[kind].append("%s: ours %s, libhyphen %s" % (word, ours_word, theirs_word))
print("words\t%d" % len(ours))
print("agree\t%d" % agree)
for kind, n in classes.most_common():
    print("differ_%s\t%d\t%s" % (kind, n, "; ".join(examples[kind])))
PY
