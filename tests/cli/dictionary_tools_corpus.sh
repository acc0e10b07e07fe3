#!/usr/bin/env bash
# sort-flags, merge-duplicates and crunch on real dictionaries, checked against Hunspell.
# For each pair and each tool: the derived forms (derive-all, as sets) before and after,
# and libhunspell's verdict on every form of the original, whole lines, with the original
# pair and with the pair the tool wrote. A tool that keeps the dictionary's words shows
# 0 in every column but "entries".
#
#   dictionary_tools_corpus.sh LEXALOOM_CLI DIC...     (the .aff beside each .dic)
#
# With INJECT=1 each pair first gets work to do, as a maintainer's list would: about
# 2 % of its entries again as a bare word, as an identical copy, with a repeated flag
# or its flags reordered, and 1,000 derived forms that are no entry's word as bare
# entries. Runs long on big dictionaries (one derivation and two Hunspell passes per
# tool). Not part of ctest.
set -euo pipefail
cli=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C
cc -O2 "$here/../../bench/hunspell_rejects.c" -o "$work/rejects" -l:libhunspell-1.7.so.0

forms() { # DIC OUT: the derived forms, sorted, each once
    "$cli" derive-all "$1" "$work/forms.raw" >/dev/null 2>&1
    sed '1s/^\xEF\xBB\xBF//' "$work/forms.raw" | sort -u >"$2"
}

inject() { # SRC_DIC OUT_DIC FORMS
    python3 - "$1" "$2" "$3" <<'PY'
import random, re, sys
src, out, formsPath = sys.argv[1], sys.argv[2], sys.argv[3]
# Flags are split as the .aff's FLAG says, so that a copy only reorders or repeats whole flags.
aff = open(src[:-4] + '.aff', 'rb').read().decode('utf-8', 'surrogateescape')
mode = re.search(r'^FLAG\s+(\S+)', aff, re.M)
mode = mode.group(1) if mode else ''
def split_flags(flags):
    if mode == 'long':
        return [flags[i:i + 2] for i in range(0, len(flags), 2)]
    if mode == 'num':
        return flags.split(',')
    return list(flags)
def join_flags(parts):
    return ','.join(parts) if mode == 'num' else ''.join(parts)
rnd = random.Random(34)
raw = open(src, 'rb').read().decode('utf-8', 'surrogateescape')
bom = raw.startswith('\ufeff')
lines = raw.lstrip('\ufeff').split('\n')
if lines and lines[-1] == '':
    lines.pop()
entries = lines[1:]
words = set()
added = []
for e in entries:
    words.add(e.split('\t')[0].split('/')[0])
for e in rnd.sample(entries, len(entries) // 50):
    body, sep, tags = e.partition('\t')
    if body.startswith('/') or '\\/' in body or not body.strip():
        continue
    word, slash, flags = body.partition('/')
    kind = rnd.randrange(4)
    if kind == 0 or not flags or flags.isdigit():
        added.append(e)
    elif kind == 1:
        added.append(word + sep + tags)
    elif kind == 2:
        parts = split_flags(flags)
        added.append(word + '/' + join_flags(parts + [rnd.choice(parts)]) + sep + tags)
    else:
        parts = split_flags(flags)
        added.append(word + '/' + join_flags(rnd.sample(parts, len(parts))) + sep + tags)
forms = [f for f in open(formsPath, encoding='utf-8', errors='surrogateescape').read().split('\n')
         if f and f not in words and ' ' not in f and '/' not in f]
added += rnd.sample(forms, min(1000, len(forms)))
allentries = entries + added
text = ('\ufeff' if bom else '') + str(len(allentries)) + '\n' + '\n'.join(allentries) + '\n'
open(out, 'wb').write(text.encode('utf-8', 'surrogateescape'))
PY
}

printf '%-22s %-17s %8s %8s %8s %8s %8s %8s\n' dictionary tool changed forms- forms+ rejected accepted seconds
for dic in "$@"; do
    name=$(basename "$dic" .dic)
    mkdir -p "$work/in"
    cp "${dic%.dic}.aff" "$work/in/$name.aff"
    if [ "${INJECT:-0}" = 1 ]; then
        forms "$dic" "$work/plain.forms"
        inject "$dic" "$work/in/$name.dic" "$work/plain.forms"
    else
        cp "$dic" "$work/in/$name.dic"
    fi
    forms "$work/in/$name.dic" "$work/before.forms"
    "$work/rejects" "$work/in/$name.aff" "$work/in/$name.dic" <"$work/before.forms" | sort >"$work/before.rejects"
    for tool in sort-flags merge-duplicates crunch; do
        rm -rf "$work/out"
        mkdir -p "$work/out"
        start=$(date +%s)
        if ! "$cli" "$tool" "$work/in/$name.dic" "$work/out/$name.dic" >"$work/report" 2>"$work/err"; then
            printf '%-22s %-17s failed: %s\n' "$name" "$tool" "$(head -1 "$work/err")"
            continue
        fi
        seconds=$(($(date +%s) - start))
        changed=$(diff <(tail -n +2 "$work/in/$name.dic") <(tail -n +2 "$work/out/$name.dic") | grep -c "^<" || true)
        forms "$work/out/$name.dic" "$work/after.forms"
        "$work/rejects" "$work/out/$name.aff" "$work/out/$name.dic" <"$work/before.forms" | sort >"$work/after.rejects"
        printf '%-22s %-17s %8s %8s %8s %8s %8s %8s\n' "$name" "$tool" "$changed" \
            "$(comm -23 "$work/before.forms" "$work/after.forms" | wc -l)" \
            "$(comm -13 "$work/before.forms" "$work/after.forms" | wc -l)" \
            "$(comm -13 "$work/before.rejects" "$work/after.rejects" | wc -l)" \
            "$(comm -23 "$work/before.rejects" "$work/after.rejects" | wc -l)" "$seconds"
        if [ -n "${KEEP:-}" ]; then
            mkdir -p "$KEEP/$name.$tool"
            comm -13 "$work/before.rejects" "$work/after.rejects" | head -50 >"$KEEP/$name.$tool/newly-rejected"
            comm -13 "$work/before.forms" "$work/after.forms" | head -50 >"$KEEP/$name.$tool/new-forms"
            comm -23 "$work/before.forms" "$work/after.forms" | head -50 >"$KEEP/$name.$tool/lost-forms"
        fi
    done
done
