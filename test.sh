#!/usr/bin/env bash
# Builds platonic-duals and runs its whole test suite; exits non-zero on any
# failure. Installs whatever Debian packages are missing first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
jobs=$(nproc)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

scripts/setup.sh test

# Warnings fail this build. (Not the sanitized one below: GCC's
# maybe-uninitialized warning misfires inside std::regex under ASan.)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" | tee -a "$log"
# The release: installed into a temporary prefix and run, and the .deb.
tests/release/check.sh build | tee -a "$log"
# The paper nets' pages as a printer would check them (shapely's polygons).
tests/nets/print_check.py build/duals-explorer | tee -a "$log"
# The web page: built by web.sh (which installs emscripten and chromium
# first), then driven in headless chromium against the explorer above.
./web.sh
tests/web/run.sh build | tee -a "$log"

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (in build-asan/), then a short fixed run of every fuzz harness.
tests/sanitizer/run.sh | tee -a "$log"
fuzz/run.sh 20000 | tee -a "$log"

# One closing line for the parts together.
passed=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$log" |
         awk '{ n += $1 } END { print n + 0 }')
fuzzed=$(grep -c 'executions, no fault' "$log" || true)
released=$(sed -n 's/^release: \([0-9]*\) checks passed$/\1/p' "$log")
webbed=$(sed -n 's/^web: \([0-9]*\) checks passed$/\1/p' "$log")
printed=$(sed -n 's/^print: \([0-9]*\) checks passed$/\1/p' "$log")
echo "$((passed + fuzzed + released + webbed + printed)) passed, 0 failed"
