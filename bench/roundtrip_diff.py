#!/usr/bin/env python3
"""Compares a .dic/.aff pair with the pair `lexaloom-cli roundtrip` saved from it.

    bench/roundtrip_diff.py ORIGINAL.dic SAVED.dic

Prints "yes" when the saved pair is the original byte for byte apart from what
saving defines, and names those differences in parentheses:
  bom    a UTF-8 byte-order mark is added (UTF-8 dictionaries only; a legacy
         charset is saved without one);
  count  the count line is written anew from the entries;
  lf     CR LF and CR line ends become LF, and the last line gets its LF;
  tab    in a .dic that separates words from tags with a space (the question
         answered Yes), that space is saved as a tab.
Prints "no" and the first differing line otherwise.
"""
import re
import sys

BOM = b"\xef\xbb\xbf"


def lines(data):
    data = data.replace(b"\r\n", b"\n").replace(b"\r", b"\n")
    if data.endswith(b"\n"):
        data = data[:-1]
    return data.split(b"\n") if data else []


def legacy(aff):
    m = re.search(rb"^SET[ \t]+(\S+)", aff, re.M | re.I)
    return bool(m) and m.group(1).upper() not in (b"UTF-8", b"UTF8")


def main():
    original_dic, saved_dic = sys.argv[1], sys.argv[2]
    read = lambda p: open(p, "rb").read()
    od, sd = read(original_dic), read(saved_dic)
    oa, sa = read(original_dic[:-3] + "aff"), read(saved_dic[:-3] + "aff")
    notes = set()
    is_legacy = legacy(oa.lstrip(BOM))
    for is_dic, original, saved in ((True, od, sd), (False, oa, sa)):
        if not is_legacy:
            if not saved.startswith(BOM):
                print("no (no byte-order mark)")
                return
            saved = saved[3:]
            if not original.startswith(BOM):
                notes.add("bom")
        elif saved.startswith(BOM) and not original.startswith(BOM):
            print("no (a byte-order mark in a legacy charset)")
            return
        original = original[3:] if original.startswith(BOM) else original
        if b"\r" in original or (is_dic and not original.endswith(b"\n")):
            notes.add("lf")
        if b"\r" in saved or (is_dic and saved and not saved.endswith(b"\n")):
            print("no (line ends)")
            return
        ol, sl = lines(original), lines(saved)
        if is_dic:
            # The .dic: the first line is dropped when it begins with a number
            # (or is blank) and the count is written anew.
            first = ol[0].strip() if ol else b""
            if not first or first[:1].isdigit():
                if ol and ol[0] != b"%d" % (len(ol) - 1):
                    notes.add("count")
                ol = ol[1:]
            elif ol:
                notes.add("count")
            if not sl or sl[0] != b"%d" % (len(sl) - 1):
                print("no (count line)")
                return
            sl = sl[1:]
        if len(ol) != len(sl):
            print("no (%d lines / %d lines)" % (len(ol), len(sl)))
            return
        for i, (a, b) in enumerate(zip(ol, sl)):
            if a == b:
                continue
            if is_dic and b"\t" not in a and a.replace(b" ", b"\t", 1) == b:
                notes.add("tab")  # a .dic read in space mode: the tags' space becomes a tab
                continue
            print("no (line %d: %r / %r)" % (i + 1, a[:40], b[:40]))
            return
    print("yes" + (" (%s)" % ", ".join(sorted(notes)) if notes else ""))


if __name__ == "__main__":
    main()
