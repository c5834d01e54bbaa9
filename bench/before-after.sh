#!/usr/bin/env bash
# Whether two builds behave alike for a user: a table of command lines of
# the explorer (every output kind, the five solids, OFF models, Conway's
# notations, the catalogue, morph, unfold, nets, highlights and refusals)
# and the console program's run, each in a fresh scratch folder per build;
# every file written, standard output, standard error and exit status are
# compared byte for byte. Then, when both folders hold the page, its SVG and
# OFF downloads for a few addresses (headless chromium); then the time to
# the first picture and the peak memory of the 100 820-face sphere's --png,
# the builds taking turns, medians of RUNS (default 5).
#
#   bench/before-after.sh BEFORE_DIR AFTER_DIR [RUNS]
#
# Each folder holds a built duals-explorer and platonic-duals, and may hold
# duals-explorer.html. Prints one line per differing case and ends with
# "before-after: N of N command lines identical"; status 1 on any
# difference (timing only reports). BEFORE_AFTER_KEEP=1 keeps the scratch
# folders to look at.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ $# -ge 2 ] || { echo "usage: bench/before-after.sh BEFORE_DIR AFTER_DIR [RUNS]" >&2; exit 2; }
before=$(cd "$1" && pwd) after=$(cd "$2" && pwd) runs=${3:-5}
for dir in "$before" "$after"; do
  for program in duals-explorer platonic-duals; do
    [ -x "$dir/$program" ] || { echo "before-after: no $program in $dir" >&2; exit 2; }
  done
done
work=$(mktemp -d "${TMPDIR:-/tmp}/before-after.XXXXXX")
if [ "${BEFORE_AFTER_KEEP:-}" = 1 ]; then
  echo "before-after: scratch folders kept in $work"
else
  trap 'rm -rf "$work"' EXIT
fi

