#!/usr/bin/env bash
# Measures, under a private Xvfb, how long platonic-duals takes from the
# start of its process (answers already on its standard input) to its first
# drawn frame, and its peak memory, side by side with the floor: a GLUT
# program that opens the same window and draws nothing. Runs the two in
# turn RUNS times (default 20, after one unmeasured run of each) and prints
# the medians and the program-to-floor ratios.
#
#   bench/first-frame.sh [RUNS] [ANSWERS]      (ANSWERS default: "30 45 2")
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-20}
answers=${2:-30 45 2}
. "$root/bench/common.sh"
bench_build platonic-duals floor first-frame-probe
bench_work
mkdir "$work/data"
cp "$root"/data/* "$work/data/"
printf '%s\n' "$answers" >"$work/answers"

"$root/scripts/with-xvfb.sh" "$build/bench/first-frame-probe" --dir "$work/data" \
  --input "$work/answers" --runs "$runs" "$build/bench/floor" "$build/platonic-duals" \
  >"$work/results"

if awk '$4 != 0 { bad = 1 } END { exit !bad }' "$work/results"; then
  echo "first-frame.sh: a run did not end with status 0 when its window was closed:" >&2
  cat "$work/results" >&2
  exit 1
fi

median() {  # median of column $2 for rows named $1
  awk -v who="$1" -v col="$2" '$1 == who { print $col }' "$work/results" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ft=$(median floor 2) pt=$(median platonic-duals 2)
fm=$(median floor 3) pm=$(median platonic-duals 3)
echo "first-frame.sh: $runs runs each, answers \"$answers\"; $machine"
printf '%-10s %22s %22s\n' "" "first frame (ms)" "peak memory (KiB)"
printf '%-10s %22.1f %22.0f\n' "floor" "$ft" "$fm"
printf '%-10s %22.1f %22.0f\n' "program" "$pt" "$pm"
awk -v pt="$pt" -v ft="$ft" -v pm="$pm" -v fm="$fm" \
  'BEGIN { printf "%-10s %22.2f %22.2f\n", "ratio", pt / ft, pm / fm }'
