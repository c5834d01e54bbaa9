#!/usr/bin/env bash
# Builds the explorer as one web page, build-web/duals-explorer.html: the
# code, its WebAssembly and the ten solid files in one file that opens from
# disk or from any static web server. Installs emscripten (and the browser
# the tests drive) from Debian first when they are missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$root/scripts/setup.sh" web

# Debian's emscripten finds its optimizer's node modules only there, and
# wants the system's python.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export EMSDK_PYTHON=${EMSDK_PYTHON:-/usr/bin/python3}

emcmake cmake -S "$root" -B "$root/build-web" -DPD_WEB=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-web" -j"$(nproc)" >/dev/null

page="$root/build-web/duals-explorer.html"
size=$(stat -c %s "$page")
limit=$((3 * 1024 * 1024))
if [ "$size" -gt "$limit" ]; then
  echo "web.sh: $page is $size bytes, above the $limit allowed" >&2
  exit 1
fi
echo "$page ($size bytes)"
