#!/usr/bin/env bash
# Times the explorer's SVG of a geodesic sphere with its reciprocal dual,
# with opaque faces (--faces shaded) and without, whole processes as a
# user runs them, the two in turn RUNS times (default 15) for each
# frequency K (default 18 22 37: 9 722, 14 522 and 41 072 faces in all).
# Prints the medians, their ratio, and the time with faces at the last K
# over the first.
#
#   bench/svg-faces.sh [RUNS] [K...]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-15}
shift || true
ks=("$@")
[ ${#ks[@]} -gt 0 ] || ks=(18 22 37)
. "$root/bench/common.sh"
spheres duals-explorer -- "${ks[@]}"

ms() {  # wall milliseconds of one run of the explorer with arguments "$@"
  local start end
  start=$(date +%s%N)
  "$build/duals-explorer" "$@" --dual reciprocal --svg "$work/picture.svg" 2>/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "svg-faces.sh: $runs runs each, alternating; load $(cut -d' ' -f1 /proc/loadavg); $machine"
printf '%8s %8s %16s %16s %7s\n' K faces "with faces (ms)" "without (ms)" ratio
first=""
for i in "${!ks[@]}"; do
  off=${files[$i]}
  ms "$off" >/dev/null && ms "$off" --faces shaded >/dev/null  # one unmeasured run of each
  : >"$work/with" && : >"$work/without"
  for _ in $(seq "$runs"); do
    ms "$off" --faces shaded >>"$work/with"
    ms "$off" >>"$work/without"
  done
  with=$(median <"$work/with") without=$(median <"$work/without")
  # Faces in all: the sphere's, and the dual's, one at each vertex.
  faces=$(awk 'NR > 1 && !/^#/ { print $1 + $2; exit }' "$off")
  awk -v k="${ks[$i]}" -v f="$faces" -v w="$with" -v wo="$without" \
    'BEGIN { printf "%8s %8s %16.1f %16.1f %7.2f\n", k, f, w / 1000, wo / 1000, w / wo }'
  [ -n "$first" ] || first=$with
done
awk -v a="${ks[-1]}" -v b="${ks[0]}" -v w="$with" -v f="$first" \
  'BEGIN { printf "with faces, K %s over K %s: %.2f\n", a, b, w / f }'
