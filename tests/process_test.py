#!/usr/bin/env python3
"""Runs the real symtext binary on symbol files built here and checks the
exact bytes of "OutPut.txt", standard output, standard error and the exit
status.

Usage: process_test.py --symtext PATH --reference PATH --examples DIR [unittest options]
       process_test.py --write-seeds DIR --reference PATH --examples DIR
--reference names the reference tool: the reference dump, the generator, and
the program's constants, read from the build.
--write-seeds writes every symbol file the tests would run (of up to 256 KiB)
into DIR, to seed the fuzzer, and runs nothing of symtext.
SYMTEXT_EMULATOR, when set, is a command put before the binaries (wine, say).
"""

import argparse
import errno
import hashlib
import io
import os
import pty
import pwd
import re
import resource
import shlex
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest
from typing import NamedTuple, Optional

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from symfile import be32, counted, item  # noqa: E402 (found through the path above)

SYMTEXT = None
REFERENCE = None
EXAMPLES = None
CONSTANTS = {}  # set in main: the program's buffer sizes and the dump's bound, from the build
SEEDS = None    # set in main with --write-seeds: the folder for the fuzzer's seeds
SEED_LIMIT = 256 << 10  # the longest input the fuzzer takes
EMULATOR = shlex.split(os.environ.get("SYMTEXT_EMULATOR", ""))
SANITIZED = os.environ.get("SYMTEXT_SANITIZED") == "1"  # the sanitizer build, slow on long runs
HERE = os.path.dirname(os.path.abspath(__file__))
USAGE = b"Error! Give me SYM filenames...\n"


def crlf(text):
    """The dump as a reader sees it, with its line ends stored as CR LF."""
    return text.replace(b"\n", b"\r\n")


def message(what, reason):
    """The one line of a failure: reason is an errno value, whose text the
    system gives, or the program's own text."""
    if isinstance(reason, int):
        reason = os.strerror(reason).encode()
    return b"symtext: %s: %s\n" % (what, reason)


def short_note(offset, header=False):
    """The note on in.sym when the item at offset (as its header line shows it)
    runs past the end of the file, or the file ends inside the header that
    starts at offset."""
    if header:
        return b"symtext: in.sym: the file ends inside the header that starts at %06X; the dump leaves it out\n" % offset
    return b"symtext: in.sym: the item at %06X runs past the end of the file; its missing bytes read as 0xFF\n" % offset


def past_note(offset):
    """The note on in.sym when the item at offset reads past its own end."""
    return (b"symtext: in.sym: the item at %06X reads past its own end; the bytes after it are read into it"
            b" and dumped again\n" % offset)


def parting(got, want):
    """Where two dumps first differ, with the bytes around that place in each."""
    at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
    start = max(0, at - 40)
    return "the dumps part at byte %d, of %d and %d bytes:\n  %r\nfor\n  %r" % (
        at, len(got), len(want), got[start:at + 40], want[start:at + 40])


class Run:
    def __init__(self, status, stdout, stderr, dump):
        self.status, self.stdout, self.stderr, self.dump = status, stdout, stderr, dump


