#!/usr/bin/env bash
# Two builds of the explorer side by side, taking turns RUNS times (default
# 7): the first frame of the geodesic sphere of 100 820 faces in a window
# under a private Xvfb (wall time, CPU time and peak memory), and 40 PNG
# pictures of the sphere of 9 680 faces turning (--frames 40) and morphing
# (--animate morph), headless (wall and CPU time). Prints medians and the
# NEW-to-OLD ratios. For checking that a change costs nothing:
#
#   bench/two-builds.sh OLD/duals-explorer NEW/duals-explorer [RUNS]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ $# -ge 2 ] || { echo "usage: bench/two-builds.sh OLD NEW [RUNS]" >&2; exit 2; }
old=$(realpath "$1") new=$(realpath "$2") runs=${3:-7}
# shellcheck source=bench/common.sh
source "$root/bench/common.sh"
spheres big-frame-probe -- 71 22
big=${files[0]} small=${files[1]}

median() {  # median of column $2 for rows labelled $1 in file $3
  awk -v who="$1" -v col="$2" '$1 == who { print $col }' "$3" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
row() {  # what, unit, results file, columns...
  local what=$1 unit=$2 r=$3; shift 3
  for col in "$@"; do
    local o n
    o=$(median old "$col" "$r") n=$(median new "$col" "$r")
    awk -v w="$what" -v u="$unit" -v o="$o" -v n="$n" 'BEGIN { printf "%-30s %10.1f %10.1f %6.3f  %s\n", w, o, n, n / o, u }'
    unit=""; what=""
  done
}

echo "two-builds.sh: $runs runs each; $machine; load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-30s %10s %10s %6s\n' "" old new ratio
window=(--blank 0,0,0 --blank 230,230,204 --settle 500)
"$root/scripts/with-xvfb.sh" "$build/bench/big-frame-probe" --runs "$runs" \
  -- old "${window[@]}" "$old" "$big" -- new "${window[@]}" "$new" "$big" >"$work/first"
row "first frame, 100 820 faces" "ms, CPU ms, KiB" "$work/first" 2 4 3

for animation in turn morph; do
  : >"$work/$animation"
  for ((i = 0; i < runs; i++)); do
    for who in old new; do
      bin=$old; [ "$who" = new ] && bin=$new
      rm -rf "$work/out" && mkdir "$work/out"
      /usr/bin/time -f "$who %e %U" -a -o "$work/$animation" \
        "$bin" "$small" --frames 40 --animate "$animation" --png "$work/out/p.png"
    done
  done
  row "40 frames --animate $animation" "s, CPU s" "$work/$animation" 2 3
done
