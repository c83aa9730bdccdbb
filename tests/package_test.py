#!/usr/bin/env python3
"""Checks the packages that tools/package.sh made, as a user would meet them:
the Debian package unpacked (not installed) dumps the sample exactly, its
manual page renders, and neither mandoc, groff nor lintian finds a fault in
it; the Windows zip holds one folder with the program, the README and the
manual, and its symtext.exe dumps the sample exactly under wine
(tools/wine.sh), where wine can run 32-bit programs; elsewhere it is checked
but not run.

Usage: package_test.py --dist DIR --source DIR [--build DIR] [unittest options]
--build is the package build of tools/package.sh, SOURCE/build-package unless given.
"""

import argparse
import functools
import gzip
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
import time
import unittest
import zipfile

DIST = SOURCE = VERSION = None


def project_version(build):
    """The version the packages were built with, as the build of the Debian
    package for amd64 recorded it."""
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", f.read(), re.M).group(1)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def sample(name):
    return read(os.path.join(SOURCE, "examples", name))


def licence_terms():
    """The paragraphs of LICENSE after its copyright line: the MIT licence's terms."""
    text = read(os.path.join(SOURCE, "LICENSE")).decode()
    return text.split("symtext developers\n\n", 1)[1]


def copyright_notice():
    """The years and holders of LICENSE's copyright line, the one place they are written."""
    text = read(os.path.join(SOURCE, "LICENSE")).decode()
    return re.search(r"^Copyright \(c\) (.+)$", text, re.M).group(1)


@functools.lru_cache(maxsize=None)
def release_epoch():
    """The date of the newest changelog entry, as dpkg reads it."""
    return int(subprocess.run(["dpkg-parsechangelog", "-l", os.path.join(SOURCE, "doc/changelog"),
                               "-STimestamp"], check=True, capture_output=True, text=True).stdout)


class PackageCase(unittest.TestCase):
    def tempdir(self):
        path = tempfile.mkdtemp(prefix="symtext-package-")
        self.addCleanup(shutil.rmtree, path, ignore_errors=True)
        return path

    def assertDumpsSample(self, command, env=None):
        """Runs command FILE on the sample in a new folder; checks the dump, the console and the note."""
        cwd = self.tempdir()
        shutil.copy(os.path.join(SOURCE, "examples", "sample.sym"), cwd)
        proc = subprocess.run(command + ["sample.sym"], cwd=cwd, env=env,
                              capture_output=True, timeout=300)
        # The sample ends inside a header, which the note on standard error
        # names; the Windows console streams end their lines with CR LF.
        self.assertEqual((proc.returncode, proc.stderr.replace(b"\r\n", b"\n")), (0, sample("sample.stderr")))
        self.assertEqual(proc.stdout, sample("sample.console"))
        self.assertEqual(read(os.path.join(cwd, "OutPut.txt")), sample("sample.dump"))


