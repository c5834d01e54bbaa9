#!/usr/bin/env bash
# Refreshes the explorer's message template from the sources and merges it
# into every translation, so a changed or new text shows up there as fuzzy
# or untranslated. Run from anywhere; needs GNU gettext.
#
#   po/update.sh
#
# The console program's sources are left out: it speaks as its design gives
# it and is never translated. Sorted, with no line numbers, so a diff shows
# only texts that changed.
set -euo pipefail

po=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$po")
cd "$root"

# The explorer's sources: every folder but the console program's, and its
# entry point; the page's texts come from src/web.
mapfile -t sources < <(find src apps -name '*.cpp' -o -name '*.h' | grep -v -e '^src/console/' -e '^apps/platonic_duals.cpp$' \
                       -e '^apps/check_solids.cpp$' | LC_ALL=C sort)

xgettext --from-code=UTF-8 --language=C++ --sort-output --no-location --add-comments=TRANSLATORS: \
  --keyword= --keyword=tr --keyword=trc:1c,2 --keyword=trn:1,2 --keyword=N_ \
  --package-name=duals-explorer --msgid-bugs-address= \
  --output="$po/duals-explorer.pot.new" "${sources[@]}"
# The creation date changes on every run; a template whose texts are the
# same is left as it was.
if [ -f "$po/duals-explorer.pot" ] &&
   diff -q <(grep -v '^"POT-Creation-Date' "$po/duals-explorer.pot") \
           <(grep -v '^"POT-Creation-Date' "$po/duals-explorer.pot.new") > /dev/null; then
  rm "$po/duals-explorer.pot.new"
else
  mv "$po/duals-explorer.pot.new" "$po/duals-explorer.pot"
fi

for translation in "$po"/*.po; do
  [ -e "$translation" ] || continue
  msgmerge --quiet --update --backup=none --sort-output --no-location --previous "$translation" "$po/duals-explorer.pot"
done
