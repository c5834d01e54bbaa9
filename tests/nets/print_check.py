#!/usr/bin/python3
"""Checks the paper nets' pages as a printer would, with shapely's polygons
rather than the program's own geometry: for each net of a table (the five
solids with both duals, a prism, a ring, an open box, a crowded cube and
octahedron at 24 mm, the cube at 100 mm over several pages, the truncated
icosahedron and cube with their duals), on every SVG page no two faces and
no two flaps overlap (touching allowed), no flap lies over a face, every
flap is at least 3 mm deep, every number is 3 mm high, lies inside a face
and clear of every other, every piece and footer line keeps within the
10 mm margins, each cut pair's number is printed exactly twice, and the
footer names every pair without a flap; on every PDF page, as poppler lays
its text out, no two words meet, every word keeps within the margins and
every number stands at least 2.5 mm tall.

    tests/nets/print_check.py EXPLORER
"""
import os
import re
import subprocess
import sys
import tempfile
from collections import Counter

from shapely.geometry import LineString, Polygon, box

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "data")
NETS = [
    ("tetrahedron", [DATA, "--solid", "1"]),
    ("cube", [DATA, "--solid", "2"]),
    ("octahedron, reciprocal", [DATA, "--solid", "3", "--dual", "reciprocal"]),
    ("dodecahedron", [DATA, "--solid", "4"]),
    ("icosahedron, reciprocal", [DATA, "--solid", "5", "--dual", "reciprocal"]),
    ("prism", [os.path.join(ROOT, "tests/data/net/prism.off")]),
    ("ring", [os.path.join(ROOT, "tests/data/model/ring.off")]),
    ("open box", [os.path.join(ROOT, "tests/data/net/open-box.off")]),
    ("cube at 24 mm", [DATA, "--solid", "2", "--edge-mm", "24"]),
    ("cube at 100 mm, over pages", [DATA, "--solid", "2", "--edge-mm", "100"]),
    ("program dual of the icosahedron", [DATA, "--solid", "5"]),
    ("truncated icosahedron, reciprocal", ["--conway", "tI"]),
    ("truncated cube, reciprocal", ["--conway", "tC"]),
]
MARGIN, AREA = 10.0, 1e-3       # mm; mm² of overlap that counts (beyond the rounding of 0.001 mm along a shared side)
DIGIT, CAP = 0.55, 0.73          # a digit's ink width and height, of the size
failures, checks = [], 0


def check(ok, what):
    global checks
    checks += 1
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def polygons(group):
    return [Polygon([tuple(map(float, p.split())) for p in re.findall(r"[ML]([-0-9.]+ [-0-9.]+)", d)])
            for d in re.findall(r'<path[^>]* d="([^"]+)"', group)]


def page_parts(svg):
    groups = re.findall(r"<g[^>]*>(.*?)</g>", svg, re.S)
    flaps, faces = polygons(groups[0]), polygons(groups[1])
    labels = [(float(x), float(y), float(s), t) for x, y, s, t in
              re.findall(r'<text x="([-0-9.]+)" y="([-0-9.]+)" font-size="([0-9.]+)">([^<]*)</text>', groups[3])]
    footer = re.findall(r"<text[^>]*>([^<]*)</text>", groups[4])
    width, height = map(float, re.search(r'viewBox="0 0 ([0-9.]+) ([0-9.]+)"', svg).groups())
    return flaps, faces, labels, footer, width, height


def overlapping(shapes):
    """Pairs of shapes whose common area counts (a sweep over their boxes)."""
    order = sorted(range(len(shapes)), key=lambda i: shapes[i].bounds[0])
    found, active = [], []
    for i in order:
        left = shapes[i].bounds[0]
        active = [j for j in active if shapes[j].bounds[2] > left]
        found += [(j, i) for j in active if shapes[i].intersection(shapes[j]).area > AREA]
        active.append(i)
    return found


def depth(flap):
    corners = list(flap.exterior.coords)[:-1]
    base = LineString([corners[0], corners[-1]])
    return max(base.distance(LineString([c, c])) for c in corners)


