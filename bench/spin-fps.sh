#!/usr/bin/env bash
# Frames per second of the explorer's spin on the geodesic spheres (OFF
# files generated into a temporary folder), headless at 1024x700, beside the
# ceiling of the GL renderer drawing the same lines and marks from static
# buffers; see bench/spin_fps.cpp.
#
#   bench/spin-fps.sh [SECONDS] [FREQUENCY...]
#
# SECONDS per loop and round (default 1, 5 rounds); frequencies default to
# 7 22 71 224: 980, 9680, 100820 and 1003520 faces.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-1}
shift || true
freqs=("$@")
[ ${#freqs[@]} -gt 0 ] || freqs=(7 22 71 224)
. "$root/bench/common.sh"
spheres spin-fps -- "${freqs[@]}"
echo "spin-fps.sh: ${seconds} s per loop, 5 rounds; $machine"
"$build/bench/spin-fps" --seconds "$seconds" "${files[@]}"
