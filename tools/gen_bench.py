#!/usr/bin/env python3
"""Writes a large deterministic symbol file for benchmarks.

Usage: gen_bench.py MEGABYTES OUTPUT

Items of every known kind with names of realistic lengths (identifiers of 3 to
40 characters), and opaque items (a third of all items) whose bodies are half
printable text and half binary. The same size always gives the same bytes.
"""

import random
import sys

SYLLABLES = ["get", "set", "init", "buf", "len", "str", "ptr", "tab", "node", "list", "hash",
             "read", "write", "open", "close", "_", "__", "cb", "ctx", "id", "num", "max", "min",
             "Vec", "Map", "Item", "Sym", "File", "Ex", "32", "64", "A", "W"]


def counted(name):
    return bytes([len(name)]) + name + bytes(3 - len(name) % 4)


def item(kind, body):
    return (4 + len(body)).to_bytes(2, "big") + kind.to_bytes(2, "big") + body


def main():
    megabytes, out = int(sys.argv[1]), sys.argv[2]
    rng = random.Random(64)
    names = []
    for _ in range(4096):
        name = "".join(rng.choice(SYLLABLES) for _ in range(rng.randrange(1, 8)))
        names.append(name[:40].encode())
    words = [rng.randrange(1 << 32).to_bytes(4, "big") for _ in range(4096)]
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
        lambda: item(6, (3).to_bytes(4, "big") + w() + b"".join(w() + w() + n() for _ in range(3))),
        lambda: item(11, w() + (4).to_bytes(4, "big") + w() + b"".join(n() for _ in range(4))),
        lambda: item(rng.choice([1, 2, 3, 8, 9, 10, 12, 0x20, 0x1004]), rng.choice(bodies)),
        lambda: item(rng.choice([1, 9, 0x1004]), rng.choice(bodies)),
    ]
    target = megabytes << 20
    size = 0
    with open(out, "wb") as f:
        chunk = []
        while size < target:
            data = rng.choice(makers)()
            chunk.append(data)
            size += len(data)
            if len(chunk) == 4096:
                f.write(b"".join(chunk))
                chunk = []
        f.write(b"".join(chunk))


if __name__ == "__main__":
    main()
