#!/usr/bin/env python3
"""Writes a large deterministic symbol file for benchmarks.

Usage: gen_bench.py [--mix standard|dense] MEGABYTES OUTPUT

standard: items of every known kind with names of realistic lengths
  (identifiers of 3 to 40 characters), and opaque items (a third of all items)
  whose bodies of tens to a few hundred bytes are half printable text and half
  binary.
dense: many small items, as real symbol files mostly are. 60 % are opaque with
  bodies of 0 to 60 bytes, about two thirds of them printable, and 5 % of the
  opaque items shorter than their own 4-byte header; names of 0 to 40
  characters; lists of 0 to 5 members.

The same mix and size always give the same bytes.
"""

import argparse
import random

from symfile import be16, be32, counted, item

SYLLABLES = ["get", "set", "init", "buf", "len", "str", "ptr", "tab", "node", "list", "hash",
             "read", "write", "open", "close", "_", "__", "cb", "ctx", "id", "num", "max", "min",
             "Vec", "Map", "Item", "Sym", "File", "Ex", "32", "64", "A", "W"]
OPAQUE_KINDS = [1, 2, 3, 8, 9, 10, 12, 0x20, 0x1004]


def standard_items(rng):
    names = []
    for _ in range(4096):
        chars = "".join(rng.choice(SYLLABLES) for _ in range(rng.randrange(1, 8)))
        names.append(chars[:40].encode())
    words = [be32(rng.randrange(1 << 32)) for _ in range(4096)]
    bodies = []
    for _ in range(1024):
        text = "".join(rng.choice(SYLLABLES) for _ in range(rng.randrange(2, 40))).encode()
        binary = bytes(rng.randrange(256) for _ in range(len(text)))
        mixed = bytearray()
        for start in range(0, len(text), 8):  # runs of text and binary, half each
            mixed += text[start:start + 8] + binary[start:start + 8]
        bodies.append(bytes(mixed))

    def w():
        return rng.choice(words)

    def n():
        return counted(rng.choice(names))

    makers = [
        lambda: item(5, w() + n()),
        lambda: item(4, w() + w() + w() + w() + n()),
        lambda: item(7, w() + w() + w() + w() + w()),
        lambda: item(6, be32(3) + w() + b"".join(w() + w() + n() for _ in range(3))),
        lambda: item(11, w() + be32(4) + w() + b"".join(n() for _ in range(4))),
        lambda: item(rng.choice(OPAQUE_KINDS), rng.choice(bodies)),
        lambda: item(rng.choice([1, 9, 0x1004]), rng.choice(bodies)),
    ]
    while True:
        yield rng.choice(makers)()


def dense_items(rng):
    letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"
    names = [counted("".join(rng.choice(letters) for _ in range(rng.randrange(41))).encode())
             for _ in range(4096)]
    words = [be32(rng.randrange(1 << 32)) for _ in range(4096)]
    text = "".join(rng.choice(SYLLABLES) for _ in range(4096)).encode()
    bodies = []
    for _ in range(8192):
        size = rng.randrange(61)
        body = bytearray()
        while len(body) < size:  # runs of 1 to 8 bytes, half text and half binary
            run = rng.randrange(1, 9)
            if rng.random() < 0.5:
                start = rng.randrange(len(text) - run)
                body += text[start:start + run]
            else:
                body += bytes(rng.randrange(256) for _ in range(run))
        bodies.append(bytes(body[:size]))

    def w():
        return rng.choice(words)

    def n():
        return rng.choice(names)

    def kind11():
        body = w() + be32(rng.randrange(6)) + w()
        body += b"".join(n() for _ in range(int.from_bytes(body[4:8], "big")))
        return item(11, body + bytes(max(0, 16 - len(body))))  # the shortest item taken is 20

    known = [
        lambda: item(5, w() + n()),
        lambda: item(4, w() + w() + w() + w() + n()),
        lambda: item(7, w() + w() + w() + w() + w()),
        lambda: item(6, be32(count := rng.randrange(6)) + w()
                     + b"".join(w() + w() + n() for _ in range(count))),
        kind11,
    ]
    while True:
        if rng.random() < 0.6:
            kind = rng.choice(OPAQUE_KINDS)
            if rng.random() < 0.05:  # a length below 4: the header alone
                yield be16(rng.randrange(4)) + be16(kind)
            else:
                yield item(kind, rng.choice(bodies))
        else:
            yield rng.choice(known)()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mix", choices=["standard", "dense"], default="standard")
    parser.add_argument("mebibytes", type=int, help="the size of the file, in MiB (2^20 bytes)")
    parser.add_argument("output")
    opts = parser.parse_args()
    rng = random.Random(64)
    items = standard_items(rng) if opts.mix == "standard" else dense_items(rng)
    target = opts.mebibytes << 20
    size = 0
    with open(opts.output, "wb") as f:
        chunk = []
        while size < target:
            data = next(items)
            chunk.append(data)
            size += len(data)
            if len(chunk) == 4096:
                f.write(b"".join(chunk))
                chunk = []
        f.write(b"".join(chunk))


if __name__ == "__main__":
    main()
