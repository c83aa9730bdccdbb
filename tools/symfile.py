"""Builders of symbol files, shared by the process tests, symgen.py and
gen_bench.py. Every field of the file is big-endian."""


def be16(value):
    return value.to_bytes(2, "big")


def be32(value):
    return value.to_bytes(4, "big")


def item(kind, body=b"", length=None):
    """One item: length (2 bytes, header included, 4 + the body's size unless
    given), kind (2 bytes), body. A given length is written as it is,
    whatever the body holds."""
    return be16(4 + len(body) if length is None else length) + be16(kind) + body


def counted(chars, pad=None):
    """A counted name: count byte, characters, then pad bytes to a multiple of
    four (3 - n % 4 of them), zero unless given."""
    pad_size = 3 - len(chars) % 4
    pad = bytes(pad_size) if pad is None else pad
    if len(pad) != pad_size:
        raise ValueError(f"a name of {len(chars)} characters takes {pad_size} pad bytes")
    return bytes([len(chars)]) + chars + pad
