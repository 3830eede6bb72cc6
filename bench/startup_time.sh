#!/bin/sh
# Start-up time of the calculator window against other desktop calculators:
# process start to window mapped, polled every millisecond under a private
# X server with a small window manager. Prints the median time and resident
# memory of each program over RUNS runs, started alternately.
#
# The yardstick is qt_probe (bench/probe/qt_probe.cpp, built beside the
# benchmarks): a bare Qt window with a menu bar and a label, the least any
# window of the toolkit costs. The last lines give each tallix's time as a
# multiple of the probe's, from medians of the same interleaved runs.
#
# usage: bench/startup_time.sh [path/to/tallix ...]   (RUNS=15 by default)
# Several builds of tallix (say, before and after a change) are timed in the
# same session, as tallix-1, tallix-2...; the window program beside the first
# one is also timed on its own, which shows what the hand-over from `tallix`
# costs. Needs: Xvfb, openbox, a C compiler with the X11 headers; compares
# with xcalc, galculator and speedcrunch where they are installed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- "$here/../build/tallix"
tallix=$1
entries="tallix|$1"
if [ $# -gt 1 ]; then
    entries="" n=0
    for t in "$@"; do
        n=$((n + 1))
        echo "tallix-$n: $t"
        entries="$entries tallix-$n|$t"
    done
fi
runs=${RUNS:-15}
work=$(mktemp -d)
trap 'kill $wm $xs 2>/dev/null || true; rm -rf "$work"' EXIT

cc -O2 -o "$work/poll" "$here/startup_poll.c" -lX11

display=:$((90 + $$ % 9))
Xvfb "$display" -noreset -screen 0 1024x768x24 >/dev/null 2>&1 &
xs=$!
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"

# name|command
probe=${PROBE:-$(dirname "$tallix")/bench/qt_probe}
[ -x "$probe" ] || { echo "no $probe: build the target tallix_qt_probe" >&2; exit 1; }
set -- $entries "qt-probe|$probe" "tallix-with-GL|env QT_XCB_GL_INTEGRATION=xcb_glx $tallix"
window=$(dirname "$tallix")/tallix-window
[ -x "$window" ] && set -- "$@" "tallix-window|$window"
for p in xcalc galculator speedcrunch; do
    command -v $p >/dev/null 2>&1 && set -- "$@" "$p|$p"
done

# One untimed start each fills the file caches and writes first-run files.
for entry in "$@"; do
    "$work/poll" 10000 ${entry#*|} >/dev/null || true
    sleep 0.3
done
# Each round starts with the next program: the first start after the pause
# is slower (caches and clocks go cold), and no program should always pay
# for that.
for i in $(seq "$runs"); do
    for entry in "$@"; do
        name=${entry%%|*}
        "$work/poll" 10000 ${entry#*|} >>"$work/$name.txt" || true
        sleep 0.3
    done
    first=$1
    shift
    set -- "$@" "$first"
done
# Back to the order of the list for the table.
for i in $(seq $(( ($# - runs % $#) % $# ))); do
    first=$1
    shift
    set -- "$@" "$first"
done

# Each column's median on its own; CPU is the program's own time until its
# window is mapped, steadier than the wall time when the machine is busy.
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
printf '%-16s %10s %10s %10s\n' program "median ms" "CPU ms" "RSS MiB"
for entry in "$@"; do
    name=${entry%%|*}
    t=$(cut -d' ' -f1 "$work/$name.txt" | median)
    r=$(cut -d' ' -f2 "$work/$name.txt" | median)
    c=$(cut -d' ' -f3 "$work/$name.txt" | median)
    awk -v n="$name" -v t="$t" -v c="$c" -v r="$r" \
        'BEGIN {printf "%-16s %10.1f %10.1f %10.1f\n", n, t, c, r/1024}'
    echo "$name $t $c" >>"$work/medians.txt"
done
# Each tallix against the probe: wall time and CPU time.
awk '$1 == "qt-probe" {pt = $2; pc = $3}
     {name[NR] = $1; t[NR] = $2; c[NR] = $3}
     END {
         for (i = 1; i <= NR; i++)
             if (name[i] ~ /^tallix(-[0-9]+)?$/)
                 printf "%s/probe: %.2f (CPU %.2f)\n", name[i], t[i] / pt, c[i] / pc
     }' "$work/medians.txt"
