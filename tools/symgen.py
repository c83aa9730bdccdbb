#!/usr/bin/env python3
"""Writes a symbol file from a readable description.

The description is a text file, one directive a line; '#' starts a comment.

  item KIND [length N]   starts an item; its length is 4 + the body's size
                         unless given (a given length is written as it is,
                         whatever the body holds)
  word N                 a 32-bit big-endian word (decimal or 0x hex)
  name "TEXT" [pad HEX]  a counted name: count byte, characters, pad bytes;
                         the pad is zero bytes unless given
  bytes HEX...           bytes as they are, two hex digits each
  text "TEXT"            bytes from a string
  raw HEX...             bytes outside any item (a header cut short, say)

Strings take Python's bytes escapes: \\n, \\t, \\x00, \\".

Usage: symgen.py DESCRIPTION OUTPUT
"""

import ast
import re
import sys

from symfile import be32, counted, item as make_item


STRING = r'"(?:[^"\\]|\\.)*"'


def parse_string(token):
    return ast.literal_eval("b" + token)


def parse_hex(text):
    return bytes.fromhex(text)


def build(lines):
    out = bytearray()
    item = None  # [kind, length or None, body]

    def close_item():
        if item is not None:
            kind, length, body = item
            out.extend(make_item(kind, bytes(body), length))

    for number, line in enumerate(lines, 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        try:
            directive, _, rest = line.partition(" ")
            rest = rest.strip()
            if directive == "item":
                close_item()
                m = re.fullmatch(r"(\w+)(?:\s+length\s+(\w+))?", rest)
                item = [int(m.group(1), 0), int(m.group(2), 0) if m.group(2) else None, bytearray()]
            elif directive == "raw":
                close_item()
                item = None
                out.extend(parse_hex(rest))
            elif item is None:
                raise ValueError(f"'{directive}' outside an item")
            elif directive == "word":
                item[2].extend(be32(int(rest, 0)))
            elif directive == "bytes":
                item[2].extend(parse_hex(rest))
            elif directive == "text":
                item[2].extend(parse_string(rest))
            elif directive == "name":
                m = re.fullmatch(rf"({STRING})(?:\s+pad\s+([0-9a-fA-F ]+))?", rest)
                pad = parse_hex(m.group(2)) if m.group(2) else None
                item[2].extend(counted(parse_string(m.group(1)), pad))
            else:
                raise ValueError(f"unknown directive '{directive}'")
        except (ValueError, AttributeError, SyntaxError) as err:
            raise SystemExit(f"symgen: line {number}: {err or 'cannot read it'}")
    close_item()
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: symgen.py DESCRIPTION OUTPUT")
    with open(sys.argv[1], encoding="utf-8") as f:
        data = build(f)
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
