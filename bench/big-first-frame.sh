#!/usr/bin/env bash
# Times duals-explorer and Geomview from the start of their process to
# their first drawn frame, each opening the same geodesic sphere (OFF file,
# generated into a temporary folder), under a private Xvfb, with their peak
# memory and the CPU time they used. The two take turns RUNS times per size
# (default 10, after one unmeasured run of each); the script prints the
# medians and the explorer-to-Geomview ratios.
#
#   bench/big-first-frame.sh [RUNS] [FREQUENCY...]
#   HOLD_MS=2500 bench/big-first-frame.sh ...   # each viewer kept that long after its first frame
#
# The peak memory counts until a viewer is stopped, 200 ms after its first
# frame unless HOLD_MS says otherwise: long enough for what follows the
# first frame (the explorer's smooth picture: 1.4 s at a million faces)
# to count too.
#
# Frequencies default to 7 22 71 224: 980, 9680, 100820 and 1003520 faces.
# Both windows are 1024x700; see bench/big_frame_probe.cpp for how a frame is
# told from the blank window before it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
shift || true
freqs=("$@")
[ ${#freqs[@]} -gt 0 ] || freqs=(7 22 71 224)
. "$root/bench/common.sh"
bench_build duals-explorer geodesic-off big-frame-probe
bench_work
cd "$work"

# What each window shows before its model: the screen's black, and for
# Geomview its toolkit's grey and then its cleared background; for the
# explorer its clear colour, which the centre of a small model may show
# alone (then the settled picture counts).
explorer=(--blank 0,0,0 --blank 230,230,204 --settle 500 "$build/duals-explorer")
geomview=(--blank 0,0,0 --blank 196,196,196 --blank 85,85,85
          geomview -nopanels -wpos 1024,700@100,50)

median() {  # median of column $2 for rows labelled $1 in file $3
  awk -v who="$1" -v col="$2" '$1 == who { print $col }' "$3" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "big-first-frame.sh: $runs runs each; $machine; load average $(cut -d' ' -f1-3 /proc/loadavg)"
# Columns: first frame (ms), CPU used (ms), peak memory (MiB), each as
# explorer, Geomview and their ratio.
printf '%9s %8s %8s %5s %8s %8s %5s %8s %8s %5s\n' faces "exp ms" "gv ms" ratio \
  "exp cpu" "gv cpu" ratio "exp MiB" "gv MiB" ratio
for k in "${freqs[@]}"; do
  off="$work/geodesic-$k.off"
  "$build/bench/geodesic-off" "$k" "$off"
  "$root/scripts/with-xvfb.sh" "$build/bench/big-frame-probe" --runs "$runs" --hold "${HOLD_MS:-200}" \
    -- explorer "${explorer[@]}" "$off" -- geomview "${geomview[@]}" "$off" >"$work/results-$k"
  r="$work/results-$k"
  et=$(median explorer 2 "$r") gt=$(median geomview 2 "$r") em=$(median explorer 3 "$r")
  gm=$(median geomview 3 "$r") ec=$(median explorer 4 "$r") gc=$(median geomview 4 "$r")
  awk -v f=$((20 * k * k)) -v et="$et" -v gt="$gt" -v ec="$ec" -v gc="$gc" -v em="$em" -v gm="$gm" 'BEGIN {
    printf "%9d %8.1f %8.1f %5.2f %8.1f %8.1f %5.2f %8.1f %8.1f %5.2f\n", f, et, gt, et / gt,
      ec, gc, ec / gc, em / 1024, gm / 1024, em / gm }'
  rm -f "$off"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
