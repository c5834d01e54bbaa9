#!/usr/bin/env bash
# Builds platonic-duals and runs its whole test suite; exits non-zero on any
# failure. Installs whatever Debian packages are missing first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
jobs=$(nproc)

scripts/setup.sh test

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (in build-asan/), then a short fixed run of every fuzz harness.
tests/sanitizer/run.sh
fuzz/run.sh 20000