def check_net(name, pages):
    numbers, flaps_drawn = Counter(), 0
    for k, svg in enumerate(pages):
        where = "%s, page %d" % (name, k + 1)
        flaps, faces, labels, footer, width, height = page_parts(svg)
        inked = [box(x - DIGIT * s * len(t) / 2, y - CAP * s, x + DIGIT * s * len(t) / 2, y) for x, y, s, t in labels]
        numbers.update(t for _, _, _, t in labels)
        flaps_drawn += len(flaps)
        check(all(s >= 3.0 for _, _, s, _ in labels), "%s: a number smaller than 3 mm" % where)
        check(not overlapping(faces), "%s: faces overlap" % where)
        check(not overlapping(flaps), "%s: flaps overlap" % where)
        check(not [(i, j) for i, j in overlapping(flaps + faces) if (i < len(flaps)) != (j < len(flaps))],
              "%s: a flap over a face" % where)
        check(all(depth(f) >= 3.0 - 1e-3 for f in flaps), "%s: a flap less than 3 mm deep" % where)
        check(not overlapping(inked), "%s: numbers on one another" % where)
        check(all(any(face.buffer(0.05).contains(b) for face in faces) for b in inked),
              "%s: a number outside its face" % where)
        bounds = [s.bounds for s in flaps + faces]
        check(all(b[0] >= MARGIN - 1e-6 and b[1] >= MARGIN - 1e-6 and b[2] <= width - MARGIN + 1e-6 and
                  b[3] <= height - MARGIN + 1e-6 for b in bounds), "%s: a piece in the margin" % where)
        check(all(len(line) * DIGIT * 2.4 <= width - 2 * MARGIN for line in footer),
              "%s: a footer line wider than the page's text" % where)
    check(all(n == 2 for n in numbers.values()), "%s: a pair's number not printed twice: %s" %
          (name, sorted(t for t, n in numbers.items() if n != 2)))
    listed = pages and re.search(r"no flap on ([0-9, and]+)\.", " ".join(page_parts(pages[0])[3]))
    unflapped = len(re.findall(r"[0-9]+", listed.group(1))) if listed else 0
    check(unflapped == len(numbers) - flaps_drawn, "%s: the footer names %d pairs without a flap, not %d" %
          (name, unflapped, len(numbers) - flaps_drawn))


def check_pdf(name, path):
    words = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, text=True).stdout
    pages = words.split("<page ")[1:]
    check(bool(pages), "%s: no PDF page" % name)
    for k, page in enumerate(pages):
        width, height = map(float, re.search(r'width="([0-9.]+)" height="([0-9.]+)"', page).groups())
        boxes = [box(*map(float, b)) for b in
                 re.findall(r'<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)"', page)]
        margin = MARGIN * 72 / 25.4
        check(all(margin - 0.1 <= b.bounds[0] and margin - 0.1 <= b.bounds[1] and b.bounds[2] <= width - margin + 0.1
                  and b.bounds[3] <= height - margin + 0.1 for b in boxes), "%s, PDF page %d: a word in the margin" % (name, k + 1))
        check(not overlapping(boxes), "%s, PDF page %d: words on one another" % (name, k + 1))
        heights = [float(b) - float(a) for a, b in
                   re.findall(r'<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">[0-9]+</word>', page)]
        check(min(heights, default=99) >= 2.5 * 72 / 25.4, "%s, PDF page %d: a number %.1f pt tall" %
              (name, k + 1, min(heights, default=99)))


def main():
    explorer = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory(prefix="print-check-") as temp:
        for name, args in NETS:
            out = os.path.join(temp, re.sub(r"\W+", "-", name) + ".svg")
            run = subprocess.run([explorer, *args, "--net", out], capture_output=True, text=True)
            check(run.returncode == 0, "%s: status %d, %s" % (name, run.returncode, run.stderr.strip()))
            stem = out[:-4]
            pages = sorted(f for f in os.listdir(temp) if f.startswith(os.path.basename(stem)))
            check(bool(pages), "%s: no page written" % name)
            check_net(name, [open(os.path.join(temp, f)).read() for f in pages])
            for f in pages:
                os.remove(os.path.join(temp, f))
            pdf = stem + ".pdf"
            run = subprocess.run([explorer, *args, "--net", pdf], capture_output=True, text=True)
            check(run.returncode == 0, "%s: the PDF, status %d" % (name, run.returncode))
            check_pdf(name, pdf)
    if failures:
        print("print: %d of %d checks failed" % (len(failures), checks))
        return 1
    print("print: %d checks passed" % checks)
    return 0


if __name__ == "__main__":
    sys.exit(main())
