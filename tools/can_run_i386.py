#!/usr/bin/env python3
"""Exits 0 when this machine's kernel can start a 32-bit x86 Linux program, as
wine needs to run a 32-bit Windows program; 1 when it cannot.

It writes the smallest such program (an ELF that only exits with status 0)
and tries to start it.
"""

import os
import struct
import subprocess
import sys
import tempfile

BASE = 0x08048000
CODE = bytes([0xB8, 0x01, 0x00, 0x00, 0x00,  # mov eax, 1 (exit)
              0x31, 0xDB,                    # xor ebx, ebx (status 0)
              0xCD, 0x80])                   # int 0x80


def tiny_elf():
    header_size, entry_size = 52, 32
    size = header_size + entry_size + len(CODE)
    header = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8)  # 32-bit, little-endian, version 1
    header += struct.pack("<HHIIIIIHHHHHH", 2, 3, 1,       # executable, i386, version
                          BASE + header_size + entry_size,  # entry point
                          header_size, 0, 0,                # program headers, no sections
                          header_size, entry_size, 1, 0, 0, 0)
    program = struct.pack("<IIIIIIII", 1, 0, BASE, BASE, size, size, 5, 0x1000)  # one loadable segment, r-x
    return header + program + CODE


def main():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "exit0")
        with open(path, "wb") as f:
            f.write(tiny_elf())
        os.chmod(path, 0o755)
        try:
            return 0 if subprocess.run([path]).returncode == 0 else 1
        except OSError:
            return 1


if __name__ == "__main__":
    sys.exit(main())
