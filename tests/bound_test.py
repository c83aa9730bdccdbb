#!/usr/bin/env python3
"""Property: on any input symtext ends, with status 0 or 1, at most one line on
standard error, which a failing run always has, and a dump no larger than the
bound in tests/fuzz/output_bound.h.

Runs the real binary on the committed fuzz corpus and on random inputs drawn
from a fixed seed, some of them plain noise and some runs of items of every
kind with hostile lengths and counts.

Usage: bound_test.py --symtext PATH --corpus DIR [--runs N]
"""

import argparse
import os
import random
import re
import shlex
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
EMULATOR = shlex.split(os.environ.get("SYMTEXT_EMULATOR", ""))


def read_bound():
    with open(os.path.join(HERE, "fuzz", "output_bound.h")) as f:
        text = f.read()
    per_byte = int(re.search(r"kDumpBytesPerInputByte = (\d+)", text).group(1))
    past_end = int(re.search(r"kDumpBytesPastTheEnd = (\d+)", text).group(1))
    return lambda size: per_byte * size + past_end


def hostile_item(rng):
    """An item of a known or opaque kind with a length and body that may disagree."""
    kind = rng.choice([4, 5, 6, 7, 11, 4, 5, 6, 11, rng.randrange(65536)])
    length = rng.choice([rng.randrange(0, 40), rng.randrange(0, 300), rng.randrange(65536)])
    body_size = rng.choice([max(0, length - 4), rng.randrange(0, 64)])
    filler = rng.choice([b"\xff", b"\n", b"\x00", bytes([rng.randrange(256)])])
    body = bytearray(rng.choice([filler, bytes([rng.randrange(256)])])[0] for _ in range(body_size))
    if body_size >= 8 and rng.random() < 0.5:
        body[4:8] = rng.choice([b"\xff\xff\xff\xff", b"\x00\x00\x10\x00"])  # a count M
    return length.to_bytes(2, "big") + kind.to_bytes(2, "big") + bytes(body)


def random_input(rng):
    if rng.random() < 0.3:
        return bytes(rng.randrange(256) for _ in range(rng.randrange(0, 600)))
    data = b"".join(hostile_item(rng) for _ in range(rng.randrange(1, 12)))
    return data[: rng.randrange(len(data) + 1)] if rng.random() < 0.3 else data


def worst_known_input(items):
    """Kind-5 items of 9 bytes: each name count (0xFF) is the item's last byte and
    its 255 characters are the following items, whose words are line feeds."""
    return (b"\x00\x09\x00\x05" + b"\n" * 4 + b"\xff") * items


def run(symtext, data, workdir):
    path = os.path.join(workdir, "in.sym")
    with open(path, "wb") as f:
        f.write(data)
    proc = subprocess.run(EMULATOR + [symtext, "in.sym"], cwd=workdir, capture_output=True, timeout=60)
    dump = os.path.getsize(os.path.join(workdir, "OutPut.txt"))
    return proc.returncode, proc.stderr, dump


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--symtext", required=True)
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--runs", type=int, default=400)
    opts = parser.parse_args()
    symtext = os.path.abspath(opts.symtext)
    bound = read_bound()
    rng = random.Random(20261208)

    inputs = []
    for name in sorted(os.listdir(opts.corpus)):
        with open(os.path.join(opts.corpus, name), "rb") as f:
            inputs.append((name, f.read()))
    inputs += [(f"random {i}", random_input(rng)) for i in range(opts.runs)]
    inputs.append(("worst known", worst_known_input(200)))

    failures = 0
    worst_ratio = 0.0
    with tempfile.TemporaryDirectory(prefix="symtext-bound-") as workdir:
        for name, data in inputs:
            status, stderr, dump = run(symtext, data, workdir)
            said = stderr.replace(b"\r\n", b"\n")
            one_line = said.startswith(b"symtext: in.sym: ") and said.count(b"\n") == 1 and said.endswith(b"\n")
            if status not in (0, 1) or (said or status == 1) and not one_line or dump > bound(len(data)):
                failures += 1
                print(f"FAIL {name}: {len(data)} bytes -> status {status}, dump {dump} "
                      f"(bound {bound(len(data))}), stderr {stderr[:200]!r}")
            elif len(data) >= 1000:
                worst_ratio = max(worst_ratio, dump / len(data))
        status, _, dump = run(symtext, worst_known_input(2000), workdir)
        known = dump / (9 * 2000)
        print(f"worst known construction: {known:.2f} dump bytes per input byte")
        if not 45 <= known <= bound(1) - bound(0):
            failures += 1
            print("FAIL the worst known construction no longer reaches 45 bytes per byte")
    print(f"largest ratio among inputs of 1000 bytes or more: {worst_ratio:.2f}")
    print(f"{len(inputs) + 1 - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
