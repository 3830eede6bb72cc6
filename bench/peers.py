#!/usr/bin/env python3
"""Batch mode against dc and bc on the same work, timed in one run.

  arithmetic   1M tokens in lines of "a + b * c / SQRT d -", and dc the same
               (SQRT v) at 20 decimal places
  mixed        1M tokens of bench/gen_workload.py's mixed workload; dc gets
               the same numbers and operations (SWAP r, DUP d, DROP sx)
  scientific   1M tokens of its sci workload; bc -l gets each group as one
               assignment (SIN s(), LN l(), SQRT sqrt(), x^y e(y*l(x)),
               MOD %, AND +, which bc lacks, at the same cost as a sum)
  push+add     1M numbers, then 999,999 additions, on one stack
  extremes     100,000 values near 1E4900, each entered and added; and the
               same count of ordinary values (tallix only)

Each program runs RUNS times (3 by default), alternating with the others;
the table gives the median wall time, the peak memory, tokens per second
and how many times faster tallix is.
Usage: bench/peers.py [path/to/tallix]
"""
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from decimal import Decimal

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import gen_workload  # noqa: E402


def plain(tok):
    """A tallix number token as dc writes it: no exponent, _ for minus."""
    d = Decimal(tok)
    s = format(d, "f")
    return "_" + s[1:] if s.startswith("-") else s


def arithmetic(n, work):
    rnd = random.Random(3)
    path = os.path.join(work, "sqrt.tlx")
    dc = os.path.join(work, "sqrt.dc")
    with open(path, "w") as f, open(dc, "w") as g:
        g.write("20 k\n1\n")
        f.write("1\n")
        for _ in range((n - 1) // 9):
            a, b, c, d = (2 + rnd.random(), 1 + rnd.random() / 2, 2.5 + rnd.random() / 2,
                          0.3 + rnd.random() / 10)
            line = "%.3f + %.3f * %.3f / SQRT %.3f -\n" % (a, b, c, d)
            f.write(line)
            g.write(line.replace("SQRT", "v"))
        g.write("p\n")
    return path, dc


def mixed(n, work):
    path = os.path.join(work, "arith.tlx")
    with open(path, "w") as f:
        gen_workload.mixed(n, f)
    ops = {"+": "+", "-": "-", "*": "*", "/": "/", "SWAP": "r", "DUP": "d", "DROP": "sx"}
    dc = os.path.join(work, "arith.dc")
    with open(path) as src, open(dc, "w") as out:
        out.write("20k\n")
        for line in src:
            out.write(" ".join(ops.get(t) or plain(t) for t in line.split()) + "\n")
        out.write("p\n")
    return path, dc


def scientific(n, work):
    path = os.path.join(work, "sci.tlx")
    with open(path, "w") as f:
        gen_workload.sci(n, f)
    bc = os.path.join(work, "sci.bc")
    with open(path) as src, open(bc, "w") as out:
        for line in src:
            t = line.split()[:-1]  # the group without its DROP
            op = t[-1]
            if op == "SIN":
                e = "s(%s)" % t[0]
            elif op == "LN":
                e = "l(%s)" % t[0]
            elif op == "SQRT":
                e = "sqrt(%s)" % t[0]
            elif op == "^":
                e = "e(%s*l(%s))" % (t[1], t[0])
            elif op == "MOD":
                e = "%s%%%s" % (t[0], t[1])
            else:
                e = "%s+%s" % (t[0], t[1])
            out.write("x=" + e + "\n")
        out.write("x\n")
    tokens = sum(len(l.split()) for l in open(path))
    return path, bc, tokens


def push_add(n, work):
    path = os.path.join(work, "pushadd.tlx")
    dc = os.path.join(work, "pushadd.dc")
    with open(path, "w") as f, open(dc, "w") as g:
        for i in range(n):
            f.write("%d\n" % (i % 1000 + 1))
            g.write("%d\n" % (i % 1000 + 1))
        f.write(" ".join(["+"] * (n - 1)) + "\n")
        g.write(" ".join(["+"] * (n - 1)) + "\np\n")
    return path, dc


def extremes(n, work):
    rnd = random.Random(3)
    big = os.path.join(work, "big.tlx")
    small = os.path.join(work, "small.tlx")
    with open(big, "w") as f, open(small, "w") as g:
        for i in range(n):
            f.write("%.17fE4900%s\n" % (rnd.uniform(1, 9), " +" if i else ""))
            g.write("%.17fE10%s\n" % (rnd.uniform(1, 9), " +" if i else ""))
    return big, small


def measure(cmd, stdin_path):
    # Peak memory of this program alone: /usr/bin/time reports it per run.
    out = subprocess.run(["/usr/bin/time", "-f", "%e %M"] + cmd, stdin=open(stdin_path),
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True).stderr
    secs, kb = out.strip().splitlines()[-1].split()
    return float(secs), int(kb) / 1024


def main():
    tallix = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "tallix")
    runs = int(os.environ.get("RUNS", "3"))
    for tool in ("dc", "bc"):
        if not shutil.which(tool):
            print("needs %s (Debian: %s)" % (tool, tool))
            return 2
    with tempfile.TemporaryDirectory() as work:
        sq, sq_dc = arithmetic(1000000, work)
        arith, arith_dc = mixed(1000000, work)
        sci, sci_bc, sci_tokens = scientific(1000000, work)
        pa, pa_dc = push_add(1000000, work)
        big, small = extremes(100000, work)
        t = [tallix, "--batch"]
        rows = [
            ("1M arithmetic tokens", 1000000, (t, sq), ("dc", ["dc"], sq_dc)),
            ("1M mixed tokens", 1000000, (t, arith), ("dc", ["dc"], arith_dc)),
            ("1M scientific tokens", sci_tokens, (t, sci), ("bc -l", ["bc", "-l"], sci_bc)),
            ("push 1M, then 999,999 +", 1999999, (t, pa), ("dc", ["dc"], pa_dc)),
            ("100,000 values near 1E4900", 199999, (t, big), None),
            ("100,000 ordinary values", 199999, (t, small), None),
        ]
        print("%-28s %9s %8s %12s   %-6s %9s %8s %8s" %
              ("workload", "tallix s", "MB", "tokens/s", "peer", "peer s", "MB", "ratio"))
        for name, tokens, (cmd, path), peer in rows:
            mine, theirs = [], []
            for _ in range(runs):
                mine.append(measure(cmd, path))
                if peer:
                    theirs.append(measure(peer[1], peer[2]))
            ts = statistics.median(x[0] for x in mine)
            tm = max(x[1] for x in mine)
            line = "%-28s %9.2f %8.1f %12.0f" % (name, ts, tm, tokens / ts if ts else 0)
            if peer:
                ps = statistics.median(x[0] for x in theirs)
                pm = max(x[1] for x in theirs)
                line += "   %-6s %9.2f %8.1f %7.1fx" % (peer[0], ps, pm, ps / ts if ts else 0)
            print(line, flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
