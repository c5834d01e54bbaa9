#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private virtual X server, started on
# a free display number and stopped afterwards. Exits with the command's
# status.
set -uo pipefail

if ! command -v Xvfb >/dev/null; then
  echo "with-xvfb.sh: Xvfb is not installed (Debian package xvfb)" >&2
  exit 1
fi
[ $# -gt 0 ] || { echo "usage: with-xvfb.sh COMMAND [ARG...]" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
# -displayfd picks a free display and writes its number once it accepts
# clients, so nothing has to guess or sleep.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/log" &
xvfb=$!
for _ in $(seq 1 300); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
  echo "with-xvfb.sh: Xvfb did not start:" >&2
  cat "$tmp/log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$tmp/display")"
"$@"
