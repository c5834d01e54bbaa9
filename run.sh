#!/usr/bin/env bash
# Builds platonic-duals and runs it in DIR (default: data/), where it reads
# the ten solid files and writes the ten dual files. You answer its prompts
# on this console. Without an X display the window opens on a virtual X
# server instead; a PNG of it is saved in DIR and the window is then closed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=$(cd "${1:-$root/data}" && pwd)

"$root/scripts/setup.sh" run
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target platonic-duals window-snap >/dev/null

cd "$dir"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/build/platonic-duals"
fi

echo "(no X display: the window opens on a virtual X server; its picture goes to $dir/prikaz.png)" >&2
export ROOT="$root" DIR="$dir"
exec "$root/scripts/with-xvfb.sh" bash -c '
  # The snapper waits for the window, saves it once drawn and closes it,
  # which ends the program; the program keeps this console for its prompts.
  "$ROOT/build/window-snap" --program \
      --png "$DIR/prikaz.png" --close --timeout 86400 &
  snap=$!
  status=0
  "$ROOT/build/platonic-duals" || status=$?
  if kill -0 "$snap" 2>/dev/null; then kill "$snap" 2>/dev/null; fi
  wait "$snap" 2>/dev/null && echo "The window was saved as $DIR/prikaz.png" >&2
  exit "$status"
'
