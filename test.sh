#!/usr/bin/env bash
# Builds platonic-duals and runs its test suite; exits non-zero on any
# failure. Installs whatever Debian packages are missing first.
#
#   ./test.sh            the whole suite, as CI runs it
#   ./test.sh --quick    the native build, its unit tests and the end-to-end
#                        runs of a few seconds or less (ctest's label "slow"
#                        marks the others): the check to run while developing
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
quick=false
case "${1:-}" in
  --quick) quick=true ;;
  "") ;;
  *) echo "usage: ./test.sh [--quick]" >&2; exit 2 ;;
esac
jobs=$(nproc)
work=$(mktemp -d)
declare -A lanes
stop() {
  # A lane still running when the suite ends has lost its purpose (a step
  # failed): its process group goes with it.
  for pid in "${lanes[@]}"; do kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap stop EXIT

# Each step is announced with the time since the start, for a log that shows
# where the time goes (in the lanes below too).
export test_start=$EPOCHSECONDS
step() {
  local t=$((EPOCHSECONDS - test_start))
  printf '== [%d:%02d] %s\n' $((t / 60)) $((t % 60)) "$*"
}
export -f step

# A lane: steps run in the background, in a process group of their own, their
# output kept in $work/NAME.log and shown when joined, where a failure fails
# the suite.
start_lane() {
  setsid bash -c "$2" >"$work/$1.log" 2>&1 &
  lanes[$1]=$!
}
join_lane() {
  local status=0
  wait "${lanes[$1]}" || status=$?
  unset "lanes[$1]"
  step "$1: done beside the steps above, with its output:"
  cat "$work/$1.log"
  if [ "$status" -ne 0 ]; then
    echo "test.sh: $1 failed (status $status)" >&2
    exit "$status"
  fi
}

step "packages"
if $quick; then scripts/setup.sh quick; else scripts/setup.sh test web; fi

# Warnings fail this build. (Not the sanitized one below: GCC's
# maybe-uninitialized warning misfires inside std::regex under ASan.)
step "native build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build -j"$jobs"

if $quick; then
  step "unit and end-to-end tests but the slow ones"
  ctest --test-dir build --output-on-failure -j"$jobs" -LE '^slow$' | tee "$work/main.log"
else
  # Two lanes side by side, each mostly one build and what runs on it, as
  # either leaves a core idle for long stretches (linking, lintian, the
  # browser, single-threaded checks). Beside: the web page, built by web.sh
  # (with emscripten) and driven in headless chromium against the explorer
  # built above; then a short fixed run of every fuzz harness, its seeds
  # first, built with clang and the sanitizers in build-fuzz/.
  start_lane beside 'step "web page" && ./web.sh && step "web page tests" && tests/web/run.sh build &&
    step "fuzzers" && fuzz/run.sh 20000'

  step "unit and end-to-end tests"
  ctest --test-dir build --output-on-failure -j"$jobs" | tee "$work/main.log"
  # The release: installed into a temporary prefix and run, and the .deb.
  step "release"
  tests/release/check.sh build | tee -a "$work/main.log"
  # The paper nets' pages as a printer would check them (shapely's polygons).
  step "printed nets"
  tests/nets/print_check.py build/duals-explorer | tee -a "$work/main.log"
  # The unit tests and the hostile inputs built with AddressSanitizer and
  # UndefinedBehaviorSanitizer in build-asan/.
  step "sanitized build and tests"
  tests/sanitizer/run.sh | tee -a "$work/main.log"
  join_lane beside
  cat "$work/beside.log" >>"$work/main.log"
fi

# One closing line for the parts together.
log=$work/main.log
passed=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$log" |
         awk '{ n += $1 } END { print n + 0 }')
fuzzed=$(grep -c 'executions, no fault' "$log" || true)
released=$(sed -n 's/^release: \([0-9]*\) checks passed$/\1/p' "$log")
webbed=$(sed -n 's/^web: \([0-9]*\) checks passed$/\1/p' "$log")
printed=$(sed -n 's/^print: \([0-9]*\) checks passed$/\1/p' "$log")
step "done"
echo "$((passed + fuzzed + released + webbed + printed)) passed, 0 failed"
