#!/usr/bin/env bash
# The benchmark guard, run by whoever changes what a big model's first frame
# costs, before they stop: the explorer's first frame and peak memory at
# 100 820 faces as ratios to Geomview's, measured in one run of
# bench/big-first-frame.sh (alternating, so the load touches both alike),
# against the ratios recorded in bench/guard-ratios.txt. It prints the
# figures and says which ratio grew by more than a tenth; --record writes
# the new ratios as the ones to keep. Figures only: nothing in ./test.sh
# depends on them.
#
#   bench/guard.sh [--record] [RUNS]      # RUNS defaults to 7
#
# Exit status 0 when neither ratio grew by more than a tenth (or with
# --record), 1 when one did.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
record=0
[ "${1:-}" = --record ] && { record=1; shift; }
runs=${1:-7}
recorded="$root/bench/guard-ratios.txt"

row=$("$root/bench/big-first-frame.sh" "$runs" 71 | tee /dev/stderr | awk '$1 == 100820')
frame=$(echo "$row" | awk '{ print $4 }')
memory=$(echo "$row" | awk '{ print $10 }')
[ -n "$frame" ] && [ -n "$memory" ] || { echo "guard.sh: no figures for 100 820 faces" >&2; exit 1; }

if [ "$record" = 1 ]; then
  printf 'first-frame %s\npeak-memory %s\n' "$frame" "$memory" >"$recorded"
  echo "guard.sh: recorded first frame $frame and peak memory $memory of Geomview's in bench/guard-ratios.txt"
  exit 0
fi
status=0
while read -r what kept; do
  now=$([ "$what" = first-frame ] && echo "$frame" || echo "$memory")
  verdict=$(awk -v now="$now" -v kept="$kept" 'BEGIN { print (now > 1.1 * kept) ? "grew by more than a tenth" : "kept" }')
  echo "guard.sh: $what $now of Geomview's (recorded $kept): $verdict"
  case "$verdict" in grew*) status=1 ;; esac
done <"$recorded"
exit $status
