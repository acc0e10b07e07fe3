#!/bin/sh
# Hostile pattern files and words under a memory limit: a 40 MB pattern line and a
# word of 100,000 letters against every prefix pattern must end with a clear answer,
# not exhaust the memory.
# Usage: hostile_hyphenation.sh LEXALOOM_CLI
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
printf 'SET UTF-8\n' > "$work/plain.aff"

# One pattern line of 40 MB: refused with its line number.
{ printf 'UTF-8\nb1e\n'; head -c 40000000 /dev/zero | tr '\0' 'a'; printf '1\n'; } > "$work/long.dic"
(ulimit -v 1500000; "$cli" hyphenate "$work/long.dic" "$work/plain.aff" abef) > "$work/out" 2> "$work/err"
status=$?
[ "$status" -eq 2 ] || fail "a 40 MB pattern line: status $status, want 2 ($(cat "$work/err"))"
grep -q "Pattern too long in line 3 (over 255 characters)\." "$work/err" || fail "no reason given: $(cat "$work/err")"

# Every prefix a, aa, ... of up to 255 characters, and a word of 100,000 letters: left as it is.
awk 'BEGIN { print "UTF-8"; p = ""; for (i = 1; i <= 254; i++) { p = p "a"; print p "1" } }' > "$work/prefixes.dic"
word=$(head -c 100000 /dev/zero | tr '\0' 'a')
(ulimit -v 1500000; "$cli" hyphenate "$work/prefixes.dic" "$work/plain.aff" "$word") > "$work/out" 2> "$work/err"
status=$?
[ "$status" -eq 0 ] || fail "a 100,000-letter word: status $status ($(cat "$work/err"))"
[ "$(sed -n 2p "$work/out" | cut -f1)" = "$word" ] || fail "the long word was changed"
echo "ok"