class SymtextCase(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="symtext-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write_input(self, data, name="in.sym"):
        """Writes data as a symbol file of the case. With --write-seeds it goes
        to the seed folder instead, and the test, or the subtest, ends there."""
        if SEEDS is not None:
            if len(data) <= SEED_LIMIT:
                with open(os.path.join(SEEDS, hashlib.sha1(data).hexdigest()), "wb") as f:
                    f.write(data)
            raise unittest.SkipTest("seed written")
        with open(self.path(name), "wb") as f:
            f.write(data)

    def command(self, *args):
        """The command line that runs symtext; with --write-seeds nothing runs."""
        if SEEDS is not None:
            raise unittest.SkipTest("only seeds are written")
        return EMULATOR + [SYMTEXT, *args]

    def run_symtext(self, *args, data=None):
        """Runs symtext in the case's directory, on data written to in.sym when given."""
        if data is not None:
            self.write_input(data)
            args = ("in.sym",) + args
        # Wine decodes the arguments, and the names they give, by the locale.
        env = dict(os.environ, LC_ALL="C.UTF-8")
        proc = subprocess.run(self.command(*args), cwd=self.dir, env=env, capture_output=True, timeout=120)
        stdout, stderr = proc.stdout, proc.stderr
        if SYMTEXT.lower().endswith(".exe"):
            # The Windows console streams are text streams: their line ends
            # are CR LF there. The dump file is the same on every platform.
            stdout = stdout.replace(b"\r\n", b"\n")
            stderr = stderr.replace(b"\r\n", b"\n")
        dump = None
        if os.path.isfile(self.path("OutPut.txt")):
            with open(self.path("OutPut.txt"), "rb") as f:
                dump = f.read()
        return Run(proc.returncode, stdout, stderr, dump)

    def assertSameDump(self, got, want):
        self.assertIsNotNone(got, "no dump was written")
        if got != want:
            self.fail(parting(got, want))

    def assertDump(self, data, dump, stdout=b"", status=0, stderr=b""):
        run = self.run_symtext(data=data)
        self.assertSameDump(run.dump, crlf(dump))
        self.assertEqual(run.stdout, stdout)
        self.assertEqual(run.stderr, stderr)
        self.assertEqual(run.status, status)
        return run


class CommandLine(SymtextCase):
    def test_wrong_argument_counts_print_usage(self):
        for args in [(), ("a.sym", "b.sym"), ("a", "b", "c")]:
            with self.subTest(args=args):
                run = self.run_symtext(*args)
                self.assertEqual((run.status, run.stdout, run.stderr), (1, USAGE, b""))
                self.assertIsNone(run.dump)

    def test_names_beyond_ascii(self):
        # Accented Latin, CJK and Greek letters, and one character beyond the
        # 16-bit range: each must reach the file system, and the message,
        # exactly as typed.
        data = item(5, be32(0x12) + counted(b"int")) + item(1, b"A")
        for name in ["données.sym", "符号表.sym", "σύμβολα.sym", "données_符号_σύμβολα_\U0001F600.sym"]:
            with self.subTest(name=name):
                self.write_input(data, name)
                run = self.run_symtext(name)
                self.assertEqual((run.status, run.stdout, run.stderr), (0, b"1 ", b""))
                self.assertEqual(run.dump, crlf(b'000002: (12) [0005] \t(00000012) [ 3]"int"\n'
                                                b'00000E: (5) [0001] \t"A\n'))
                os.remove(self.path("OutPut.txt"))
                missing = "absent_" + name
                run = self.run_symtext(missing)
                self.assertEqual(run.status, 1)
                self.assertEqual(run.stderr, message(missing.encode(), errno.ENOENT))
                self.assertIsNone(run.dump)

    def test_names_beyond_ascii_on_a_terminal(self):
        # On Windows a console takes the message through its own UTF-16 call;
        # wine shows that console on the terminal it was given.
        main, terminal = pty.openpty()
        env = dict(os.environ, LC_ALL="C.UTF-8")
        proc = subprocess.run(self.command("absent_données_符号_σύμβολα.sym"), cwd=self.dir,
                              env=env, stdin=terminal, stdout=terminal, stderr=terminal, timeout=120)
        os.close(terminal)
        shown = b""
        while True:
            try:
                chunk = os.read(main, 4096)
            except OSError:  # the terminal's other end is closed
                break
            if not chunk:
                break
            shown += chunk
        os.close(main)
        self.assertEqual(proc.returncode, 1)
        # What a terminal is told besides the text: cursor commands, CRs.
        text = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", shown).replace(b"\r", b"")
        self.assertEqual(text, message("absent_données_符号_σύμβολα.sym".encode(), errno.ENOENT))

    @unittest.skipUnless(os.path.exists("/dev/full") and not EMULATOR, "needs /dev/full")
    def test_full_disk_is_a_failure(self):
        # Standard output and standard error in one pipe, as on a terminal:
        # the kinds of the items dumped before the first write failed, then
        # the message, and nothing after, for the run stops there. The dump is
        # written out before an item when its buffer has less room left than
        # the longest text of an item, and at the end.
        capacity, room = CONSTANTS["kOutputBufferSize"], CONSTANTS["kLeastSizes.output"]
        console = CONSTANTS["kConsoleBufferSize"]
        # (items, body size): a small dump fails only when the file is closed,
        # one past the C library's buffer when it is written there; a list of
        # kinds past the console buffer is written out before the end; a dump
        # past the dump buffer fails in the middle, with 4 kinds of 10 listed.
        for items, size in [(1, 100), (1, 60000), (console // 2 + 1000, 0), (capacity // 60000 + 2, 60000)]:
            with self.subTest(items=items, size=size):
                self.write_input(item(1, b"A" * size) * items)
                line = b'000002: (%d) [0001] %s\r\n' % (size + 4, b'\t"' + b"A" * size if size else b"")
                dumped, held = 0, 0
                while dumped < items and capacity - held >= room:
                    dumped, held = dumped + 1, held + len(line)
                os.symlink("/dev/full", self.path("OutPut.txt"))
                proc = subprocess.run(self.command("in.sym"), cwd=self.dir, stdout=subprocess.PIPE,
                                      stderr=subprocess.STDOUT, timeout=60)
                os.remove(self.path("OutPut.txt"))
                self.assertEqual(proc.returncode, 1)
                self.assertEqual(proc.stdout, b"1 " * dumped + message(b"OutPut.txt", errno.ENOSPC))

    @unittest.skipUnless(os.path.exists("/dev/full") and not EMULATOR, "needs /dev/full")
    def test_console_that_cannot_be_written(self):
        # A short list fails when standard output is flushed; one longer than
        # stdio's buffer is written straight through, and fails there.
        for items in [1, 3000]:
            with self.subTest(items=items):
                self.write_input(item(1, b"A") * items)
                with open("/dev/full", "wb") as full:
                    proc = subprocess.run(self.command("in.sym"), cwd=self.dir, stdout=full,
                                          stderr=subprocess.PIPE, timeout=60)
                self.assertEqual(proc.returncode, 1)
                self.assertEqual(proc.stderr, message(b"standard output", errno.ENOSPC))


class HeadersAndRawBodies(SymtextCase):
    def test_empty_file_gives_empty_dump(self):
        self.assertDump(b"", b"")

    def test_header_cut_short_is_ignored(self):
        whole = item(1, b"A\x00")
        for extra in [b"\x00", b"\x00\x06", b"\x00\x06\x00"]:
            with self.subTest(extra=extra):
                self.assertDump(whole + extra, b'000002: (6) [0001] \t"A"\t00\n', b"1 ",
                                stderr=short_note(6, header=True))

    def test_raw_examples(self):
        cases = [
            # (bytes, dump, console)
            (item(1, b"A\x00"), b'000002: (6) [0001] \t"A"\t00\n', b"1 "),
            (item(9, b"\x00\x01hi"), b'000002: (8) [0009] 0001\t"hi\n', b"9 "),
            (item(0), b"000002: (4) [0000] \n", b"0 "),
            (item(1, b"\t "), b'000002: (6) [0001] 09\t" \n', b"1 "),
            (item(0xFFFF, b"\xff"), b"000002: (5) [ffff] ff\n", b"65535 "),
            (item(1, b"A\x00") + item(9, b"\x00\x01hi"),
             b'000002: (6) [0001] \t"A"\t00\n000008: (8) [0009] 0001\t"hi\n', b"1 9 "),
        ]
        for data, dump, console in cases:
            with self.subTest(data=data):
                self.assertDump(data, dump, console)

    def test_short_raw_item_resumes_four_bytes_on(self):
        for length in range(4):
            with self.subTest(length=length):
                data = item(2, length=length) + item(1, b"A\x00")
                self.assertDump(data, b"000002: (%d) [0002] ?????\n"
                                      b'000006: (6) [0001] \t"A"\t00\n' % length, b"2 1 ")

    def test_body_cut_short_reads_ff(self):
        data = item(3, b"AB", length=10)
        self.assertDump(data, b'000002: (10) [0003] \t"AB"\tffffffff\n', b"3 ", stderr=short_note(2))

    def test_length_and_kind_formats(self):
        body = b"\x00" * 65531
        self.assertDump(item(0x0B00, body), b"000002: (65535) [0b00] " + b"00" * 65531 + b"\n",
                        b"2816 ")

    def test_offsets_past_six_digits(self):
        # 257 items of 65535 bytes put the 258th at 0x100FEFF.
        data = item(1, b"x" * 65531) * 257 + item(1, b"A\x00")
        run = self.run_symtext(data=data)
        self.assertEqual(run.status, 0)
        self.assertIn(b"\r\nFFFF02: (65535) [0001] \t\"xxx", run.dump)
        self.assertTrue(run.dump.endswith(b'x\r\n100FF01: (6) [0001] \t"A"\t00\r\n'))
        self.assertEqual(run.dump.count(b"\r\n"), 258)
        self.assertEqual(run.stdout, b"1 " * 258)


RAW_A = item(1, b"A\x00")               # an opaque item written before a failure


def raw_a_text(count, start=0):
    """The dump of count RAW_A items from offset start on."""
    return b"".join(b'%06X: (6) [0001] \t"A"\t00\n' % (start + 2 + 6 * i) for i in range(count))


RAW_A_TEXT = raw_a_text(1)


class FixedKinds(SymtextCase):
    def test_examples(self):
        int_name = counted(b"int")       # 03 'i' 'n' 't', no pad
        cases = [
            # kind 5: W1, a name
            (item(5, be32(0x12) + int_name),
             b'000002: (12) [0005] \t(00000012) [ 3]"int"\n'),
            (item(5, be32(0x12) + counted(b"ab")),
             b'000002: (12) [0005] \t(00000012) [ 2]"ab"\t\t00\n'),
            # four bytes the layout does not explain
            (item(5, be32(0x12) + int_name + b"\x01\x02\x03\x04"),
             b'000002: (16) [0005] \t(00000012) [ 3]"int"\t?? pad ?? 01020304\n'),
            # kind 4: W1 to W4, a name
            (item(4, be32(0x20) + be32(0x00010005) + be32(2) + be32(0x8000) + counted(b"x")),
             b'000002: (24) [0004] \t(00000020) 00010005 ^2:@00008000 [ 1]"x"\t\t0000\n'),
            # kind 7: five words, W2 right-aligned in eight columns
            (item(7, be32(0x10) + be32(1) + be32(4) + be32(0) + be32(3)),
             b"000002: (24) [0007] \t10        1 (00000004) 0 3\n"),
            (item(7, be32(0xFFFFFFFF) + be32(0x80000001) + be32(0) + be32(0xABC) + be32(0)),
             b"000002: (24) [0007] \tffffffff 80000001 (00000000) abc 0\n"),
            # a line feed in a name is CR LF in the dump
            (item(5, be32(1) + counted(b"a\nb")),
             b'000002: (12) [0005] \t(00000001) [ 3]"a\nb"\n'),
        ]
        for data, dump in cases:
            with self.subTest(data=data):
                self.assertDump(data, dump)

    def test_kind4_shorter_than_its_words(self):
        nxt = item(5, be32(0x12) + counted(b"int"))  # 00 0C 00 05 | 00 00 00 12 | 03 'int'
        cases = [
            # 16 bytes: W4 is the next item's header and the name its word's
            # first bytes (n = 0, pad 00 00 12); the next item is then read at 16.
            (item(4, be32(1) + be32(2) + be32(3), length=16) + nxt,
             b'000002: (16) [0004] \t(00000001) 00000002 ^3:@000c0005 [ 0]""\t\t000012\n'
             b'000012: (12) [0005] \t(00000012) [ 3]"int"\n', past_note(2)),
            # 19 bytes: W4 takes AA BB CC and the next item's first byte; the
            # name (n = 0x0C) runs to the end of the input, then reads 0xFF.
            (item(4, be32(1) + be32(2) + be32(3) + b"\xAA\xBB\xCC", length=19) + nxt,
             b'000002: (19) [0004] \t(00000001) 00000002 ^3:@aabbcc00 [12]"'
             b'\x00\x05\x00\x00\x00\x12\x03int\xff\xff"\t\tffffff\n'
             b'000015: (12) [0005] \t(00000012) [ 3]"int"\n', short_note(2)),
        ]
        for data, dump, note in cases:
            with self.subTest(data=data):
                self.assertDump(data, dump, stderr=note)

    def test_kind5_shorter_than_its_name(self):
        # Kind 5 takes 8 to 11 bytes: its name's count byte, if any, is inside
        # the item and the rest of the name comes from the next item (count 0,
        # so three pad bytes); the next item is then read at the item's end.
        nxt = item(5, be32(0x12) + counted(b"int"))  # 00 0C 00 05 | 00 00 00 12 | 03 'int'
        cases = [
            (8, b"", b"0c0005"),                # the count byte is the next item's first
            (9, b"\x00", b"000c00"),
            (10, b"\x00\xAA", b"aa000c"),
            (11, b"\x00\xAA\xBB", b"aabb00"),
        ]
        for length, rest, pad in cases:
            with self.subTest(length=length):
                self.assertDump(item(5, be32(1) + rest) + nxt,
                                b'000002: (%d) [0005] \t(00000001) [ 0]""\t\t%s\n'
                                b'%06X: (12) [0005] \t(00000012) [ 3]"int"\n' % (length, pad, length + 2),
                                stderr=past_note(2))

    def test_items_cut_off_by_the_end_of_the_input(self):
        cases = [
            # a name of five characters with two of them present
            (item(5, be32(0x12) + b"\x05ab", length=16),
             b'000002: (16) [0005] \t(00000012) [ 5]"ab\xff\xff\xff"\t\tffff\n'),
            # trailing bytes past the end
            (item(5, be32(0x12) + counted(b"int"), length=20),
             b'000002: (20) [0005] \t(00000012) [ 3]"int"\t?? pad ?? ' + b"ff" * 8 + b"\n"),
            # words past the end read as ffffffff; W2 (02 ff ff ff) takes one column of fill
            (item(7, be32(1) + b"\x02", length=24),
             b"000002: (24) [0007] \t1  2ffffff (ffffffff) ffffffff ffffffff\n"),
        ]
        for data, dump in cases:
            with self.subTest(data=data):
                self.assertDump(data, dump, stderr=short_note(2))


class ListKinds(SymtextCase):
    def test_examples(self):
        names_ab = counted(b"A") + counted(b"B")  # 01 41 00 00 | 01 42 00 00
        words11 = be32(4) + be32(2) + be32(0)     # W1, M = 2, W3
        cases = [
            # kind 6: M = 1, W2, then E1, E2 and a name
            (item(6, be32(1) + be32(8) + be32(0) + be32(4) + counted(b"a")),
             b'000002: (24) [0006] \t#00000001 =00000008\n\t+00000000 (00000004) [ 1]"a"\t\t0000\n\n'),
            # kind 6 with M = 0
            (item(6, be32(0) + be32(0xCAFE)),
             b"000002: (12) [0006] \t#00000000 =0000cafe\n\n"),
            # kind 6: trailing bytes stand on a line of their own
            (item(6, be32(1) + be32(8) + be32(0) + be32(4) + counted(b"a") + b"\xEE"),
             b'000002: (25) [0006] \t#00000001 =00000008\n\t+00000000 (00000004) [ 1]"a"\t\t0000\n'
             b"\t?? pad ?? ee\n"),
            # kind 11: W1, M, W3, then M names
            (item(11, words11 + names_ab),
             b'000002: (24) [000b] \t00000004 #00000002 00000000\n\t\t[ 1]"A"\t\t0000\n\t\t[ 1]"B"\t\t0000\n'),
            # kind 11: trailing bytes go on the last name's line
            (item(11, words11 + names_ab + b"\x0a\x0b\x0c\x0d"),
             b'000002: (28) [000b] \t00000004 #00000002 00000000\n\t\t[ 1]"A"\t\t0000\n'
             b'\t\t[ 1]"B"\t\t0000\t?? pad ?? 0a0b0c0d\n'),
            # kind 11 with M = 0: trailing bytes follow the fixed text
            (item(11, be32(1) + be32(0) + be32(2) + b"\x01\x02\x03\x04"),
             b"000002: (20) [000b] \t00000001 #00000000 00000002\t?? pad ?? 01020304\n"),
            # names of every pad size
            (item(11, be32(0) + be32(5) + be32(0) + counted(b"") + counted(b"a") + counted(b"ab")
                  + counted(b"abc") + counted(b"abcd")),
             b"000002: (40) [000b] \t00000000 #00000005 00000000\n"
             b'\t\t[ 0]""\t\t000000\n\t\t[ 1]"a"\t\t0000\n\t\t[ 2]"ab"\t\t00\n\t\t[ 3]"abc"\n'
             b'\t\t[ 4]"abcd"\t\t000000\n'),
        ]
        for data, dump in cases:
            with self.subTest(data=data):
                self.assertDump(data, dump)

    def test_hostile_counts_end_with_the_item(self):
        cases = [
            # M = 0xFFFFFFFF in a 20-byte kind 6: one entry starts inside the
            # item; its name comes from the next item's header (n = 0, pad 06 00 01)
            (item(6, be32(0xFFFFFFFF) + be32(0) + be32(1) + be32(2), length=20) + RAW_A,
             b'000002: (20) [0006] \t#ffffffff =00000000\n\t+00000001 (00000002) [ 0]""\t\t060001\n\n'
             b'000016: (6) [0001] \t"A"\t00\n', b"1 ", past_note(2)),
            # M = 5 in a kind 6 whose one entry fills the item exactly
            (item(6, be32(5) + be32(0) + be32(1) + be32(2) + counted(b"abc")) + RAW_A,
             b'000002: (24) [0006] \t#00000005 =00000000\n\t+00000001 (00000002) [ 3]"abc"\n\n'
             b'00001A: (6) [0001] \t"A"\t00\n', b"1 "),
            # M = 0xFFFFFFFF in a 20-byte kind 11: the one name fills the item
            (item(11, be32(0) + be32(0xFFFFFFFF) + be32(0) + counted(b"A")) + RAW_A,
             b'000002: (20) [000b] \t00000000 #ffffffff 00000000\n\t\t[ 1]"A"\t\t0000\n'
             b'000016: (6) [0001] \t"A"\t00\n', b"1 "),
            # M = 1000 with three names that fill the item
            (item(11, be32(0) + be32(1000) + be32(0) + counted(b"A") + counted(b"B") + counted(b"C")),
             b'000002: (28) [000b] \t00000000 #000003e8 00000000\n'
             b'\t\t[ 1]"A"\t\t0000\n\t\t[ 1]"B"\t\t0000\n\t\t[ 1]"C"\t\t0000\n', b""),
            # a 1000-byte item cut off after one name: each name past the end
            # reads n = 255 and charges 256 until nothing of the item is left
            (item(11, be32(0) + be32(0xFFFFFFFF) + be32(0) + counted(b"A"), length=1000),
             b'000002: (1000) [000b] \t00000000 #ffffffff 00000000\n\t\t[ 1]"A"\t\t0000'
             + (b'\n\t\t[255]"' + b"\xff" * 255 + b'"') * 4 + b"\n", b"", short_note(2)),
            # the same for kind 6: entries past the end read ffffffff words
            (item(6, be32(0xFFFFFFFF) + be32(0), length=600),
             b"000002: (600) [0006] \t#ffffffff =00000000\n"
             + (b'\t+ffffffff (ffffffff) [255]"' + b"\xff" * 255 + b'"\n') * 3 + b"\n", b"", short_note(2)),
        ]
        for data, dump, console, *note in cases:
            with self.subTest(data=data[:24]):
                self.assertDump(data, dump, console, stderr=b"".join(note))


WINDOWS = None  # set in main: the program under test is a Windows one, run under wine
# More than one input window, so that a dump file emptied after the window was
# filled would be read back as input.
BIG = item(1, b"x" * 65531) * 5
# Raw items whose dump takes several MB, and that dump.
MANY = item(1, b"x" * 1000) * 4000
MANY_TEXT = b"".join(b'%06X: (1004) [0001] \t"%s\n' % (2 + 1004 * i, b"x" * 1000) for i in range(4000))


def same_file(name):
    return message(name, b"input file is the dump file OutPut.txt")


def stream_is_dump(stream):
    return message(stream, b"it is the dump file OutPut.txt")


CUT = item(1, b"A" * 10, length=30)  # an opaque item that runs past the end of the file
CUT_TEXT = b'000002: (30) [0001] \t"AAAAAAAAAA"\t' + b"ff" * 16 + b"\n"
# A kinds list of several console buffers.
MANY_KINDS = RAW_A * 30000
# Raw items past 4 GiB, fed through a FIFO in blocks of 1024 items, then a
# kind-4 item of 15 bytes whose kind field is at 65538 * 65535 + 2, 0x100010000.
LONG_ITEM = item(1, b"x" * 65531)
PAST_4_GIB = [(LONG_ITEM * 1024, 64), (LONG_ITEM * 2 + item(4, bytes(11)) + RAW_A, 1)]


def long_name(size, tail=b""):
    """A name of size bytes of folders that do not exist, then tail."""
    return (b"x" * 254 + b"/") * (size // 255) + b"x" * (size % 255) + tail


# The longest message line is 4096 bytes; a name takes what the line leaves.
NAME_ROOM = 4096 - len(message(b"", errno.ENOENT))


class Case(NamedTuple):
    """A run of FailingAndShortRuns and what it must leave."""
    name: str
    # The case's files: bytes, or (how, what): ("symlink", target),
    # ("hardlink", name), ("fifo", None) for OutPut.txt, ("fed", blocks) for
    # a FIFO that is fed each (bytes, times) of blocks, ("dir", None), or
    # ("read-only", bytes).
    files: dict
    args: list       # symtext's arguments
    status: int
    stderr: bytes    # all of standard error, unless streams sends it elsewhere
    stdout: Optional[bytes] = b""  # all of standard output; None: not looked at
    after: dict = {}  # {file: its bytes after the run, or None: there is none}
    # The run's standard streams, as a shell would set them: "2>&1", "<&-",
    # ">&-", "2>&-", "|closed" (a pipe whose reader has gone), or ">FILE",
    # ">>FILE", "2>FILE" for a file of the case or /dev/full.
    streams: tuple = ()
    fsize: int = 64 << 20  # the file-size limit: should a run read its own dump back, it stops here
    held: bool = False  # another run is writing OutPut.txt all through this one
    wine: bool = True   # shown by the Windows build under wine too
    long: bool = False  # a run of gibibytes, which the sanitizer build leaves


class FailingAndShortRuns(SymtextCase):
    """Runs that fail, and runs whose file falls short: the exit status, the one
    line on standard error, the console, and every file's bytes after. A link
    is still a link to its target after. A read-only file is written by nobody
    but root: when the suite runs as root, symtext runs as nobody."""

    # What the run that holds OutPut.txt reads: first more than a window, so
    # that it opens the dump, then, after the other run, the rest.
    HELD = RAW_A * 70000
    HELD_TEXT = raw_a_text(70000)
    HELD_FIRST = 300000
    HELD_BEFORE = b"older"  # OutPut.txt before it, which that run empties
    CASES = [
        Case("input named OutPut.txt", {"OutPut.txt": BIG}, ["OutPut.txt"],
             1, same_file(b"OutPut.txt"), after={"OutPut.txt": BIG}),
        Case("OutPut.txt a symlink to the input", {"in.sym": BIG, "OutPut.txt": ("symlink", "in.sym")}, ["in.sym"],
             1, same_file(b"in.sym"), after={"in.sym": BIG}),
        Case("the input a symlink to OutPut.txt", {"OutPut.txt": BIG, "link.sym": ("symlink", "OutPut.txt")},
             ["link.sym"], 1, same_file(b"link.sym"), after={"OutPut.txt": BIG}),
        Case("OutPut.txt a hard link to the input", {"in.sym": BIG, "OutPut.txt": ("hardlink", "in.sym")},
             ["in.sym"], 1, same_file(b"in.sym"), after={"in.sym": BIG, "OutPut.txt": BIG}),
        Case("an older, longer OutPut.txt is emptied first", {"in.sym": RAW_A, "OutPut.txt": b"older " * 100},
             ["in.sym"], 0, b"", b"1 ", {"OutPut.txt": crlf(RAW_A_TEXT)}),
        Case("OutPut.txt a symlink to /dev/null", {"in.sym": RAW_A, "OutPut.txt": ("symlink", "/dev/null")},
             ["in.sym"], 0, b"", b"1 "),
        Case("OutPut.txt a FIFO", {"in.sym": RAW_A, "OutPut.txt": ("fifo", None)}, ["in.sym"],
             0, b"", b"1 ", {"OutPut.txt": crlf(RAW_A_TEXT)}),
        Case("/dev/null as input and dump", {"OutPut.txt": ("symlink", "/dev/null")}, ["/dev/null"], 0, b""),
        Case("a read-only input, run by a user who cannot write it", {"in.sym": ("read-only", RAW_A)}, ["in.sym"],
             0, b"", b"1 ", {"OutPut.txt": crlf(RAW_A_TEXT)}),
        Case("the kinds list to a pipe already closed", {"in.sym": MANY_KINDS}, ["in.sym"],
             1, message(b"standard output", errno.EPIPE), None, {"OutPut.txt": crlf(raw_a_text(30000))},
             streams=("|closed",)),
        # The symbol file cannot be read: an older dump is kept.
        Case("a missing input", {"OutPut.txt": b"older dump"}, ["missing.sym"],
             1, message(b"missing.sym", errno.ENOENT), after={"OutPut.txt": b"older dump"}),
        Case("a directory as input", {"adir": ("dir", None)}, ["adir"],
             1, message(b"adir", errno.EISDIR), after={"OutPut.txt": None}),
        Case("a directory named OutPut.txt as input", {"OutPut.txt": ("dir", None)}, ["OutPut.txt"],
             1, message(b"OutPut.txt", errno.EISDIR)),
        # The dump file cannot be made, or fails.
        Case("OutPut.txt a directory", {"in.sym": RAW_A, "OutPut.txt": ("dir", None)}, ["in.sym"],
             1, message(b"OutPut.txt", errno.EISDIR)),
        Case("a read-only OutPut.txt, run by a user who cannot write it",
             {"in.sym": RAW_A, "OutPut.txt": ("read-only", b"older")}, ["in.sym"],
             1, message(b"OutPut.txt", errno.EACCES), after={"OutPut.txt": b"older"}),
        Case("no note when the dump fails", {"in.sym": CUT, "OutPut.txt": ("symlink", "/dev/full")}, ["in.sym"],
             1, message(b"OutPut.txt", errno.ENOSPC), b"1 ", wine=False),
        # The usage message cannot be written.
        Case("the usage message to a full disk", {}, [], 1, message(b"standard output", errno.ENOSPC), None,
             streams=(">/dev/full",), wine=False),
        Case("the usage message to a pipe already closed", {}, [], 1, message(b"standard output", errno.EPIPE),
             None, streams=("|closed",)),
        # Standard output or error is the dump file: OutPut.txt is left as the
        # shell left it, emptied by > and whole after >>.
        Case("standard output into OutPut.txt", {"in.sym": RAW_A, "OutPut.txt": b"older"}, ["in.sym"],
             1, stream_is_dump(b"standard output"), None, {"OutPut.txt": b""}, streams=(">OutPut.txt",)),
        Case("standard output appended to OutPut.txt", {"in.sym": RAW_A, "OutPut.txt": b"older"}, ["in.sym"],
             1, stream_is_dump(b"standard output"), None, {"OutPut.txt": b"older"}, streams=(">>OutPut.txt",)),
        Case("standard output into a symlink to OutPut.txt",
             {"in.sym": RAW_A, "OutPut.txt": b"older", "out.txt": ("symlink", "OutPut.txt")}, ["in.sym"],
             1, stream_is_dump(b"standard output"), None, {"OutPut.txt": b""}, streams=(">out.txt",)),
        Case("standard output into a hard link to OutPut.txt",
             {"in.sym": RAW_A, "OutPut.txt": b"older", "out.txt": ("hardlink", "OutPut.txt")}, ["in.sym"],
             1, stream_is_dump(b"standard output"), None, {"OutPut.txt": b""}, streams=(">out.txt",)),
        Case("standard error into OutPut.txt", {"in.sym": RAW_A, "OutPut.txt": b"older"}, ["in.sym"],
             1, b"", b"", {"OutPut.txt": stream_is_dump(b"standard error")}, streams=("2>OutPut.txt",),
             wine=False),
        Case("standard output into another file", {"in.sym": RAW_A, "OutPut.txt": b"older", "out.txt": b""},
             ["in.sym"], 0, b"", None, {"OutPut.txt": crlf(RAW_A_TEXT), "out.txt": b"1 "}, streams=(">out.txt",)),
        # Another run is writing OutPut.txt: it is left to that run.
        Case("a second run while another writes OutPut.txt", {"in.sym": RAW_A, "OutPut.txt": HELD_BEFORE}, ["in.sym"],
             1, b"symtext: OutPut.txt: another run is writing it\n", b"",
             {"OutPut.txt": crlf(HELD_TEXT)}, held=True),
        # Standard streams that came closed: the dump cannot take their place,
        # and a kinds list longer than its buffer fails on its own.
        Case("standard input and output closed", {"in.sym": MANY}, ["in.sym"],
             1, message(b"standard output", errno.EBADF), None, {"OutPut.txt": crlf(MANY_TEXT)},
             streams=("<&-", ">&-"), wine=False),
        Case("standard input and error closed, and a note", {"in.sym": CUT}, ["in.sym"],
             0, b"", b"1 ", {"OutPut.txt": crlf(CUT_TEXT)}, streams=("<&-", "2>&-"), wine=False),
        # A file-size limit ends the run with a message, and keeps what was written.
        Case("a dump past the file-size limit", {"in.sym": MANY}, ["in.sym"],
             1, message(b"OutPut.txt", errno.EFBIG), None, {"OutPut.txt": crlf(MANY_TEXT)[:100000]},
             fsize=100000, wine=False),
        # A note only when nothing fails.
        Case("a note held back when standard output fails", {"in.sym": CUT}, ["in.sym"],
             1, message(b"standard output", errno.ENOSPC), None, {"OutPut.txt": crlf(CUT_TEXT)},
             streams=(">/dev/full",), wine=False),
        Case("the kinds, then the note, on one pipe", {"in.sym": RAW_A * 2 + CUT}, ["in.sym"],
             0, b"", b"1 1 1 " + short_note(0x0E), {"OutPut.txt": crlf(raw_a_text(2) + CUT_TEXT.replace(b"000002", b"00000E"))},
             streams=("2>&1",)),
        Case("one note, for the first odd item", {"in.sym": item(5, be32(1), length=8) + RAW_A + CUT}, ["in.sym"],
             0, past_note(2), b"1 1 ", {"OutPut.txt": crlf(b'000002: (8) [0005] \t(00000001) [ 0]""\t\t060001\n'
                                                          + RAW_A_TEXT.replace(b"000002", b"00000A")
                                                          + CUT_TEXT.replace(b"000002", b"000010"))}),
        # A name is shown on one line, without the control bytes a terminal obeys.
        Case("a name with control bytes", {}, [b"no\033[31mne\n.sym"],
             1, message(b"$'no\\033[31mne\\n.sym'", errno.ENOENT), wine=False),
        Case("a name that is not UTF-8", {}, [b"caf\xe9 it's.sym"],
             1, message(b"$'caf\\351 it\\'s.sym'", errno.ENOENT), wine=False),
        # A name too long for the line is cut at a whole character, and "..."
        # ends it; one that fills the line exactly is shown whole.
        Case("a name that fills the line", {}, [long_name(NAME_ROOM)],
             1, message(long_name(NAME_ROOM), errno.ENOENT), wine=False),
    ] + [
        Case("a name cut inside a character of %d bytes" % len(char), {}, [long_name(NAME_ROOM - 2 - len(char), char + b"zzz")],
             1, message(long_name(NAME_ROOM - 2 - len(char), b"..."), errno.ENOENT), wine=False)
        for char in ["é".encode(), "符".encode(), "\U0001F600".encode()]
    ] + [
        # A length its kind cannot have: "?????" ends the dump, and the message
        # comes after the kinds listed before, on one pipe as on a terminal.
        # The offset has six digits, with letters among them or not, and nine
        # past 4 GiB.
        Case("an item past 4 GiB of a length its kind cannot have",
             {"in.sym": ("fed", PAST_4_GIB), "OutPut.txt": ("symlink", "/dev/null")}, ["in.sym"],
             1, b"", b"1 " * 65538 + message(b"in.sym", b"item at 100010000: kind 4 cannot be 15 bytes long"),
             streams=("2>&1",), long=True),
    ] + [
        Case("kind %d of %d bytes after %d items" % (kind, length, before),
             {"in.sym": RAW_A * before + item(kind, bytes(16), length=length) + RAW_A}, ["in.sym"], 1, b"",
             b"1 " * before + message(b"in.sym", b"item at %06X: kind %d cannot be %d bytes long"
                                      % (2 + 6 * before, kind, length)),
             {"OutPut.txt": crlf(raw_a_text(before)) + b"%06X: (%d) [%04x] ?????" % (2 + 6 * before, length, kind)},
             streams=("2>&1",))
        for kind, length, before in [(4, 15, 1), (4, 4, 2), (5, 7, 1), (5, 0, 2), (6, 11, 1), (7, 23, 1),
                                     (7, 25, 2), (11, 19, 1), (11, 16, 2)]
    ]

    def make(self, name, content):
        path = self.path(name)
        how, target = content if isinstance(content, tuple) else ("file", content)
        if how == "symlink":
            os.symlink(target, path)
        elif how == "hardlink":
            os.link(self.path(target), path)
        elif how in ("fifo", "fed"):
            if how == "fed" and SEEDS is not None:
                raise unittest.SkipTest("too long for a seed")
            os.mkfifo(path)
        elif how == "dir":
            os.mkdir(path)
        else:
            self.write_input(target, name)
            if how == "read-only":
                os.chmod(path, 0o444)

    def open_streams(self, case):
        """The run's standard streams as subprocess takes them, and the files
        to close after it."""
        streams = {"stdin": subprocess.DEVNULL, "stdout": subprocess.PIPE, "stderr": subprocess.PIPE}
        opened = []
        for how in case.streams:
            stream = "stderr" if how.startswith("2") else "stdin" if how.startswith("<") else "stdout"
            if how == "2>&1":
                streams[stream] = subprocess.STDOUT
            elif how.endswith("&-"):
                streams[stream] = None  # closed in the child, below
            elif how == "|closed":
                read_end, write_end = os.pipe()
                os.close(read_end)
                opened.append(write_end)
                streams[stream] = write_end
            else:
                name = how.lstrip("2>")
                fd = os.open(self.path(name), os.O_WRONLY | os.O_CREAT | (os.O_APPEND if ">>" in how else os.O_TRUNC))
                opened.append(fd)
                streams[stream] = fd
        return streams, opened

    def run_case(self, case, hows):
        """Runs symtext as the case asks; returns (status, stdout, stderr, what a FIFO received)."""
        command = self.command(*case.args)
        user, received = None, []
        streams, opened = self.open_streams(case)
        closed = [fd for fd, name in enumerate(("stdin", "stdout", "stderr")) if streams[name] is None]
        for fd in closed:
            streams[("stdin", "stdout", "stderr")[fd]] = subprocess.DEVNULL
        if "read-only" in hows and os.geteuid() == 0:
            user = pwd.getpwnam("nobody")
            os.chmod(os.path.dirname(self.dir), 0o711)
            os.chmod(self.dir, 0o777)
            shutil.copy(SYMTEXT, self.path("symtext"))
            command[len(EMULATOR)] = self.path("symtext")
        if "fifo" in hows:
            def read_dump():
                with open(self.path("OutPut.txt"), "rb") as fifo:
                    received.append(fifo.read())
            reader = threading.Thread(target=read_dump)
            reader.start()
        for name, content in case.files.items():
            if isinstance(content, tuple) and content[0] == "fed":
                threading.Thread(target=self.feed, args=(name, content[1]), daemon=True).start()

        def preexec():
            resource.setrlimit(resource.RLIMIT_FSIZE, (case.fsize, case.fsize))
            for fd in closed:
                os.close(fd)
            if user is not None:
                os.setgid(user.pw_gid)
                os.setuid(user.pw_uid)

        holder = self.hold_dump_file() if case.held else None
        proc = subprocess.run(command, cwd=self.dir, preexec_fn=preexec, timeout=120, **streams)
        if holder is not None:
            self.release_dump_file(holder)
        for fd in opened:
            os.close(fd)
        if "fifo" in hows:
            reader.join(timeout=60)
        out = [proc.stdout or b"", proc.stderr or b""]
        if WINDOWS:
            out = [o.replace(b"\r\n", b"\n") for o in out]
        return proc.returncode, out[0], out[1], received

    def feed(self, name, blocks):
        with open(self.path(name), "wb") as fifo:
            for block, times in blocks:
                for _ in range(times):
                    fifo.write(block)

    def hold_dump_file(self):
        """Starts a run that holds OutPut.txt while it waits for the rest of
        its input, a FIFO, and returns it once it has emptied the file."""
        os.mkfifo(self.path("held.sym"))
        holder = subprocess.Popen(self.command("held.sym"), cwd=self.dir, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE)
        feed = open(self.path("held.sym"), "wb")
        feed.write(self.HELD[:self.HELD_FIRST])
        feed.flush()
        for _ in range(600):
            with open(self.path("OutPut.txt"), "rb") as f:
                if f.read() != self.HELD_BEFORE:
                    return holder, feed
            time.sleep(0.1)
        self.fail("the first run never emptied OutPut.txt")

    def release_dump_file(self, held):
        holder, feed = held
        feed.write(self.HELD[self.HELD_FIRST:])
        feed.close()
        _, stderr = holder.communicate(timeout=120)
        self.assertEqual((holder.returncode, stderr), (0, b""))

    def test_one_number_on_two_file_systems(self):
        # The input and OutPut.txt are the first files of two new tmpfs
        # mounts, so that they have one inode number: they are two files all
        # the same, and the input is dumped.
        if WINDOWS:
            self.skipTest("wine cannot mount a file system")
        if shutil.which("unshare") is None or subprocess.run(["unshare", "-rm", "true"]).returncode != 0:
            self.skipTest("no mount namespace here")
        self.write_input(RAW_A)
        with open(self.path("older"), "wb") as f:
            f.write(b"older")
        os.mkdir(self.path("a"))
        os.mkdir(self.path("b"))
        script = """mount -t tmpfs tmpfs a && mount -t tmpfs tmpfs b && cp in.sym a && cp older b/OutPut.txt &&
                    [ "$(stat -c %i a/in.sym)" = "$(stat -c %i b/OutPut.txt)" ] || exit 99
                    cd b && "$@" ../a/in.sym
                    status=$?
                    cp OutPut.txt ../dump.txt && exit $status"""
        proc = subprocess.run(["unshare", "-rm", "sh", "-c", script, "sh"] + self.command(), cwd=self.dir,
                              capture_output=True, timeout=120)
        if proc.returncode == 99:
            self.skipTest("two new tmpfs mounts do not number their first files alike here")
        self.assertEqual((proc.returncode, proc.stdout, proc.stderr), (0, b"1 ", b""))
        with open(self.path("dump.txt"), "rb") as f:
            self.assertEqual(f.read(), crlf(RAW_A_TEXT))

    def test_cases(self):
        base = self.dir
        for case in self.CASES:
            hows = {c[0] for c in case.files.values() if isinstance(c, tuple)}
            if WINDOWS and not case.wine or WINDOWS and ({"fifo", "read-only"} & hows or "/dev/null" in case.args):
                continue  # wine cannot open a FIFO for writing, nor run as another user
            if SANITIZED and case.long:
                continue
            with self.subTest(case.name):
                self.dir = tempfile.mkdtemp(dir=base)
                for file, content in case.files.items():
                    self.make(file, content)
                got_status, got_stdout, got_stderr, received = self.run_case(case, hows)
                stderr = case.stderr
                if WINDOWS and "dir" in hows:
                    # Windows' C library opens no directory as a file, and says EACCES.
                    stderr = stderr.replace(os.strerror(errno.EISDIR).encode(), os.strerror(errno.EACCES).encode())
                self.assertEqual((got_status, got_stderr), (case.status, stderr))
                if case.stdout is not None:
                    self.assertEqual(got_stdout, case.stdout)
                for file, content in case.after.items():
                    if "fifo" in hows:
                        self.assertEqual(received, [content])
                        continue
                    if content is None:
                        self.assertFalse(os.path.lexists(self.path(file)), file)
                        continue
                    with open(self.path(file), "rb") as f:
                        self.assertEqual(f.read(), content, file)
                for file, content in case.files.items():
                    if isinstance(content, tuple) and content[0] == "symlink":
                        self.assertEqual(os.readlink(self.path(file)), content[1])


def longest_text_at_the_end_of_the_buffer():
    """Raw items whose dump leaves in the dump buffer just the room made for
    an item, the longest text one writes, and then the kind-11 item that
    writes the longest text: three words, empty names, and a last name of 255
    line feeds that starts on its 65,532nd byte and reads past its end."""
    fill = CONSTANTS["kOutputBufferSize"] - CONSTANTS["kLeastSizes.output"]
    # A raw item of a printable body and a five-digit length writes its body
    # and 27 bytes: "000002: (65535) [0001] ", a tab and a quote, CR LF.
    whole, rest = divmod(fill, 27 + 65531)
    assert rest - 27 + 4 >= 10000, "the last filler's length has five digits"
    filler = LONG_ITEM * whole + item(1, b"x" * (rest - 27))
    words = be32(1) + be32(16380) + be32(3)  # W1, M, W3
    return filler + item(11, words + bytes(4 * 16379) + b"\xff" + b"\n" * 2) + b"\n" * 253 + RAW_A


def worst_known_input(items):
    """The input whose dump is the largest we know per byte, 45 bytes: kind-5
    items of 9 bytes whose last byte is a name count of 255, so that every name
    runs on over the next 28 items, whose words are line feeds."""
    return (item(5, b"\n" * 4 + b"\xff")) * items


class SameAsReference(SymtextCase):
    """Files held against the reference dump, byte for byte, and against the
    bound on every dump's size: the committed fuzz corpus, the input with the
    largest dump per byte we know, and files from the generator (every kind,
    hostile counts and lengths, long names and bodies) of several windows, of
    up to a few of the fuzzer's small ones, and ending just before, at and
    after the first window's end."""

    def generated(self):
        """(seed, size) of each generated file; fewer under an emulator, which
        starts for every run."""
        window = CONSTANTS["kInputBufferSize"]
        files = [(1, 3 << 20), (2, 5 << 20)] + [(3, window + delta) for delta in (-1, 0, 1)]
        return files + [(seed, (seed - 100) * 8000) for seed in range(101, 105 if EMULATOR else 125)]

    def reference(self, *args):
        return EMULATOR + [REFERENCE, *args]

    def test_same_dump_as_the_reference(self):
        corpus = os.path.join(HERE, "fuzz", "corpus")
        cases = [("corpus " + name, os.path.join(corpus, name)) for name in sorted(os.listdir(corpus))]
        cases += [("worst known", worst_known_input(20000))]
        cases += [("the longest text at the end of the dump buffer", longest_text_at_the_end_of_the_buffer())]
        cases += [("seed %d, %d bytes" % (seed, size), (seed, size)) for seed, size in self.generated()]
        for name, source in cases:
            with self.subTest(name):
                if isinstance(source, tuple):
                    self.generate_input(*source)
                elif isinstance(source, str):
                    self.copy_input(source)
                else:
                    self.write_input(source)
                self.check_against_reference()

    def generate_input(self, seed, size):
        """Writes the generator's file of that seed and size as in.sym; with
        --write-seeds, to the seed folder instead, and the subtest ends there."""
        if SEEDS is not None:
            if size <= SEED_LIMIT:
                subprocess.run(self.reference("generate", str(seed), str(size),
                                              os.path.join(SEEDS, "generated-%d-%d" % (seed, size))),
                               check=True, timeout=300)
            raise unittest.SkipTest("seed written")
        subprocess.run(self.reference("generate", str(seed), str(size), self.path("in.sym")),
                       check=True, timeout=300)

    def copy_input(self, source):
        """Copies a file of the corpus as in.sym; with --write-seeds nothing,
        as the corpus seeds the fuzzer as it is."""
        if SEEDS is not None:
            raise unittest.SkipTest("the corpus is a seed already")
        shutil.copyfile(source, self.path("in.sym"))

    def check_against_reference(self):
        ref = subprocess.Popen(self.reference("dump", self.path("in.sym"), self.path("ref.txt")),
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        run = self.run_symtext("in.sym")
        ref_stdout, ref_stderr = ref.communicate(timeout=300)
        with open(self.path("ref.txt"), "rb") as f:
            ref_dump = f.read()
        message = ref_stderr.replace(b"\r\n", b"\n")
        self.assertEqual((run.status, run.stderr), (ref.returncode, message and b"symtext: in.sym: " + message))
        self.assertEqual(run.stdout, ref_stdout)
        self.assertSameDump(run.dump, ref_dump)
        # Whatever the input: status 0 or 1, and at most one line on standard
        # error, which a failing run always has.
        self.assertIn(run.status, (0, 1))
        if run.status == 1 or run.stderr:
            self.assertRegex(run.stderr, re.compile(rb"\Asymtext: in\.sym: [^\n]+\n\Z"))
        size = os.path.getsize(self.path("in.sym"))
        bound = CONSTANTS["kDumpBytesPerInputByte"] * size + CONSTANTS["kDumpBytesPastTheEnd"]
        self.assertLessEqual(len(run.dump), bound, "the dump of %d bytes is past its bound" % size)


class Sample(SymtextCase):
    def test_sample_dump_matches(self):
        with open(os.path.join(EXAMPLES, "sample.sym"), "rb") as f:
            data = f.read()
        with open(os.path.join(EXAMPLES, "sample.dump"), "rb") as f:
            expected = f.read()
        with open(os.path.join(EXAMPLES, "sample.console"), "rb") as f:
            console = f.read()
        with open(os.path.join(EXAMPLES, "sample.stderr"), "rb") as f:
            note = f.read()
        with open(self.path("sample.sym"), "wb") as f:
            f.write(data)
        run = self.run_symtext("sample.sym")
        self.assertSameDump(run.dump, expected)
        self.assertEqual(run.stdout, console)
        self.assertEqual(run.stderr, note)
        self.assertEqual(run.status, 0)


def main():
    global SYMTEXT, REFERENCE, EXAMPLES, WINDOWS, SEEDS
    parser = argparse.ArgumentParser()
    parser.add_argument("--symtext")
    parser.add_argument("--write-seeds", metavar="DIR")
    parser.add_argument("--reference", required=True)
    parser.add_argument("--examples", required=True)
    opts, rest = parser.parse_known_args()
    if (opts.symtext is None) == (opts.write_seeds is None):
        parser.error("give one of --symtext and --write-seeds")
    REFERENCE = os.path.abspath(opts.reference)
    EXAMPLES = os.path.abspath(opts.examples)
    constants = subprocess.run(EMULATOR + [REFERENCE, "constants"], capture_output=True, check=True, timeout=120)
    for line in constants.stdout.decode().splitlines():
        key, value = line.split()
        CONSTANTS[key] = int(value)
    if opts.write_seeds is None:
        SYMTEXT = os.path.abspath(opts.symtext)
        WINDOWS = SYMTEXT.lower().endswith(".exe")
        unittest.main(argv=[sys.argv[0], "-v"] + rest)
    # Every test runs as far as the first file it would run symtext on.
    SEEDS = os.path.abspath(opts.write_seeds)
    os.makedirs(SEEDS, exist_ok=True)
    log = io.StringIO()
    result = unittest.TextTestRunner(stream=log).run(unittest.defaultTestLoader.loadTestsFromModule(sys.modules[__name__]))
    if not result.wasSuccessful():
        sys.exit("process_test: the seeds could not all be written:\n" + log.getvalue())
    print("process_test: %d seeds in %s" % (len(os.listdir(SEEDS)), SEEDS))


if __name__ == "__main__":
    main()
