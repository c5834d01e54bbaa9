#!/usr/bin/env bash
# Builds duals-explorer and starts it on DIR or on OFF files (default: the
# ten files in data/). Without an X display the window opens on a virtual X
# server instead; a PNG of its first frame is saved in the current directory
# as explorer.png and the window is then closed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ $# -eq 0 ]; then set -- "$root/data"; fi

"$root/scripts/setup.sh" run
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target duals-explorer window-snap >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/duals-explorer" "$@"
fi

# The window's first title: the tetrahedron's for a directory, else the
# first file's name without its extension.
name=tetraedar
if [ ! -d "$1" ]; then name=$(basename "$1"); name=${name%.*}; fi
picture="$PWD/explorer.png"
echo "(no X display: the window opens on a virtual X server; its first frame goes to $picture)" >&2
export ROOT="$root" TITLE="$name  x 30  y 45" PICTURE="$picture"
exec "$root/scripts/with-xvfb.sh" bash -c '
  # The snapper waits for the window, saves it once drawn and closes it,
  # which ends the explorer; if the explorer ends first (bad input), the
  # snapper is stopped.
  "$ROOT/build/duals-explorer" "$@" &
  explorer=$!
  "$ROOT/build/window-snap" --title "$TITLE" --png "$PICTURE" --close --timeout 60 &
  snap=$!
  status=0
  wait "$explorer" || status=$?
  if kill -0 "$snap" 2>/dev/null; then kill "$snap" 2>/dev/null; fi
  wait "$snap" 2>/dev/null && echo "The first frame was saved as $PICTURE" >&2
  exit "$status"
' explore "$@"
