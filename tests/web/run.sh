#!/usr/bin/env bash
# tests/web/run.sh [BUILD-DIR]: drives build-web/duals-explorer.html (built
# by ./web.sh) in headless chromium and checks it against the native
# explorer of BUILD-DIR (default build/). Ends with "web: N checks passed".
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
# The system python: the one Debian's python3-selenium is for.
exec /usr/bin/python3 "$root/tests/web/page_test.py" "$root/build-web/duals-explorer.html" "$build"
