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
. "$root/bench/common.sh"
spheres net-bench -- "${freqs[@]}"
echo "nets.sh: best of 3; $machine"
"$build/bench/net-bench" "${files[@]}"
