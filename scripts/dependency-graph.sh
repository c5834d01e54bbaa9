#!/usr/bin/env bash
# Prints which of the project's libraries each links, from CMake's own
# graph (cmake --graphviz), one line a library: docs/architecture.md's list.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$root" -B "$work/build" --graphviz="$work/deps.dot" >/dev/null
python3 - "$work/deps.dot" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
names = dict(re.findall(r'"(node\d+)" \[ label = "([^"]+)"', text))
links = {}
for a, b in re.findall(r'"(node\d+)" -> "(node\d+)"', text):
    if names[a].startswith("pd_") and names[b].startswith("pd_"):
        links.setdefault(names[a], []).append(names[b])
for lib in sorted(links):
    print(lib, "->", ", ".join(sorted(links[lib])))
PY
