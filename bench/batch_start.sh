#!/bin/sh
# One-shot start of batch mode against dc, the classic command-line RPN
# calculator: `tallix -e '1 2 +'` and `dc -e '1 2 + p'`, measured in the
# same session. Prints the median wall time of each and their ratio.
#
# usage: bench/batch_start.sh [path/to/tallix]   (RUNS=500 by default)
# Uses hyperfine where installed (Debian: hyperfine) unless LOOP=1; otherwise
# a shell loop that runs the two alternately, where each time also holds the
# start of one `date`, so its ratio understates the difference.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tallix=${1:-$here/../build/tallix}
runs=${RUNS:-500}
command -v dc >/dev/null 2>&1 || { echo "needs dc (Debian: dc)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Both must compute the same thing before their times mean anything.
[ "$("$tallix" -e '1 2 +')" = 3 ] || { echo "$tallix -e '1 2 +' does not print 3" >&2; exit 1; }
[ "$(dc -e '1 2 + p')" = 3 ] || { echo "dc -e '1 2 + p' does not print 3" >&2; exit 1; }

if [ "${LOOP:-0}" != 1 ] && command -v hyperfine >/dev/null 2>&1; then
    how="hyperfine, $runs runs each"
    hyperfine -N -w 50 -r "$runs" --export-json "$work/h.json" \
        "$tallix -e '1 2 +'" "dc -e '1 2 + p'" >/dev/null 2>&1
    python3 - "$work/h.json" >"$work/medians" <<'PY'
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(r["median"] * 1000)
PY
    tallix_ms=$(sed -n 1p "$work/medians")
    dc_ms=$(sed -n 2p "$work/medians")
else
    how="shell loop, $runs runs each, alternating"
    i=0
    while [ "$i" -lt "$runs" ]; do
        t0=$(date +%s%N); "$tallix" -e '1 2 +' >/dev/null; t1=$(date +%s%N)
        dc -e '1 2 + p' >/dev/null; t2=$(date +%s%N)
        echo $(((t1 - t0) / 1000)) >>"$work/tallix"
        echo $(((t2 - t1) / 1000)) >>"$work/dc"
        i=$((i + 1))
    done
    median() { sort -n "$1" | awk '{v[NR]=$1} END {m=int((NR+1)/2); printf "%.3f\n", v[m]/1000}'; }
    tallix_ms=$(median "$work/tallix")
    dc_ms=$(median "$work/dc")
fi

echo "one-shot batch start ($how)"
printf '%-28s %10s\n' command "median ms"
printf '%-28s %10.2f\n' "tallix -e '1 2 +'" "$tallix_ms" "dc -e '1 2 + p'" "$dc_ms"
awk -v t="$tallix_ms" -v d="$dc_ms" 'BEGIN { printf "ratio tallix / dc: %.2f\n", t / d }'
