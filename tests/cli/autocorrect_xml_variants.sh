#!/usr/bin/env bash
# Lists written in every way an XML writer may write them (either quote style, any
# attribute order, comments, processing instructions, blank lines, CR LF, attributes on
# lines of their own, the long element form, references or characters for the same
# text), generated from a seed and from the pairs of every real list: each must load
# and save with the pairs Python's ElementTree reads in it, pair for pair, and a list
# that no XML reader takes must be refused, never saved.
# Usage: autocorrect_xml_variants.sh LEXALOOM_CLI   (LEXALOOM_CORPUS overrides the corpus folder)
set -u
cli=$1
corpus=${LEXALOOM_CORPUS:-/work/corpus-data}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$corpus" <<'PY'
import glob, os, random, sys
import xml.etree.ElementTree as ET

work, corpus = sys.argv[1], sys.argv[2]
ns = '{http://openoffice.org/2001/block-list}'
rng = random.Random(20231211)

def pairs_of(path):
    return [(b.get(ns + 'abbreviated-name', ''), b.get(ns + 'name', ''))
            for b in ET.parse(path).getroot().iter(ns + 'block')]

def escape(text, quote):
    out = []
    for ch in text:
        r = rng.random()
        if ch == '&':
            out.append(rng.choice(['&amp;', '&#38;', '&#x26;']))
        elif ch == '<':
            out.append(rng.choice(['&lt;', '&#60;', '&#x3C;']))
        elif ch == quote:
            out.append('&quot;' if quote == '"' else '&apos;')
        elif ch in '\t\n\r':
            out.append('&#%d;' % ord(ch))
        elif ord(ch) > 127 and r < 0.3:
            out.append(rng.choice(['&#x%X;', '&#x%x;', '&#%d;']) % ord(ch))
        elif ch == '>' and r < 0.5:
            out.append('&gt;')
        elif ch in '"\'' and r < 0.5:
            out.append('&quot;' if ch == '"' else '&apos;')
        else:
            out.append(ch)
    return ''.join(out)

def attribute(name, value):
    quote = rng.choice('"\'')
    space = rng.choice(['', ' ', '  '])
    return 'block-list:%s%s=%s%s%s%s' % (name, space, space, quote, escape(value, quote), quote)

def block(incorrect, correct):
    attributes = [attribute('abbreviated-name', incorrect), attribute('name', correct)]
    rng.shuffle(attributes)
    separator = rng.choice([' ', '\t', '\n    '])
    end = rng.choice(['/>', ' />', '></block-list:block>'])
    return '<block-list:block' + ' ' + separator.join(attributes) + end

def noise():
    return rng.choice(['', '', '', '<!-- a comment -->', '<!--\n  over lines\n-->', '<?pi data?>', '   '])

def render(pairs, header):
    eol = rng.choice(['\n', '\r\n'])
    lines = []
    if header:
        lines.append('<?xml version="1.0" encoding="UTF-8" ?> <block-list:block-list '
                     'xmlns:block-list="http://openoffice.org/2001/block-list">')
    else:
        lines.append('<?xml version="1.0" encoding="UTF-8"?>')
        lines.append('<block-list:block-list xmlns:block-list="http://openoffice.org/2001/block-list">')
    for incorrect, correct in pairs:
        n = noise()
        if n:
            lines.append(n)
        lines.append('  ' + block(incorrect, correct) + rng.choice(['', '', ' <!-- note -->']))
    lines.append('</block-list:block-list>')
    lines.append(rng.choice(['', '', '<!-- end -->']))
    return '\n'.join(lines).replace('\n', eol)

fragments = ['a', 'teh', 'the', ' ', '&', '<', '>', '"', "'", 'é', 'ç', '→', '😀', '&amp;', ';', '#', 'x',
             '\t', 'R&D', '&#x41;', '--', '/>', '=', ':smile:']

def random_text():
    return ''.join(rng.choice(fragments) for _ in range(rng.randint(0, 6)))

