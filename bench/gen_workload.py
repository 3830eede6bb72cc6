#!/usr/bin/env python3
"""Generates batch-mode workloads for timing tallix as a whole process.

  gen_workload.py mixed N   N tokens: numbers, + - * /, SWAP, DUP, DROP
  gen_workload.py deep N    N results of "1 3 /" left on the stack
  gen_workload.py sci N     N tokens of SIN, LN, SQRT, ^, MOD, AND with numbers
"""
import random
import sys


def mixed(n, out):
    rnd = random.Random(1)
    depth, count, line = 0, 0, []
    while count < n:
        if depth < 2 or (depth < 50 and rnd.random() < 0.45):
            tok = rnd.choice(["%d" % rnd.randint(1, 999), "%.6f" % rnd.uniform(-1e3, 1e3),
                              "%dE%d" % (rnd.randint(1, 9), rnd.randint(-20, 20))])
            depth += 1
        else:
            tok = rnd.choice(["+", "-", "*", "/", "SWAP", "DUP", "DROP"])
            depth += {"+": -1, "-": -1, "*": -1, "/": -1, "SWAP": 0, "DUP": 1, "DROP": -1}[tok]
        line.append(tok)
        count += 1
        if len(line) == 16:
            out.write(" ".join(line) + "\n")
            line = []
    if line:
        out.write(" ".join(line) + "\n")


def deep(n, out):
    for _ in range(n):
        out.write("1 3 /\n")


def sci(n, out):
    rnd = random.Random(2)
    pattern = [
        lambda: "%.5f SIN" % rnd.uniform(-10, 10),
        lambda: "%.4f LN" % rnd.uniform(0.001, 1000),
        lambda: "%.3f SQRT" % rnd.uniform(0, 1e6),
        lambda: "%.3f %.3f ^" % (rnd.uniform(0.1, 10), rnd.uniform(-5, 5)),
        lambda: "%d %d MOD" % (rnd.randint(-10**6, 10**6), rnd.randint(1, 1000)),
        lambda: "%d %d AND" % (rnd.randint(0, 65535), rnd.randint(0, 65535)),
    ]
    count = 0
    while count < n:
        group = rnd.choice(pattern)() + " DROP"
        out.write(group + "\n")
        count += len(group.split())


if __name__ == "__main__":
    kind, n = sys.argv[1], int(sys.argv[2])
    {"mixed": mixed, "deep": deep, "sci": sci}[kind](n, sys.stdout)
