#!/usr/bin/env bash
# Paper nets of prisms over regular N-gons and of their duals (bipyramids
# whose two apexes meet N faces), OFF files generated into a temporary
# folder: the long thin faces that crowd a grid. Times the unfolding, the
# layout and the PDF with net-bench, then the whole explorer runs.
#
#   bench/prism-nets.sh [N...]
#
# N defaults to 1000 2000 4000 20000.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 2000 4000 20000)
. "$root/bench/common.sh"
bench_build net-bench duals-explorer
bench_work

files=()
for n in "${sizes[@]}"; do
  awk -v n="$n" 'BEGIN {
    pi = atan2(0, -1)
    print "OFF"; print 2 * n, n + 2, 0
    for (z = -0.5; z <= 0.5; z += 1)
      for (i = 0; i < n; i++) printf "%.17g %.17g %g\n", cos(2 * pi * i / n), sin(2 * pi * i / n), z
    printf "%d", n; for (i = n - 1; i >= 0; i--) printf " %d", i; print ""
    printf "%d", n; for (i = 0; i < n; i++) printf " %d", n + i; print ""
    for (i = 0; i < n; i++) print 4, i, (i + 1) % n, n + (i + 1) % n, n + i
  }' >"$work/prism$n.off"
  files+=("$work/prism$n.off")
done

echo "prism-nets.sh: $machine"
"$build/bench/net-bench" "${files[@]}"
for f in "${files[@]}"; do
  for run in "--net $work/n.pdf" "--net $work/n.svg" "--show solid --net $work/n.pdf" "--unfold 1 --svg $work/u.svg" \
             "--unfold 0.5 --png $work/u.png"; do
    start=$EPOCHREALTIME
    # shellcheck disable=SC2086
    why=$("$build/duals-explorer" "$f" $run 2>&1 >/dev/null) || true
    printf '%-12s %-32s %6.2f s %s\n' "$(basename "$f" .off)" "${run//$work\//}" \
      "$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { print b - a }')" "${why:0:90}"
  done
done
