#!/usr/bin/env bash
# Load and save of a 200,000-pair autocorrect list made by repeating the real en-GB
# list (each repeat's incorrect words numbered so that the pairs stay distinct), in the
# office suite's one-line form (read through the import) and in our own layout.
# Goal: at most 0.5 s for each load and each save on the reference machine.
# Usage: bench/autocorrect_files.sh [BUILD_DIR]   (LEXALOOM_CORPUS overrides the corpus folder)
# Prints "metric<TAB>value" lines; the times are measured inside the program (wall and CPU).
set -euo pipefail

build=${1:-${BUILD_DIR:-build}}
cli=$build/src/cli/lexaloom-cli
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
source_list=$corpus/autocorrect/en-GB/DocumentList.xml
[[ -x $cli ]] || { echo "no $cli: build first" >&2; exit 1; }
[[ -f $source_list ]] || { echo "no $source_list" >&2; exit 1; }
pairs=${PAIRS:-200000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$source_list" "$work/one-line/DocumentList.xml" "$pairs" <<'PY'
import os, re, sys
text = open(sys.argv[1], encoding='utf-8').read()
blocks = re.findall(r'<block-list:block block-list:abbreviated-name="([^"]*)" block-list:name="([^"]*)"/>', text)
out, n, r = [], int(sys.argv[3]), 0
while len(out) < n:
    for a, b in blocks:
        if len(out) == n:
            break
        out.append('<block-list:block block-list:abbreviated-name="%s%s" block-list:name="%s"/>' % (a, r or '', b))
    r += 1
os.makedirs(os.path.dirname(sys.argv[2]), exist_ok=True)
with open(sys.argv[2], 'w', encoding='utf-8') as f:
    f.write('<block-list:block-list xmlns:block-list="http://openoffice.org/2001/block-list">' + ''.join(out) +
            '</block-list:block-list>\n')
PY

run() { # label input outdir
    "$cli" roundtrip --kind autocorrect "$2" "$3" >"$work/out.txt"
    local entries load save
    entries=$(awk '/^entries:/ {print $2}' "$work/out.txt")
    load=$(awk -F': ' '/^load ms:/ {print $2}' "$work/out.txt")
    save=$(awk -F': ' '/^save ms:/ {print $2}' "$work/out.txt")
    [ "$entries" = "$pairs" ] || { echo "$1: read $entries pairs, not $pairs" >&2; exit 1; }
    printf '%s pairs\t%s\n' "$1" "$entries"
    printf '%s load ms\t%s\n' "$1" "$load"
    printf '%s save ms\t%s\n' "$1" "$save"
}

printf 'one-line file bytes\t%s\n' "$(stat -c %s "$work/one-line/DocumentList.xml")"
run "one-line (import)" "$work/one-line/DocumentList.xml" "$work/layout"
printf 'our layout bytes\t%s\n' "$(stat -c %s "$work/layout/DocumentList.xml")"
run "our layout" "$work/layout/DocumentList.xml" "$work/again"
cmp -s "$work/layout/DocumentList.xml" "$work/again/DocumentList.xml" ||
    { echo "the second save differs from the first" >&2; exit 1; }