cases = []
for i in range(40):
    pairs = [(random_text(), random_text()) for _ in range(rng.randint(1, 30))]
    cases.append(('generated-%02d' % i, pairs))
for path in sorted(glob.glob(os.path.join(corpus, 'autocorrect', '*', 'DocumentList.xml'))):
    language = os.path.basename(os.path.dirname(path))
    pairs = pairs_of(path)
    for i in range(3):
        cases.append(('%s-%d' % (language, i), pairs))

for name, pairs in cases:
    folder = os.path.join(work, name)
    os.makedirs(folder)
    with open(os.path.join(folder, 'DocumentList.xml'), 'w', encoding='utf-8', newline='') as f:
        f.write(render(pairs, rng.random() < 0.5))
    # The pairs as ElementTree reads this very file (tabs in values read as spaces).
    with open(os.path.join(folder, 'expected.txt'), 'w', encoding='utf-8') as f:
        for pair in pairs_of(os.path.join(folder, 'DocumentList.xml')):
            f.write(repr(pair) + '\n')

# Lists no XML reader takes: each must be refused.
broken = {
    'unclosed-quote': '<block-list:block block-list:abbreviated-name="a block-list:name="b"/>',
    'stray-text': 'teh the',
    'other-element': '<item/>',
    'unknown-attribute': '<block-list:block block-list:abbreviated-name="a" block-list:name="b" x="1"/>',
    'repeated-attribute': '<block-list:block block-list:name="a" block-list:name="b"/>',
    'unclosed-comment': '<!-- no end',
}
for name, line in broken.items():
    folder = os.path.join(work, 'broken-' + name)
    os.makedirs(folder)
    with open(os.path.join(folder, 'DocumentList.xml'), 'w', encoding='utf-8') as f:
        f.write('<?xml version="1.0" encoding="UTF-8" ?> <block-list:block-list '
                'xmlns:block-list="http://openoffice.org/2001/block-list">\n'
                '  <block-list:block block-list:abbreviated-name="x" block-list:name="y"/>\n'
                + line + '\n</block-list:block-list>\n')
PY

pairs() { # the pairs of a list as ElementTree reads them, one per line
    python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
ns = '{http://openoffice.org/2001/block-list}'
for b in ET.parse(sys.argv[1]).getroot().iter(ns + 'block'):
    print(repr((b.get(ns + 'abbreviated-name', ''), b.get(ns + 'name', ''))))
PY
}

failures=0
checked=0
for folder in "$work"/*/; do
    name=$(basename "$folder")
    list=$folder/DocumentList.xml
    if [ "${name#broken-}" != "$name" ]; then
        if "$cli" roundtrip --kind autocorrect "$list" "$folder/out" >/dev/null 2>"$folder/err.txt"; then
            echo "FAIL: $name: a list no XML reader takes was saved"
            failures=$((failures + 1))
        elif ! grep -q "Line 3 of the Autocorrect List can't be read as a pair" "$folder/err.txt"; then
            echo "FAIL: $name: $(cat "$folder/err.txt")"
            failures=$((failures + 1))
        fi
        continue
    fi
    if ! "$cli" roundtrip --kind autocorrect "$list" "$folder/out" >/dev/null 2>"$folder/err.txt"; then
        echo "FAIL: $name: $(cat "$folder/err.txt")"
        failures=$((failures + 1))
        continue
    fi
    if ! cmp -s "$folder/expected.txt" <(pairs "$folder/out/DocumentList.xml"); then
        echo "FAIL: $name: the saved pairs differ from the ones ElementTree reads in the list"
        diff "$folder/expected.txt" <(pairs "$folder/out/DocumentList.xml") | head -5
        failures=$((failures + 1))
    fi
    checked=$((checked + 1))
done
echo "$checked lists saved with ElementTree's pairs, $(ls -d "$work"/broken-* | wc -l) unreadable lists refused"
exit $((failures > 0))