class DebianPackage(PackageCase):
    """The amd64 package, whose program runs here; ArmDebianPackage runs its own under qemu."""
    ARCH = "amd64"
    EMULATOR = []
    # The first instructions that mark a function as the target of an indirect
    # call, where the processor checks them: endbr64 (x86 CET).
    LANDING_PADS = [bytes.fromhex("f30f1efa")]

    @classmethod
    def setUpClass(cls):
        cls.deb = os.path.join(DIST, f"symtext_{VERSION}_{cls.ARCH}.deb")
        cls.root = tempfile.mkdtemp(prefix="symtext-deb-")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True)
        cls.program = os.path.join(cls.root, "usr/bin/symtext")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def test_name_and_control_data_carry_the_version(self):
        fields = subprocess.run(["dpkg-deb", "-f", self.deb, "Package", "Version", "Architecture"],
                                check=True, capture_output=True, text=True).stdout
        control = dict(line.split(": ", 1) for line in fields.splitlines())
        self.assertEqual(control, {"Package": "symtext", "Version": VERSION, "Architecture": self.ARCH})

    def test_files_carry_the_release_date(self):
        """Every file of the package is dated by the newest changelog entry, as a rebuild will be."""
        tar = subprocess.run(["dpkg-deb", "--fsys-tarfile", self.deb], check=True, capture_output=True).stdout
        with tarfile.open(fileobj=io.BytesIO(tar)) as members:
            self.assertEqual({m.mtime for m in members}, {release_epoch()})

    def test_program_is_hardened(self):
        """What Debian's hardening flags leave in the program, read with readelf."""
        def readelf(option):
            return subprocess.run(["readelf", "-W", option, self.program],
                                  check=True, capture_output=True, text=True).stdout
        self.assertRegex(readelf("-h"), r"Type:\s+DYN ")  # loads at any address
        dynamic = readelf("-d")
        self.assertRegex(dynamic, r"\(FLAGS_1\)\s+Flags: NOW PIE\n")
        self.assertRegex(dynamic, r"\(FLAGS\)\s+BIND_NOW\n")  # relocated before it starts
        segments = readelf("-l")
        self.assertIn(" GNU_RELRO ", segments)  # then read-only
        self.assertRegex(segments, r" GNU_STACK( +0x[0-9a-f]+){5} RW ")  # no executable stack
        self.assertIn(" __stack_chk_fail", readelf("--dyn-syms"))  # stack canaries
        sections = {m[1]: (int(m[2], 16), int(m[3], 16), int(m[4], 16)) for m in re.finditer(
            r"\] (\S+) +\S+ +([0-9a-f]+) ([0-9a-f]+) ([0-9a-f]+) ", readelf("-S"))}
        self.assertNotIn(".comment", sections)
        # Control-flow protection: every function the dispatch table holds
        # (the relocated pointers of .data.rel.ro that lead into .text; the
        # others lead to texts) starts with a landing pad.
        table_at, _, table_size = sections[".data.rel.ro"]
        text_at, text_offset, text_size = sections[".text"]
        targets = [int(m[2], 16) for m in re.finditer(r"^([0-9a-f]+) +\S+ +R_\w+_RELATIVE +([0-9a-f]+)$",
                                                       readelf("-r"), re.M)
                   if table_at <= int(m[1], 16) < table_at + table_size
                   and text_at <= int(m[2], 16) < text_at + text_size]
        self.assertGreaterEqual(len(targets), 5)
        code = read(self.program)
        for target in targets:
            start = target - text_at + text_offset
            self.assertIn(code[start:start + 4], self.LANDING_PADS, hex(target))

    def test_files_in_their_places(self):
        files = sorted(os.path.relpath(os.path.join(d, n), self.root)
                       for d, _, names in os.walk(self.root) for n in names)
        self.assertEqual(files, ["usr/bin/symtext",
                                 "usr/share/doc/symtext/README.md",
                                 "usr/share/doc/symtext/changelog.gz",
                                 "usr/share/doc/symtext/copyright",
                                 "usr/share/lintian/overrides/symtext",
                                 "usr/share/man/man1/symtext.1.gz"])
        self.assertTrue(os.access(self.program, os.X_OK))

    def test_program_dumps_the_sample(self):
        self.assertDumpsSample(self.EMULATOR + [self.program])

    def test_copyright_gives_the_licence(self):
        """Machine-readable (DEP-5): the files' licence is Expat, whose stanza holds LICENSE's terms."""
        text = read(os.path.join(self.root, "usr/share/doc/symtext/copyright")).decode()
        header, files, licence = text.split("\n\n")
        self.assertTrue(header.startswith("Format: https://www.debian.org/doc/packaging-manuals/"
                                          "copyright-format/1.0/\n"))
        self.assertIn(f"Files: *\nCopyright: {copyright_notice()}\nLicense: Expat", files)
        lines = licence.splitlines()
        self.assertEqual(lines[0], "License: Expat")
        self.assertEqual("".join(line[1:].lstrip(".") + "\n" for line in lines[1:]), licence_terms())

    def test_manual_page_renders_with_its_version(self):
        page = os.path.join(self.root, "usr/share/man/man1/symtext.1.gz")
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
        proc = subprocess.run(["man", "-P", "cat", "-l", page], env=env,
                              capture_output=True, text=True, timeout=60)
        self.assertEqual((proc.returncode, proc.stderr), (0, ""))
        self.assertIn("symtext - dump a binary symbol file as readable text", proc.stdout)
        # LICENSE's notice, in a paragraph that groff fills and justifies.
        self.assertIn(f"Copyright {copyright_notice()}.", " ".join(proc.stdout.split()))
        date = time.strftime("%Y-%m-%d", time.gmtime(release_epoch()))
        self.assertRegex(proc.stdout.rstrip().splitlines()[-1], rf"^symtext {re.escape(VERSION)} +{date} ")

    def test_manual_page_has_no_fault(self):
        """Neither mandoc's checker nor groff's warnings find anything to say."""
        page = os.path.join(self.root, "usr/share/man/man1/symtext.1.gz")
        lint = subprocess.run(["mandoc", "-T", "lint", page], capture_output=True, text=True, timeout=60)
        self.assertEqual((lint.returncode, lint.stdout + lint.stderr), (0, ""))
        with gzip.open(page) as f:
            source = f.read()
        groff = subprocess.run(["groff", "-man", "-ww", "-z"], input=source, capture_output=True, timeout=60)
        self.assertEqual((groff.returncode, groff.stdout + groff.stderr), (0, b""))

    def test_lintian_reports_nothing(self):
        """Not even information or pedantic tags, but those the package overrides with its reasons."""
        proc = subprocess.run(["lintian", "--allow-root", "-I", "--pedantic", "--fail-on", "error,warning,info,pedantic",
                               self.deb], capture_output=True, text=True, timeout=300)
        self.assertEqual((proc.returncode, proc.stdout), (0, ""), proc.stderr)


