#!/usr/bin/env python3
"""Benchmark: symtext against xxd and against the copy floor, and its peak memory.

Usage: tools/bench.py [--runs N] [--mix standard|dense|both] [--symtext EXE] [--workdir DIR]

Builds symtext (Release) unless --symtext names a binary, and writes with
tools/gen_bench.py a deterministic symbol file for each mix:
  standard  64 MiB: every kind, names of 3 to 40 characters, opaque bodies of
            tens to a few hundred bytes, half text and half binary
  dense     59 MiB (62 MB): 1.5 M small items, 60 % opaque with bodies of 0 to
            60 bytes, names of 0 to 40 characters, lists of 0 to 5 members
Then for each mix it runs N times (9 by default), alternating the commands,
  symtext FILE          (dump into OutPut.txt)
  xxd FILE > xxd.txt    (a plain hex dump of the same file)
  cat DUMPCOPY > copy   (the floor: copying a file as large as symtext's dump)
and reads the wall time and the user and system CPU time of each process. The
ratios symtext/xxd are taken run by run, each symtext run against the xxd run
beside it, and their medians printed. Last it reads symtext's peak resident
memory on the file and on one ten times larger (the same items ten times over).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MIXES = {"standard": 64, "dense": 59}


def measure(argv, cwd, stdout):
    """Runs argv; returns its wall seconds and its user and system CPU seconds."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, stdout=stdout)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit(f"bench: {argv[0]} exited with status {proc.returncode}")
    return {"wall": wall, "user": usage.ru_utime, "sys": usage.ru_stime,
            "cpu": usage.ru_utime + usage.ru_stime}


def peak_kib(symtext, path, cwd):
    """Peak resident memory of symtext on path, read with GNU time. A child of
    this script would report the script's own peak: it outlives the exec."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M", symtext, path], cwd=cwd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def count_items(path):
    """Counts the items the way the dump walks them: a length below 4 still
    takes the 4 bytes of its header."""
    with open(path, "rb") as f:
        data = f.read()
    pos = count = 0
    while pos + 4 <= len(data):
        length = int.from_bytes(data[pos:pos + 2], "big")
        pos += length if length >= 4 else 4
        count += 1
    return count


def build_symtext(work):
    build = os.path.join(work, "build")
    subprocess.run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                    "-DSYMTEXT_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "symtext", "-j", str(os.cpu_count())],
                   check=True, stdout=subprocess.DEVNULL)
    return os.path.join(build, "symtext")


def make_inputs(work, mix):
    mebibytes = MIXES[mix]
    sym = os.path.join(work, f"{mix}{mebibytes}.sym")
    if not os.path.exists(sym):
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "gen_bench.py"), "--mix", mix,
                        str(mebibytes), sym], check=True)
    big = os.path.join(work, f"{mix}{mebibytes * 10}.sym")
    if not os.path.exists(big):
        with open(big, "wb") as out, open(sym, "rb") as one:
            data = one.read()
            for _ in range(10):
                out.write(data)
    return sym, big


def bench_mix(symtext, work, mix, runs):
    sym, big = make_inputs(work, mix)
    items = count_items(sym)

    # Each command writes a new file: the one of the previous run is removed
    # first, outside the timing, so that no run pays for freeing an old one.
    def fresh(name):
        path = os.path.join(work, name)
        if os.path.exists(path):
            os.remove(path)
        return path

    fresh("OutPut.txt")
    measure([symtext, sym], work, subprocess.DEVNULL)  # warms the page cache
    dump = os.path.join(work, "OutPut.txt")
    floor_src = os.path.join(work, "floor-source.txt")
    shutil.copyfile(dump, floor_src)
    dump_size = os.path.getsize(dump)

    results = {"symtext": [], "xxd": [], "floor": []}
    for _ in range(runs):
        fresh("OutPut.txt")
        results["symtext"].append(measure([symtext, sym], work, subprocess.DEVNULL))
        with open(fresh("xxd.txt"), "wb") as out:
            results["xxd"].append(measure(["xxd", sym], work, out))
        with open(fresh("floor-copy.txt"), "wb") as out:
            results["floor"].append(measure(["cat", floor_src], work, out))

    def med(name, field):
        return statistics.median(r[field] for r in results[name])

    def paired(field, against):
        return statistics.median(s[field] / x[field] for s, x in zip(results["symtext"], results[against]))

    size_mib = os.path.getsize(sym) / 2**20
    print(f"\n{mix}: {size_mib:.1f} MiB in ({os.path.getsize(sym) / 1e6:.1f} MB), {items:,} items, "
          f"{dump_size / 2**20:.1f} MiB of dump; {runs} runs each, medians")
    print(f"  {'':8} {'wall s':>7} {'user s':>7} {'sys s':>7} {'cpu s':>7}")
    for name in results:
        print(f"  {name:8} {med(name, 'wall'):7.3f} {med(name, 'user'):7.3f} {med(name, 'sys'):7.3f} "
              f"{med(name, 'cpu'):7.3f}")
    print(f"  symtext/xxd, median of paired ratios: cpu {paired('cpu', 'xxd'):.3f}, "
          f"wall {paired('wall', 'xxd'):.3f}")
    print(f"  symtext/floor, median of paired ratios: wall {paired('wall', 'floor'):.2f}")
    print(f"  symtext: {items / med('symtext', 'wall') / 1e6:.2f} M items/s, "
          f"{size_mib / med('symtext', 'wall'):.0f} MiB/s of input")
    for path in (sym, big):
        fresh("OutPut.txt")
        peak = peak_kib(symtext, path, work)
        print(f"  peak memory on {os.path.getsize(path) / 2**20:.0f} MiB: {peak / 1024:.2f} MiB")
    for name in ("OutPut.txt", "xxd.txt", "floor-copy.txt", "floor-source.txt"):
        os.remove(os.path.join(work, name))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--mix", choices=["standard", "dense", "both"], default="both")
    parser.add_argument("--symtext", help="a symtext binary to measure instead of a fresh build")
    parser.add_argument("--workdir", default=os.path.join(ROOT, "build-bench"))
    opts = parser.parse_args()
    work = opts.workdir
    os.makedirs(work, exist_ok=True)
    symtext = os.path.abspath(opts.symtext) if opts.symtext else build_symtext(work)
    for mix in (["standard", "dense"] if opts.mix == "both" else [opts.mix]):
        bench_mix(symtext, work, mix, opts.runs)


if __name__ == "__main__":
    main()
