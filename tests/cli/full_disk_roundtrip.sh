#!/bin/sh
# A dictionary saved into a nearly full file system: the save must fail, say so, and
# leave the older pair there byte for byte, with no temporary file behind.
# Usage: full_disk_roundtrip.sh LEXALOOM_CLI
set -u
cli=$1
[ "$(id -u)" = 0 ] || { echo "skipped: mounting a tmpfs needs root"; exit 77; }
work=$(mktemp -d)
mnt=$work/mnt
mkdir -p "$mnt" "$work/src"
trap 'umount "$mnt" 2>/dev/null; rm -rf "$work"' EXIT
mount -t tmpfs -o size=2m tmpfs "$mnt" 2>/dev/null || { echo "skipped: cannot mount a tmpfs"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

printf 'SET UTF-8\nSFX A Y 1\nSFX A 0 s .\n' > "$work/src/t.aff"
awk 'BEGIN { print 60000; for (i = 0; i < 60000; i++) printf "word%06d/A\n", i }' > "$work/src/t.dic"
printf '\357\273\277SET UTF-8\n# older\n' > "$mnt/t.aff"
printf '\357\273\2772\nolder\nwords\n' > "$mnt/t.dic"
cp "$mnt/t.aff" "$work/old.aff"
cp "$mnt/t.dic" "$work/old.dic"
# Leave about 500 kB: less than the new .dic needs.
dd if=/dev/zero of="$mnt/filler" bs=1024 count=1540 2>/dev/null

"$cli" roundtrip "$work/src/t.dic" "$mnt" > "$work/out" 2>&1 && fail "the save into a full disk reported success"
grep -q "Can't write the file:" "$work/out" || fail "no \"Can't write the file:\" message: $(cat "$work/out")"
grep -q "No space left on device" "$work/out" || fail "no reason given: $(cat "$work/out")"
cmp "$mnt/t.aff" "$work/old.aff" || fail "the older .aff changed"
cmp "$mnt/t.dic" "$work/old.dic" || fail "the older .dic changed"
[ "$(ls -A "$mnt" | tr '\n' ' ')" = "filler t.aff t.dic " ] || fail "left behind: $(ls -A "$mnt")"

# With room again the same save succeeds.
rm "$mnt/filler"
"$cli" roundtrip "$work/src/t.dic" "$mnt" > "$work/out" 2>&1 || fail "the save with room failed: $(cat "$work/out")"
[ "$(ls -A "$mnt" | tr '\n' ' ')" = "t.aff t.dic " ] || fail "left behind: $(ls -A "$mnt")"
echo "ok"