class ArmDebianPackage(DebianPackage):
    ARCH = "arm64"
    EMULATOR = ["qemu-aarch64"]  # with Debian's arm64 C library, which the package depends on
    # bti c, and paciasp, which is a landing pad too (ARM BTI), as little-endian words.
    LANDING_PADS = [bytes.fromhex("5f2403d5"), bytes.fromhex("3f2303d5")]


class WindowsZip(PackageCase):
    @classmethod
    def setUpClass(cls):
        cls.zip = os.path.join(DIST, f"symtext-{VERSION}-win32.zip")
        cls.root = tempfile.mkdtemp(prefix="symtext-zip-")
        with zipfile.ZipFile(cls.zip) as z:
            cls.names = sorted(z.namelist())
            z.extractall(cls.root)
        cls.folder = os.path.join(cls.root, f"symtext-{VERSION}")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def test_one_folder_holds_everything(self):
        folder = f"symtext-{VERSION}/"
        self.assertEqual([n for n in self.names if not n.endswith("/")],
                         [folder + n for n in ["LICENSE.txt", "README.txt", "manual.txt", "symtext.exe"]])

    def test_texts_have_windows_line_ends(self):
        readme = read(os.path.join(self.folder, "README.txt"))
        self.assertEqual(readme, read(os.path.join(SOURCE, "README.md")).replace(b"\n", b"\r\n"))
        licence = read(os.path.join(self.folder, "LICENSE.txt"))
        self.assertEqual(licence, read(os.path.join(SOURCE, "LICENSE")).replace(b"\n", b"\r\n"))
        manual = read(os.path.join(self.folder, "manual.txt"))
        self.assertNotIn(b"\x08", manual)  # no overstruck letters
        self.assertNotIn(b"\x1b", manual)  # no terminal escapes
        self.assertEqual(manual.count(b"\n"), manual.count(b"\r\n"))
        self.assertEqual(manual.count(b"\r"), manual.count(b"\r\n"))
        self.assertIn(b"symtext - dump a binary symbol file as readable text\r\n", manual)
        self.assertRegex(manual.rstrip().splitlines()[-1], rb"^symtext " + re.escape(VERSION.encode()) + rb" ")

    def test_files_carry_the_release_date(self):
        """Zip times are local times without a zone: the release's, in UTC, on every machine."""
        with zipfile.ZipFile(self.zip) as z:
            self.assertEqual({i.date_time for i in z.infolist()}, {time.gmtime(release_epoch())[:6]})

    def test_program_is_32_bit_windows_and_hardened(self):
        exe = read(os.path.join(self.folder, "symtext.exe"))
        pe = struct.unpack_from("<I", exe, 0x3C)[0]
        self.assertEqual(exe[pe:pe + 4], b"PE\0\0")
        machine, sections, link_time = struct.unpack_from("<HHI", exe, pe + 4)
        self.assertEqual(machine, 0x14C)  # i386
        self.assertEqual(link_time, release_epoch())  # not the time of the build
        optional = pe + 24
        dll_characteristics = struct.unpack_from("<H", exe, optional + 70)[0]
        self.assertEqual(dll_characteristics & 0x140, 0x140)  # DYNAMIC_BASE (ASLR), NX_COMPAT (DEP)
        # ASLR moves only a program that keeps its relocations.
        table = optional + struct.unpack_from("<H", exe, pe + 20)[0]
        names = [exe[table + 40 * i:table + 40 * i + 8].rstrip(b"\0") for i in range(sections)]
        self.assertIn(b".reloc", names)

    def test_program_dumps_the_sample_under_wine(self):
        wine = os.path.join(SOURCE, "tools", "wine.sh")
        if subprocess.run([wine, "loader", "32"], stdout=subprocess.DEVNULL).returncode != 0:
            self.skipTest("wine cannot start 32-bit programs here, so the zip's symtext.exe is checked but not run")
        program = os.path.join(self.folder, "symtext.exe")
        env = dict(os.environ, WINEPREFIX=os.path.join(self.tempdir(), "prefix"))
        quiet = dict(env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(subprocess.run, [wine, "stop"], **quiet)
        subprocess.run([wine, "start", "32", program], timeout=900, check=True, **quiet)
        self.assertDumpsSample([wine, "run", "32", program], env=env)


def main():
    global DIST, SOURCE, VERSION
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--build")
    opts, rest = parser.parse_known_args()
    DIST, SOURCE = os.path.abspath(opts.dist), os.path.abspath(opts.source)
    VERSION = project_version(opts.build or os.path.join(SOURCE, "build-package"))
    unittest.main(argv=[sys.argv[0], "-v"] + rest)


if __name__ == "__main__":
    main()