# What every case starts from: the ten solid files (the working folder's,
# read with no input or as "."), the OFF models of the tests, a damaged
# OFF file, a picture already there, and a folder whose cube faces end early.
seed=$work/seed
mkdir -p "$seed/model" "$seed/net" "$seed/short"
cp "$root"/data/* "$seed/"
cp "$root"/tests/data/model/*.off "$seed/model/"
cp "$root"/tests/data/net/*.off "$seed/net/"
printf 'OFF\nx 1 0\n' >"$seed/bad.off"
printf 'not a picture\n' >"$seed/taken-000.png"
cp "$root"/data/* "$seed/short/"
head -n 2 "$root/data/kockap.dat" >"$seed/short/kockap.dat"

# The table: E runs the explorer with these arguments, P the console
# program in a folder of the seed with these answers on standard input.
cases=()
# Each is kept as a quoted word list: kind, folder, answers, arguments.
E() { cases+=("$(printf '%q ' E . - "$@")"); }
P() { cases+=("$(printf '%q ' P "$1" "$2")"); }

# The five solids, every output kind.
E . --solid 1 --png tetra.png
E . --solid 2 --png cube.png
E . --solid 3 --svg okta.svg
E . --solid 4 --svg dodeka.svg
E . --solid 5 --off ikosa.off
E --png default.png
E . --solid 2 --aliased --png aliased.png
E . --solid 2 --png -
E . --solid 4 --svg -
E . --solid 3 --off -
E . --solid 2 --info
E . --solid 5 --info --pick 512,350
E . --info
E . --list
E --version
# How the picture is drawn.
E . --solid 4 --back dashed --numbers --svg dashed.svg
E . --solid 5 --back hidden --faces shaded --png hidden.png
E . --solid 3 --back drawn --faces translucent --svg translucent.svg
E . --solid 2 --numbers both --style print --png print.png
E . --solid 3 --numbers dual --style print --svg print.svg
E . --solid 2 --dual reciprocal --faces shaded --back hidden --png reciprocal.png
E . --solid 4 --dual reciprocal --off reciprocal.off
E . --solid 2 --show dual --off dual.off
E . --solid 5 --show solid --faces shaded --svg solid.svg
E . --solid 1 --angles 10 -20 --turntable --png turntable.png
E . --solid 3 --palette colourblind --background none --line-width 2 --png palette.png
E . --solid 4 --background '#203040' --font-px 18 --numbers both --svg background.svg
E . --solid 2 --size 320x240 --frames 4 --png turn.png
E . --solid 3 --size 200x150 --frames 3 --animate both --svg both.svg
# The morph and the unfolding.
E . --solid 2 --morph 0.5 --info
E . --solid 2 --morph 0.5 --faces shaded --back hidden --png morph.png
E . --solid 4 --morph 0.3 --svg morph.svg
E . --solid 5 --morph 0.7 --off morph.off
E . --solid 1 --size 200x150 --frames 3 --animate morph --png morph.png
E . --solid 2 --unfold 0.5 --png unfold.png
E . --solid 4 --unfold 1 --faces shaded --svg unfold.svg
E . --solid 3 --size 160x120 --frames 3 --animate unfold --png unfold.png
# Paper nets, PDF and SVG pages.
E . --solid 2 --net cube.pdf --edge-mm 40
E . --solid 4 --net dodeka.pdf --page letter
E . --solid 3 --net okta.svg
E . --solid 5 --net ikosa.svg --page a3
E net/truncated-icosahedron.off --net football.pdf
E net/prism.off --net prism.svg --edge-mm 30
# OFF models.
E model/cube.off --png cube.png
E model/pyramid.off --numbers both --svg pyramid.svg
E model/flat.off --info
E model/ring.off --svg ring.svg
E net/torus.off --info
E net/open-box.off --faces shaded --svg open-box.svg
E net/geodesic4.off --dual reciprocal --faces shaded --back hidden --png geodesic.png
E net/cuboctahedron.off --canonical --off canonical.off
E net/prism.off --centre vertices --dual reciprocal --off vertices.off
E net/truncated-cube.off net/truncated-octahedron.off --list
# Conway's notations.
E --conway tI --faces shaded --highlight face:3 --png football.png
E --conway dtC --svg dtC.svg
E --conway kD --off kD.off
E --conway P5 --conway A5 --conway Y5 --list
E --conway sC --info
E --conway k3jC --conway t6kC --list
E --conway gD --numbers --svg gD.svg
E model/cube.off --conway tM --svg tM.svg
E --conway eO --morph 0.5 --svg eO.svg
E --conway mT --net mT.svg
# The catalogue.
E --catalogue all --list
E --catalogue archimedean --list
E --catalogue all --model tI --png tI.png
E --catalogue all --model "soccer ball" --svg ball.svg
E --catalogue all --model "truncated icosahedron" --net ti.svg
E --catalogue catalan --model "rhombic dodecahedron" --off rhombic.off
# Highlights.
E . --solid 2 --highlight vertex:2 --svg vertex.svg
E . --solid 4 --highlight edge:5 --faces shaded --png edge.png
E . --solid 5 --highlight face:7 --show dual --svg face.svg
# Refusals.
E . --solid 9 --info
E missing.off --info
E . --png a.png --svg b.svg
E --conway xyz --info
E bad.off --info
E . --solid 2 --highlight face:99 --png far.png
E . --solid 1 --frames 2 --png taken.png
E . --solid 2
# The console program: the ten dual files, the prompts, and the window it
# cannot open without a display; then a face file ending early.
P . "30 45 2"
P short "30 45 2"

# One case in a fresh folder: $1 the build, $2 where its results go.
run_case() {
  local bin=$1 out=$2 status=0 c
  eval "c=($3)"
  mkdir -p "$out"
  cp -a "$seed" "$out/dir"
  if [ "${c[0]}" = E ]; then
    (cd "$out/dir/${c[1]}" && env -u DISPLAY "$bin/duals-explorer" "${c[@]:3}" \
      </dev/null >"$out/stdout" 2>"$out/stderr") || status=$?
  else
    (cd "$out/dir/${c[1]}" && env -u DISPLAY "$bin/platonic-duals" \
      <<<"${c[2]}" >"$out/stdout" 2>"$out/stderr") || status=$?
  fi
  echo "$status" >"$out/status"
  # Messages may name the program by its path (freeglut does) and the
  # folder it ran in; cairo dates each PDF.
  sed -i "s|$bin/|BIN/|g; s|$out/dir|DIR|g" "$out/stdout" "$out/stderr"
  find "$out/dir" -name '*.pdf' -exec perl -0777 -pi -e \
    's{(/CreationDate \(D:)(\d+)}{$1 . "0" x length($2)}ge' {} +
}

# Which of a case's results differ, by name.
differing() {
  local a=$1 b=$2 parts=()
  for part in status stdout stderr; do
    cmp -s "$a/$part" "$b/$part" || parts+=("$part")
  done
  while read -r file; do
    parts+=("$file")
  done < <(diff -rq --no-dereference "$a/dir" "$b/dir" 2>&1 |
             sed -E "s|^Files $a/dir/(.*) and .* differ$|\1|; s|^Only in $a/dir/?(.*): (.*)|only before: \1/\2|; s|^Only in $b/dir/?(.*): (.*)|only after: \1/\2|; s|: /|: |")
  echo "${parts[*]}"
}

same=0
for i in "${!cases[@]}"; do
  run_case "$before" "$work/before/$i" "${cases[i]}"
  run_case "$after" "$work/after/$i" "${cases[i]}"
  what=$(differing "$work/before/$i" "$work/after/$i")
  if [ -z "$what" ]; then
    same=$((same + 1))
  else
    eval "c=(${cases[i]})"
    if [ "${c[0]}" = E ]; then
      line="duals-explorer ${cases[i]#E . - }" line=${line% }
    else
      line="platonic-duals in ${c[1]}, answers ${c[2]}"
    fi
    echo "differs: $line: $what (status $(cat "$work/before/$i/status") / $(cat "$work/after/$i/status"))"
  fi
done
echo "before-after: $same of ${#cases[@]} command lines identical"
failed=0
[ "$same" = "${#cases[@]}" ] || failed=1

# The page's downloads: the SVG and OFF buttons after each address.
if [ -f "$before/duals-explorer.html" ] && [ -f "$after/duals-explorer.html" ]; then
  queries=("" "solid=4&back=dashed&numbers=both" "solid=2&dual=reciprocal&faces=shaded&back=hidden"
           "conway=tI&highlight=face:3" "solid=5&morph=0.5" "catalogue=all&model=tI&show=dual")
  for side in before after; do
    dir=$before; [ "$side" = after ] && dir=$after
    mkdir -p "$work/page-$side"
    PYTHONPATH=$root/tests/support /usr/bin/python3 - "$dir/duals-explorer.html" "$work/page-$side" "${queries[@]}" <<'EOF'
import os, re, shutil, sys, tempfile, time
from browser import chromium

page, out, queries = sys.argv[1], sys.argv[2], sys.argv[3:]
downloads = tempfile.mkdtemp(prefix="before-after-page-")
driver = chromium(downloads=downloads)
try:
    for n, query in enumerate(queries):
        driver.get("file://%s?size=1024x700&%s" % (page, query))
        # The page sets its title once it has drawn: the view's "x A y B".
        deadline = time.time() + 20
        while not re.search(r" x -?\d+ +y -?\d+", driver.title) and time.time() < deadline:
            time.sleep(0.05)
        message = driver.find_element("id", "message").text
        with open(os.path.join(out, "%d-page" % n), "w") as f:
            f.write("%s\n%s\n" % (re.sub(r" +", " ", driver.title), message))
        for kind in ("svg", "off"):
            driver.find_element("id", "save-" + kind).click()
            deadline, got = time.time() + 20, []
            while not got and time.time() < deadline:
                time.sleep(0.05)
                got = [f for f in os.listdir(downloads) if not f.endswith(".crdownload")]
            for name in got:
                shutil.move(os.path.join(downloads, name), os.path.join(out, "%d-%s" % (n, name)))
            if not got:
                open(os.path.join(out, "%d-no-%s-download" % (n, kind)), "w").close()
finally:
    driver.quit()
    shutil.rmtree(downloads)
EOF
  done
  page_same=0
  for i in "${!queries[@]}"; do
    page_what=()
    while IFS= read -r name; do
      a=$work/page-before/$name b=$work/page-after/$name
      if [ ! -e "$a" ]; then page_what+=("only after: ${name#"$i-"}")
      elif [ ! -e "$b" ]; then page_what+=("only before: ${name#"$i-"}")
      elif ! cmp -s "$a" "$b"; then page_what+=("${name#"$i-"}")
      elif [[ $name == *-no-*-download ]]; then page_what+=("${name#"$i-"} in both")
      fi
    done < <(find "$work/page-before" "$work/page-after" -type f -name "$i-*" -printf '%f\n' | sort -u)
    if [ ${#page_what[@]} = 0 ]; then
      page_same=$((page_same + 1))
    else
      (IFS=,; echo "differs: the page at ?${queries[i]}: ${page_what[*]}")
    fi
  done
  echo "before-after: the page's downloads identical for $page_same of ${#queries[@]} addresses" \
       "($(find "$work/page-before" -type f -name '*.*' | wc -l) files)"
  [ "$page_same" = "${#queries[@]}" ] || failed=1
else
  echo "before-after: no duals-explorer.html in both folders; the page is not compared"
fi

# The first picture and peak memory at 100k faces: the geodesic sphere of
# frequency 71 (each of the icosahedron's faces cut into 71 x 71
# triangles, pushed out onto the unit sphere), its --png, the two builds
# taking turns after one run each unmeasured.
/usr/bin/python3 - "$work/sphere.off" <<'EOF'
import math, sys
k, t = 71, (1 + math.sqrt(5)) / 2
corners = [(-1, t, 0), (1, t, 0), (-1, -t, 0), (1, -t, 0), (0, -1, t), (0, 1, t),
           (0, -1, -t), (0, 1, -t), (t, 0, -1), (t, 0, 1), (-t, 0, -1), (-t, 0, 1)]
faces = [(0, 11, 5), (0, 5, 1), (0, 1, 7), (0, 7, 10), (0, 10, 11), (1, 5, 9), (5, 11, 4),
         (11, 10, 2), (10, 7, 6), (7, 1, 8), (3, 9, 4), (3, 4, 2), (3, 2, 6), (3, 6, 8),
         (3, 8, 9), (4, 9, 5), (2, 4, 11), (6, 2, 10), (8, 6, 7), (9, 8, 1)]
index, points, triangles = {}, [], []
def point(weights):
    # A point shared by two faces is named by its corners' weights alone.
    key = tuple(sorted((c, w) for c, w in weights if w))
    if key not in index:
        p = [sum(w * corners[c][i] for c, w in key) for i in range(3)]
        r = math.sqrt(sum(x * x for x in p))
        index[key] = len(points)
        points.append([x / r for x in p])
    return index[key]
for a, b, c in faces:
    at = lambda i, j: point([(a, k - i - j), (b, i), (c, j)])
    for i in range(k):
        for j in range(k - i):
            triangles.append((at(i, j), at(i + 1, j), at(i, j + 1)))
            if i + j < k - 1:
                triangles.append((at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)))
with open(sys.argv[1], "w") as f:
    f.write("OFF\n%d %d 0\n" % (len(points), len(triangles)))
    f.writelines("%.9f %.9f %.9f\n" % tuple(p) for p in points)
    f.writelines("3 %d %d %d\n" % t for t in triangles)
EOF
timed() {  # build, result file: appends "seconds MiB"
  local start end
  rm -f "$work/sphere.png"
  start=$EPOCHREALTIME
  env -u DISPLAY /usr/bin/time -f %M -o "$work/kib" "$1/duals-explorer" "$work/sphere.off" \
    --png "$work/sphere.png" >/dev/null 2>&1
  end=$EPOCHREALTIME
  [ -s "$work/sphere.png" ] || { echo "before-after: $1/duals-explorer drew no picture of the sphere" >&2; exit 2; }
  awk -v a="$start" -v b="$end" -v k="$(tail -n 1 "$work/kib")" 'BEGIN { printf "%.4f %.1f\n", b - a, k / 1024 }' >>"$2"
}
median() {  # column $1 of file $2
  awk -v c="$1" '{ print $c }' "$2" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
timed "$before" /dev/null && timed "$after" /dev/null
: >"$work/t-before"; : >"$work/t-after"
for ((i = 0; i < runs; i++)); do
  timed "$before" "$work/t-before"
  timed "$after" "$work/t-after"
done
faces=$(sed -n 2p "$work/sphere.off" | cut -d' ' -f2)
echo "before-after: $faces-face sphere --png, medians of $runs, load average $(cut -d' ' -f1-3 /proc/loadavg):"
for what in "1 s first picture" "2 MiB peak memory"; do
  read -r col unit label <<<"$what"
  b=$(median "$col" "$work/t-before") a=$(median "$col" "$work/t-after")
  awk -v l="$label" -v u="$unit" -v b="$b" -v a="$a" 'BEGIN {
    r = a / b
    printf "  %-14s before %8.3f %-3s  after %8.3f %-3s  ratio %.3f%s\n", l, b, u, a, u, r,
           (r > 1.03 || r < 0.97) ? "  BEYOND 3 % (timing is noisy: run again before believing it)" : "  within 3 %"
  }'
done
exit "$failed"
