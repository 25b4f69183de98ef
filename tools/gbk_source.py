#!/usr/bin/python3
"""Copies a UTF-8 C++ source with every non-ASCII character written as its GBK bytes in octal
escapes, so a compiler without a GBK execution character set sees the texts the program's own
build gives it (in comments the escapes are harmless).

Usage: gbk_source.py SOURCE_ROOT DESTINATION_ROOT FILE...
Each FILE (relative to SOURCE_ROOT) is copied to the same place under DESTINATION_ROOT when the
copy is missing or older.
"""
import os
import sys


def escaped(text):
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
        else:
            out.extend("\\%03o" % b for b in ch.encode("gbk"))
    return "".join(out)


def copy(source, destination):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    os.makedirs(os.path.dirname(destination), exist_ok=True)
    with open(destination, "w", encoding="ascii", newline="") as f:
        f.write(escaped(text))


def main():
    source_root, destination_root = sys.argv[1], sys.argv[2]
    for name in sys.argv[3:]:
        source = os.path.join(source_root, name)
        destination = os.path.join(destination_root, name)
        if not os.path.exists(destination) or os.path.getmtime(source) > os.path.getmtime(destination):
            copy(source, destination)


if __name__ == "__main__":
    main()
