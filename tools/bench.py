#!/usr/bin/env python3
"""Benchmark: symtext against xxd and against the copy floor, and its peak memory.

Usage: tools/bench.py [--runs N] [--megabytes M] [--workdir DIR]

Builds symtext (Release), writes a deterministic symbol file of M MiB (64 by
default) with tools/gen_bench.py, then in one run, alternating the commands,
times N runs each (5 by default) of
  symtext FILE          (dump into OutPut.txt)
  xxd FILE > xxd.txt    (a plain hex dump of the same file)
  cat DUMPCOPY > copy   (the floor: copying a file as large as symtext's dump)
and prints the medians and the ratios symtext/xxd and symtext/floor. Then it
reads symtext's peak resident memory with GNU time on that file and on one ten
times larger (the same items ten times over).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def timed(argv, cwd, stdout=None):
    start = time.perf_counter()
    subprocess.run(argv, cwd=cwd, stdout=stdout, check=True)
    return time.perf_counter() - start


def peak_kib(symtext, path, cwd):
    result = subprocess.run(["/usr/bin/time", "-f", "%M", symtext, path], cwd=cwd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--megabytes", type=int, default=64)
    parser.add_argument("--workdir", default=os.path.join(ROOT, "build-bench"))
    opts = parser.parse_args()
    work = opts.workdir
    os.makedirs(work, exist_ok=True)
    build = os.path.join(work, "build")
    subprocess.run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                    "-DSYMTEXT_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "symtext", "-j", str(os.cpu_count())],
                   check=True, stdout=subprocess.DEVNULL)
    symtext = os.path.join(build, "symtext")

    sym = os.path.join(work, f"bench{opts.megabytes}.sym")
    if not os.path.exists(sym):
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "gen_bench.py"),
                        str(opts.megabytes), sym], check=True)
    big = os.path.join(work, f"bench{opts.megabytes * 10}.sym")
    if not os.path.exists(big):
        with open(big, "wb") as out, open(sym, "rb") as one:
            data = one.read()
            for _ in range(10):
                out.write(data)

    subprocess.run([symtext, sym], cwd=work, stdout=subprocess.DEVNULL, check=True)
    dump = os.path.join(work, "OutPut.txt")
    floor_src = os.path.join(work, "floor-source.txt")
    shutil.copyfile(dump, floor_src)

    # Each command writes a new file: the one of the previous run is removed
    # first, outside the timing, so that no run pays for freeing an old one.
    def fresh(name):
        path = os.path.join(work, name)
        if os.path.exists(path):
            os.remove(path)
        return path

    times = {"symtext": [], "xxd": [], "floor": []}
    for _ in range(opts.runs):
        fresh("OutPut.txt")
        times["symtext"].append(timed([symtext, sym], work, subprocess.DEVNULL))
        with open(fresh("xxd.txt"), "wb") as out:
            times["xxd"].append(timed(["xxd", sym], work, out))
        with open(fresh("floor-copy.txt"), "wb") as out:
            times["floor"].append(timed(["cat", floor_src], work, out))
    med = {name: statistics.median(values) for name, values in times.items()}

    print(f"input {os.path.getsize(sym) / 2**20:.1f} MiB, dump {os.path.getsize(dump) / 2**20:.1f} MiB, "
          f"{opts.runs} runs each, medians:")
    for name in times:
        print(f"  {name:8} {med[name]:.3f} s   (runs: {', '.join(f'{t:.3f}' for t in times[name])})")
    print(f"  symtext/xxd   {med['symtext'] / med['xxd']:.3f}")
    print(f"  symtext/floor {med['symtext'] / med['floor']:.3f}")
    print(f"  symtext throughput {os.path.getsize(sym) / 2**20 / med['symtext']:.0f} MiB/s of input")
    for path in (sym, big):
        print(f"  peak memory on {os.path.getsize(path) / 2**20:.0f} MiB: "
              f"{peak_kib(symtext, path, work) / 1024:.2f} MiB")
    for name in ("OutPut.txt", "xxd.txt", "floor-copy.txt", "floor-source.txt"):
        os.remove(os.path.join(work, name))


if __name__ == "__main__":
    main()
