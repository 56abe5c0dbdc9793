#!/usr/bin/env python3
"""Runs commands in turn (so each sees the same load on a shared machine) and prints, for each,
the median wall time and the median CPU time (user + system of the process) over the runs, and
both as a ratio to the first command, the yardstick.

    bench/paired.py RUNS WARMUP 'name=command args' ...   (standard output and error discarded)
"""
import os
import shlex
import statistics
import sys
import time


def run(argv, devnull):
    start = time.perf_counter()
    pid = os.posix_spawnp(argv[0], argv, os.environ,
                          file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                        (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {shlex.join(argv)}")
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime


def main():
    runs, warmup = int(sys.argv[1]), int(sys.argv[2])
    commands = dict(a.split("=", 1) for a in sys.argv[3:])
    commands = {name: shlex.split(cmd) for name, cmd in commands.items()}
    devnull = os.open(os.devnull, os.O_WRONLY)
    times = {name: [] for name in commands}
    for i in range(warmup + runs):
        for name, argv in commands.items():
            t = run(argv, devnull)
            if i >= warmup:
                times[name].append(t)
    first = None
    for name, ts in times.items():
        wall = statistics.median(w for w, _ in ts)
        cpu = statistics.median(c for _, c in ts)
        first = first or (wall, cpu)
        print(f"{name:14s} wall {wall * 1000:8.2f} ms ({wall / first[0]:5.2f} x)   "
              f"cpu {cpu * 1000:8.2f} ms ({cpu / first[1]:5.2f} x)")


main()
