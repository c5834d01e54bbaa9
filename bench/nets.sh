#!/usr/bin/env bash
# Paper nets of the geodesic spheres and their duals (OFF files generated
# into a temporary folder): pieces, A4 pages, and the time to unfold, lay
# out and write the PDF; see bench/net_bench.cpp.
#
#   bench/nets.sh [FREQUENCY...]
#
# Frequencies default to 4 10 23: 320, 2000 and 10580 faces (duals of 162,
# 1002 and 5292).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
freqs=("$@")
[ ${#freqs[@]} -gt 0 ] || freqs=(4 10 23)
build="$root/build-bench"

"$root/scripts/setup.sh" bench
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPD_BENCH=ON -DPD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target geodesic-off net-bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=()
for k in "${freqs[@]}"; do
  "$build/bench/geodesic-off" "$k" "$work/geodesic-$k.off"
  files+=("$work/geodesic-$k.off")
done
echo "nets.sh: best of 3; $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
"$build/bench/net-bench" "${files[@]}"
