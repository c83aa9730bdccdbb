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


def parse_number(text, bits, what):
    value = int(text, 0)
    if not 0 <= value < 1 << bits:
        raise ValueError(f"{what} {text} is not a {bits}-bit number")
    return value


def fields(pattern, rest, form):
    """The groups of rest matched against pattern, or an error showing form."""
    m = re.fullmatch(pattern, rest)
    if m is None:
        raise ValueError(f"expected {form}")
    return m.groups()


def build(lines):
    """The file's bytes; a description it cannot read ends the run with one
    line naming the line of the description."""
    out = bytearray()
    item = None  # [kind, length or None, body, line number]

    def close_item():
        if item is not None:
            kind, length, body, number = item
            if length is None and 4 + len(body) > 0xFFFF:
                raise SystemExit(f"symgen: line {number}: the item's {len(body)} bytes of body need a length past 65535")
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
                kind, length = fields(r"(\w+)(?:\s+length\s+(\w+))?", rest, "'item KIND [length N]'")
                item = [parse_number(kind, 16, "kind"), parse_number(length, 16, "length") if length else None,
                        bytearray(), number]
            elif directive == "raw":
                close_item()
                item = None
                out.extend(parse_hex(rest))
            elif item is None:
                raise ValueError(f"'{directive}' outside an item")
            elif directive == "word":
                item[2].extend(be32(parse_number(rest, 32, "word")))
            elif directive == "bytes":
                item[2].extend(parse_hex(rest))
            elif directive == "text":
                item[2].extend(parse_string(rest))
            elif directive == "name":
                text, pad = fields(rf"({STRING})(?:\s+pad\s+([0-9a-fA-F ]+))?", rest, "'name \"TEXT\" [pad HEX]'")
                chars = parse_string(text)
                if len(chars) > 255:
                    raise ValueError(f"a name of {len(chars)} characters is past the 255 a count byte holds")
                item[2].extend(counted(chars, parse_hex(pad) if pad else None))
            else:
                raise ValueError(f"unknown directive '{directive}'")
        except (ValueError, SyntaxError) as err:
            raise SystemExit(f"symgen: line {number}: {err or 'cannot read it'}")
    close_item()
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: symgen.py DESCRIPTION OUTPUT")
    try:
        with open(sys.argv[1], encoding="utf-8") as f:
            data = build(f)
        with open(sys.argv[2], "wb") as f:
            f.write(data)
    except (OSError, UnicodeDecodeError) as err:
        raise SystemExit(f"symgen: {getattr(err, 'filename', None) or sys.argv[1]}: {getattr(err, 'strerror', None) or err}")


if __name__ == "__main__":
    main()
