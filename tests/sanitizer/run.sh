#!/usr/bin/env bash
# Builds the unit and end-to-end tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs what finds memory
# faults there: the unit tests and the hostile inputs (ctest's labels "unit"
# and "hostile"; the other end-to-end runs check what is drawn, and under
# the sanitizers would mostly go again, several times slower, through code
# the unit tests reach). Other ctest options choose other tests, e.g. all:
#
#   tests/sanitizer/run.sh [CTEST-OPTION...]      (tests/sanitizer/run.sh -L .)
#
# Fails on any failed test and on any sanitizer report: reports go to files
# in build-asan/sanitizer-reports/, so one from a process whose status no
# test looks at still counts.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$root/build-asan"
reports="$build/sanitizer-reports"
jobs=$(nproc)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPD_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$jobs" --target unit_tests e2e_tests

rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/asan:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"

# Mesa unloads its GL driver when the display closes, before the leak check
# at exit; the driver's leaks would then show without a library name and no
# suppression could match them. Loading it up front keeps it mapped.
driver=/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so
[ -f "$driver" ] && export LD_PRELOAD="$driver${LD_PRELOAD:+:$LD_PRELOAD}"

status=0
[ $# -gt 0 ] || set -- -L '^(unit|hostile)$'
ctest --test-dir "$build" --output-on-failure -j"$jobs" "$@" || status=$?

if [ -n "$(ls -A "$reports")" ]; then
  echo "sanitizer reports in $reports:" >&2
  for f in "$reports"/*; do echo "== $f" >&2; cat "$f" >&2; done
  status=1
fi
exit "$status"
