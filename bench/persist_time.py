#!/usr/bin/env python3
"""Start-up and exit of the window with a saved stack of N entries.

Writes a settings file with N stack lines into a private configuration
folder and measures, under a private X server with a window manager (Xvfb
and openbox are started when DISPLAY is not set):
  start: process start until the window is mapped and viewable, with the
         whole saved stack loaded (bench/startup_poll.c);
  exit:  SIGTERM until the process has saved everything and ended;
and checks after every run that the file still holds all N entries.
Usage: bench/persist_time.py [path/to/tallix] [N] [runs]
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    tallix = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "tallix")
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    servers = []
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ)
        if "DISPLAY" not in env:
            if not (shutil.which("Xvfb") and shutil.which("openbox")):
                print("needs Xvfb and openbox (or a DISPLAY)")
                return 2
            display = ":%d" % (70 + os.getpid() % 20)
            servers.append(subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24"],
                                            stderr=subprocess.DEVNULL))
            time.sleep(1)
            env["DISPLAY"] = display
            servers.append(subprocess.Popen(["openbox"], env=env, stderr=subprocess.DEVNULL))
            time.sleep(1)
        poll = os.path.join(work, "poll")
        subprocess.check_call(["cc", "-O2", "-o", poll, os.path.join(HERE, "startup_poll.c"),
                               "-lX11"])
        cfg = os.path.join(work, "config")
        os.makedirs(os.path.join(cfg, "Quorin"))
        conf = os.path.join(cfg, "Quorin", "Tallix.conf")
        with open(conf, "w") as f:
            f.write("[CurrentVersion]\n")
            for i in range(n):
                f.write("Stack\\Line%d=%d.%d\n" % (i, i, i % 977))
        runtime = os.path.join(work, "run")
        os.makedirs(runtime, mode=0o700)
        env.update(XDG_CONFIG_HOME=cfg, XDG_RUNTIME_DIR=runtime)
        env.pop("QT_QPA_PLATFORM", None)
        starts, exits = [], []
        try:
            for _ in range(runs):
                out = subprocess.run([poll, "20000", tallix], env=env, capture_output=True,
                                     text=True, check=True).stdout.split()
                starts.append(float(out[0]) / 1000)
                p = subprocess.Popen([tallix], env=env, stderr=subprocess.DEVNULL)
                time.sleep(2)
                t0 = time.monotonic()
                p.send_signal(signal.SIGTERM)
                p.wait()
                exits.append(time.monotonic() - t0)
                with open(conf, "rb") as f:
                    saved = f.read().count(b"Stack\\Line")
                if saved != n:
                    print("only %d of %d entries saved" % (saved, n))
                    return 1
        finally:
            for s in reversed(servers):
                s.terminate()
                s.wait()
    med = lambda v: sorted(v)[len(v) // 2] * 1000
    print("%d entries: start %.0f ms (worst %.0f), exit %.0f ms (medians of %d runs)"
          % (n, med(starts), max(starts) * 1000, med(exits), runs))
    return 0


if __name__ == "__main__":
    sys.exit(main())
