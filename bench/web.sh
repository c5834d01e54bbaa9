#!/usr/bin/env bash
# The web page's speed in headless chromium: load to first frame for the
# five solids, and the spin's frame time on geodesic spheres beside the
# native explorer's (bench/spin-fps.sh's headless loop) on the same spheres.
#
#   bench/web.sh [RUNS] [FREQUENCY...]
#
# RUNS loads per solid (default 10); frequencies default to 22 71: 9680
# and 100820 faces. Builds the page with ./web.sh first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
shift || true
freqs=("$@")
[ ${#freqs[@]} -gt 0 ] || freqs=(22 71)
"$root/web.sh" >/dev/null
. "$root/bench/common.sh"
spheres spin-fps -- "${freqs[@]}"
echo "web.sh: $machine; load $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 "$root/bench/web_bench.py" "$root/build-web/duals-explorer.html" "$runs" "${files[@]}"
echo "native, headless (bench/spin-fps.sh):"
"$build/bench/spin-fps" --seconds 1 "${files[@]}"
