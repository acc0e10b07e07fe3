#!/usr/bin/env python3
"""Writes a made-up .aff/.dic pair with the traits that cost the engine most:

- every entry's flags are an AF alias (many aliases, each of 40 to 60 flags);
- half of the flags of an alias name no group (the .aff does not define them);
- flags are raw bytes 0x80-0xFF under SET UTF-8 (no FLAG line), as some real
  dictionaries write them, mixed with ASCII letters;
- suffix rules carry continuation classes (twofold suffixes), raw flags or
  alias numbers (whose digits name no group), and a few prefix groups cross
  with them.

    bench/synthetic_dictionary.py OUT_BASENAME [ENTRIES=100000] [SEED=1]

writes OUT_BASENAME.aff and OUT_BASENAME.dic. The same arguments give the same
bytes. Sizes: 10000 entries make about 4 M forms, 100000 about 40 M,
400000 (the largest setting of bench/dictionaries.sh) about 160 M.
"""
import random
import sys


def main():
    base = sys.argv[1]
    entries = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)

    letters = "abcdefghijklmnopqrstuvwxyz"
    raw = [bytes([b]) for b in range(0x80, 0x100)]        # 128 raw-byte flags
    ascii_flags = [c.encode() for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ"]
    every = raw + ascii_flags
    rng.shuffle(every)
    defined = every[: len(every) // 2]                     # half get a group
    undefined = every[len(every) // 2:]
    prefixes = defined[:4]
    suffixes = defined[4:]
    # Continuation classes: suffix groups that other suffixes lead to.
    continuations = suffixes[:12]

    out = [b"SET UTF-8", b"TRY esianrtolcdugmphbyfvkwz", b""]
    aliases = []
    for _ in range(400):
        n = rng.randint(40, 60)
        chosen = rng.sample(defined, n // 2) + rng.sample(undefined, n - n // 2)
        rng.shuffle(chosen)
        aliases.append(b"".join(chosen))
    out.append(b"AF %d" % len(aliases))
    out += [b"AF " + a for a in aliases]
    out.append(b"")
    for flag in prefixes:
        rules = []
        for _ in range(3):
            rules.append(b"PFX " + flag + b" 0 " + "".join(rng.choice(letters) for _ in range(2)).encode() + b" .")
        out.append(b"PFX " + flag + b" Y %d" % len(rules))
        out += rules
    for flag in suffixes:
        rules = []
        for k in range(rng.randint(4, 10)):
            affix = "".join(rng.choice(letters) for _ in range(rng.randint(1, 4))).encode()
            if flag not in continuations and k % 4 == 0:
                # Continuation classes name undefined flags too (compounding
                # flags, for instance, have no group).
                affix += b"/" + b"".join(rng.sample(continuations, 3) + rng.sample(undefined, 4))
            elif flag not in continuations and k % 4 == 2:
                # As AF dictionaries write them: an alias number, which is read
                # as the flags of its digits.
                affix += b"/%d" % rng.randint(10, len(aliases))
            strip, condition = b"0", b"."
            r = rng.random()
            if r < 0.3:
                c = rng.choice(letters).encode()
                strip, condition = c, c
            elif r < 0.5:
                condition = b"[^" + "".join(rng.sample(letters, 3)).encode() + b"]"
            rules.append(b"SFX " + flag + b" " + strip + b" " + affix + b" " + condition)
        out.append(b"SFX " + flag + b" Y %d" % len(rules))
        out += rules
    with open(base + ".aff", "wb") as f:
        f.write(b"\n".join(out) + b"\n")

    words = []
    for i in range(entries):
        word = "".join(rng.choice(letters) for _ in range(rng.randint(4, 10)))
        words.append(b"%s/%d" % (word.encode(), rng.randint(1, len(aliases))))
    with open(base + ".dic", "wb") as f:
        f.write(b"%d\n" % len(words))
        f.write(b"\n".join(words) + b"\n")


if __name__ == "__main__":
    main()
