#!/usr/bin/env bash
# Times batch mode as a whole process on generated workloads.
# Usage: bench/batch_time.sh [path/to/tallix]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tallix=${1:-$here/../build/tallix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # name, tokens, file
  local name=$1 tokens=$2 file=$3
  /usr/bin/time -f "%e %M" -o "$work/t" "$tallix" --batch < "$file" > /dev/null 2>&1 || true
  read -r secs kb < <(tail -n 1 "$work/t")
  awk -v n="$name" -v t="$tokens" -v s="$secs" -v k="$kb" \
    'BEGIN { printf "%-8s %9d tokens  %6.2f s  %10.0f tokens/s  %6.1f MB max RSS\n", n, t, s, (s > 0 ? t / s : 0), k / 1024 }'
}

python3 "$here/gen_workload.py" mixed 1000000 > "$work/mixed"
run mixed 1000000 "$work/mixed"
python3 "$here/gen_workload.py" deep 1000000 > "$work/deep"
run deep 3000000 "$work/deep"
python3 "$here/gen_workload.py" sci 1000000 > "$work/sci"
run sci "$(wc -w < "$work/sci")" "$work/sci"
