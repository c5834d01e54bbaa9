#!/usr/bin/env bash
# tests/release/check.sh [BUILD-DIR]: installs a built tree (default build/)
# into a temporary prefix, runs the installed programs from there, builds the
# .deb and has lintian check it, touching nothing outside the temporary folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tmp=$(cd "$tmp" && pwd -P) prefix=$tmp/prefix checks=0  # as /proc/self/exe names it
check() { "${@:2}" || { echo "release: FAILED: $1" >&2; exit 1; }; checks=$((checks + 1)); }

promised=$(printf '%s\n' bin/{platonic-duals,check-solids,duals-explorer} \
  share/platonic-duals/data/{tetra.DAT,{tetra,kocka,okta,dodeka,ikosa}p.dat,{kocka,okta,dodeka,ikosa}.dat} \
  share/man/man1/{platonic-duals,check-solids,duals-explorer}.1.gz \
  share/doc/platonic-duals/{README.md,LICENSE,copyright,changelog.gz} \
  share/doc/platonic-duals/docs/{explorer.md,mathematics.md,typical-run.png,explorer-compound.png} \
  share/applications/duals-explorer.desktop share/icons/hicolor/256x256/apps/duals-explorer.png \
  share/locale/{sr,sr@latin}/LC_MESSAGES/duals-explorer.mo | sort)
cmake --install "$build" --prefix "$prefix" >/dev/null
check "the install's files" test "$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)" = "$promised"

for p in duals-explorer check-solids; do  # the man pages are made from --help
  check "$p --version" test "$("$prefix/bin/$p" --version)" = "$p 1.0.0"
  check "$p's man page" grep -q -- '-\\-version' <(zcat "$prefix/share/man/man1/$p.1.gz")
done
check "the explorer's man page: its keys and exit statuses" grep -Pzq '\.SH KEYS\n(.*\n)*\.B q\n(.*\n)*\.SH "EXIT STATUS"' \
  <(zcat "$prefix/share/man/man1/duals-explorer.1.gz")

# The installed explorer finds its catalogues beside it, under its prefix.
help() { LANGUAGE=sr@latin "$@" --help; }
check "the installed explorer speaks Serbian" test "$(help "$prefix/bin/duals-explorer")" = \
  "$(help "$build/duals-explorer")" -a "$(help "$prefix/bin/duals-explorer")" != "$(help "$prefix/bin/duals-explorer" --lang en)"

# Named no input in an empty folder, the explorer draws the installed data
# as the build tree's explorer draws the source tree's.
mkdir "$tmp/empty"
(cd "$tmp/empty" && "$prefix/bin/duals-explorer" --solid 2 --back dashed --png cube.png 2>"$tmp/err")
check "the explorer names the installed data" test "$(cat "$tmp/err")" = \
  "duals-explorer: the ten files are not in the current folder; using $prefix/share/platonic-duals/data"
"$build/duals-explorer" "$root/data" --solid 2 --back dashed --png "$tmp/cube.png"
check "the installed explorer's picture" cmp -s "$tmp/empty/cube.png" "$tmp/cube.png"

# The console program's typical run in a copy of the installed data, under a
# private X server; window-snap saves the window once drawn and closes it.
cp -r "$prefix/share/platonic-duals/data" "$tmp/run"
typical_run() { (cd "$tmp/run" && "$root/scripts/with-xvfb.sh" bash -c '
  "$0" --program --png prikaz.png --close --timeout 60 >/dev/null &
  echo "30 45 2" | timeout 90 "$1" >/dev/null' "$build/window-snap" "$prefix/bin/platonic-duals"); }
check "the console program's typical run, status 0" typical_run
check "the console program's window" test -s "$tmp/run/prikaz.png"
check "the console program's ten files" diff -r -x '*.dat' -x '*.DAT' -x prikaz.png \
  "$root/tests/data/expected" "$tmp/run"

(cd "$build" && cpack -G DEB -B "$tmp/package" >/dev/null)
deb=$tmp/package/platonic-duals_1.0.0_amd64.deb
check "the package's files" test "$(dpkg-deb --contents "$deb" | awk '/^-/ { print $6 }' | sed 's|^\./usr/||' | sort)" = "$promised"
check "dependencies from dpkg-shlibdeps" grep -q 'libglut' <(dpkg-deb --field "$deb" Depends)
check "lintian" lintian --fail-on error,warning "$deb"
echo "release: $checks checks passed"
