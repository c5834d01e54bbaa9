#!/usr/bin/env bash
# Builds duals-explorer and starts it on DIR or on OFF files (default: the
# ten files in data/), with any of its options after them. Without an X
# display there is no window: the picture the window would open with is
# written instead, as explorer.png in the current directory (or as the
# output the options name), and the run ends.
#
# EXPLORER=PATH runs that build of duals-explorer instead of building one.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The inputs come first: with none (nothing, or options only) the ten files
# in data/ are shown, not the current directory's.
if [ $# -eq 0 ] || [[ "$1" == -* ]]; then set -- "$root/data" "$@"; fi

explorer=${EXPLORER:-}
if [ -z "$explorer" ]; then
  "$root/scripts/setup.sh" build
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" -j"$(nproc)" --target duals-explorer >/dev/null
  explorer="$root/build/duals-explorer"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$explorer" "$@"
fi

# No display: the headless path, which needs no X server and always ends.
for arg in "$@"; do
  case "$arg" in
    --png|--svg|--off|--net|--png=*|--svg=*|--off=*|--net=*|--info|--help|-h|--version) exec "$explorer" "$@" ;;
  esac
done
picture="$PWD/explorer.png"
echo "(no X display: the first frame goes to $picture)" >&2
exec "$explorer" "$@" --png "$picture"
