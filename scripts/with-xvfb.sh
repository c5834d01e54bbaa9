#!/usr/bin/env bash
# Runs a command against a private, headless X server.
#
#   scripts/with-xvfb.sh COMMAND [ARGS...]
#
# Starts Xvfb on a free display (1280x1024, 24-bit, no TCP), exports DISPLAY,
# runs the command, stops the server and exits with the command's status.
set -u

if [ $# -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "$0: Xvfb is not installed; it comes with the Debian package xvfb (apt-get install xvfb)" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")
xvfb_pid=
stop_server() {
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    xvfb_pid=
    rm -rf "$work"
}
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# -displayfd makes Xvfb choose a free display number and write it to the
# descriptor once it accepts connections. -noreset keeps the server from
# resetting whenever its last client leaves, which would refuse or break the
# connections of whatever starts next.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!

display=
for _ in $(seq 1 300); do   # at most 30 seconds
    if [ -s "$work/display" ] && grep -q '^[0-9][0-9]*$' "$work/display"; then
        display=$(head -n 1 "$work/display")
        break
    fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [ -z "$display" ]; then
    echo "$0: Xvfb did not start; its log:" >&2
    cat "$work/xvfb.log" >&2
    exit 2
fi

export DISPLAY=":$display"
"$@"
status=$?
exit "$status"
