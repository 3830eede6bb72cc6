#!/usr/bin/env python3
"""Start-up and exit of the window with a saved stack of N entries.

Writes a settings file with N stack lines into a private configuration
folder, starts tallix on Qt's offscreen platform, and measures
  start: process start until the saved stack has been taken from the file
         (the load is complete and the window is about to show);
  exit:  SIGTERM until the process has saved everything and ended.
Usage: bench/persist_time.py [path/to/tallix] [N] [runs]
"""
import os
import signal
import subprocess
import sys
import tempfile
import time


def main():
    tallix = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "build", "tallix")
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    starts, exits = [], []
    with tempfile.TemporaryDirectory() as cfg:
        os.makedirs(os.path.join(cfg, "Quorin"))
        conf = os.path.join(cfg, "Quorin", "Tallix.conf")
        with open(conf, "w") as f:
            f.write("[CurrentVersion]\n")
            for i in range(n):
                f.write("Stack\\Line%d=%d.%d\n" % (i, i, i % 977))
        env = dict(os.environ, XDG_CONFIG_HOME=cfg, QT_QPA_PLATFORM="offscreen",
                   XDG_RUNTIME_DIR=cfg)
        for _ in range(runs):
            t0 = time.monotonic()
            p = subprocess.Popen([tallix], env=env, stderr=subprocess.DEVNULL)
            while True:
                with open(conf, "rb") as f:
                    if b"Line0=" not in f.read():
                        break
                time.sleep(0.002)
            starts.append(time.monotonic() - t0)
            time.sleep(0.3)
            t0 = time.monotonic()
            p.send_signal(signal.SIGTERM)
            p.wait()
            exits.append(time.monotonic() - t0)
            with open(conf, "rb") as f:
                saved = f.read().count(b"Stack\\Line")
            if saved != n:
                print("only %d of %d entries saved" % (saved, n))
                return 1
    med = lambda v: sorted(v)[len(v) // 2] * 1000
    print("%d entries: start %.0f ms, exit %.0f ms (medians of %d runs)"
          % (n, med(starts), med(exits), runs))
    return 0


if __name__ == "__main__":
    sys.exit(main())
