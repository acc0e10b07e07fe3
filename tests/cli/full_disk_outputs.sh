#!/bin/sh
# Word lists extracted into a nearly full file system: each command must fail with exit
# 2, say why on its one line, and leave the older output byte for byte, with no
# temporary file behind.
# Usage: full_disk_outputs.sh LEXALOOM_CLI
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
printf '\357\273\277older\nwords\n' > "$mnt/old.txt"
cp "$mnt/old.txt" "$mnt/words.txt"
cp "$mnt/old.txt" "$mnt/all.txt"
# Leave about 500 kB: less than the 1.3 MB of forms.
dd if=/dev/zero of="$mnt/filler" bs=1024 count=1540 2>/dev/null

for run in "extract --kind txt $work/src/t.dic $mnt/words.txt" "derive-all $work/src/t.dic $mnt/all.txt"; do
    # shellcheck disable=SC2086
    $cli $run > "$work/out" 2> "$work/err"
    status=$?
    [ "$status" -eq 2 ] || fail "$run: status $status, want 2"
    # The failure is the last line (extract shows the overwrite question it answered).
    tail -n 1 "$work/err" | grep -q "^lexaloom-cli: .*No space left on device" ||
        fail "$run: no reason given: $(cat "$work/err")"
done
cmp "$mnt/words.txt" "$mnt/old.txt" || fail "extract changed the older output"
cmp "$mnt/all.txt" "$mnt/old.txt" || fail "derive-all changed the older output"
[ "$(ls -A "$mnt" | tr '\n' ' ')" = "all.txt filler old.txt words.txt " ] || fail "left behind: $(ls -A "$mnt")"

# With room again both succeed.
rm "$mnt/filler"
"$cli" extract --kind txt "$work/src/t.dic" "$mnt/words.txt" > "$work/out" 2>&1 || fail "extract with room: $(cat "$work/out")"
[ "$(ls -A "$mnt" | tr '\n' ' ')" = "all.txt old.txt words.txt " ] || fail "left behind: $(ls -A "$mnt")"
[ "$(wc -l < "$mnt/words.txt")" -eq 120000 ] || fail "extract wrote $(wc -l < "$mnt/words.txt") lines"
mv "$mnt/words.txt" "$work/words.txt" # the tmpfs holds one new list beside the old one
"$cli" derive-all "$work/src/t.dic" "$mnt/all.txt" > "$work/out" 2>&1 || fail "derive-all with room: $(cat "$work/out")"
cmp "$work/words.txt" "$mnt/all.txt" || fail "extract and derive-all differ"
[ "$(ls -A "$mnt" | tr '\n' ' ')" = "all.txt old.txt " ] || fail "left behind: $(ls -A "$mnt")"
echo "ok"
