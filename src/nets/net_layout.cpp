#include "nets/net_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "base/printable.h"
#include "base/translate.h"
#include "nets/face_labels.h"
#include "nets/overlap_grid.h"
#include "hull/planar_hull.h"
#include "geometry/tolerances.h"

namespace pd {

namespace {

// A width that fits in exact arithmetic must fit after rounding, and an
// edge length already on a tenth of a millimetre must not round up to the
// next: finer than roundingShare, as both are single products.
constexpr double widthSlack = 1e-12;

// Faces and flaps looked at while placing flaps, at most: past it the
// cut pairs left go without, so crowds of thin faces cannot take for ever.
constexpr std::int64_t flapTestBudget = 40000000;

std::string millimetres(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", mm);
    return text;
}

double signedArea(const std::vector<P2>& pts) {
    double twice = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) twice += cross(pts[i], pts[(i + 1) % pts.size()]);
    return twice / 2;
}

// One piece of one shell on its way to a page.
struct Piece {
    int shell = 0;
    std::vector<std::int32_t> faces;
    std::vector<std::vector<P2>> flaps;  // net units
    std::vector<P2> hull;                // of its faces and flaps
    P2 along{1, 0};                      // the net direction that becomes the page's x
    P2 low, high;                        // its box in that frame, net units
    int page = 0;
    P2 at;                               // its box's top left on the page, mm

    double width() const { return high.x - low.x; }
    double height() const { return high.y - low.y; }
    // A net point in the frame of `along` and the direction left of it.
    P2 turned(P2 p) const { return {dot(p, along), cross(along, p)}; }
    // Turns the frame to `direction` and boxes the hull in it.
    void turnTo(P2 direction) {
        along = direction;
        low = {HUGE_VAL, HUGE_VAL};
        high = {-HUGE_VAL, -HUGE_VAL};
        for (P2 p : hull) {
            const P2 q = turned(p);
            low = {std::min(low.x, q.x), std::min(low.y, q.y)};
            high = {std::max(high.x, q.x), std::max(high.y, q.y)};
        }
    }
};

// Turns the piece so that its faces have the smallest box (which has a
// side along an edge of their hull), lying rather than standing, and
// boxes it with its flaps. The flaps are left out of the choice, so pieces
// stand square to their faces rather than to the slant of a flap.
void fitBox(Piece& piece, const std::vector<P2>& faceHull) {
    Piece faces;
    faces.hull = faceHull;
    double best = HUGE_VAL;
    P2 bestAlong{1, 0};
    // On a big hull the box's sides are found by rotating calipers: the
    // corners farthest right, up and left only move on round the hull as
    // the edge does, so one turn round costs the hull's size.
    const std::size_t n = faceHull.size();
    const bool calipers = n > 64;
    std::size_t right = 0, top = 0, left = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const P2 d = faceHull[(i + 1) % n] - faceHull[i];
        if (length(d) == 0) continue;
        const P2 along = (1.0 / length(d)) * d;
        double area;
        if (calipers) {
            auto x = [&](std::size_t k) { return dot(faceHull[k % n], along); };
            auto y = [&](std::size_t k) { return cross(along, faceHull[k % n]); };
            right = std::max(right, i);
            while (right + 1 < i + n && x(right + 1) >= x(right)) ++right;
            top = std::max(top, right);
            while (top + 1 < i + n && y(top + 1) >= y(top)) ++top;
            left = std::max(left, top);
            while (left + 1 < i + n && x(left + 1) <= x(left)) ++left;
            area = (x(right) - x(left)) * (y(top) - std::min(y(i), y(i + 1)));
        } else {
            faces.turnTo(along);
            area = faces.width() * faces.height();
        }
        if (area < best * (1 - roundingShare)) {
            best = area;
            bestAlong = along;
        }
    }
    faces.turnTo(bestAlong);
    piece.turnTo(faces.height() > faces.width() ? leftOf(bestAlong) : bestAlong);
}

// Whether a piece whose faces have the hull `hull` (net units) fits a
// usable width x height at `scale`, lying or standing, with `room` (mm)
// round it for flaps.
bool fitsPage(const std::vector<P2>& hull, double scale, double room, double usableWidth, double usableHeight) {
    Piece piece;
    piece.hull = hull;
    fitBox(piece, hull);
    const double w = piece.width() * scale + 2 * room, h = piece.height() * scale + 2 * room;
    return (w <= usableWidth && h <= usableHeight) || (h <= usableWidth && w <= usableHeight);
}

// Cuts the pieces of `net` that would not fit a page at `scale` along
// further folds, each where its tree splits most evenly, until every piece
// fits or is one face (which the scale then refuses). The new cut pairs
// are numbered after the others.
void splitToFit(const Polyhedron& p, Net& net, double scale, double room, double usableWidth, double usableHeight) {
    const int faces = p.faceCount();
    std::vector<std::int32_t> size(static_cast<std::size_t>(faces));
    std::vector<P2> pts;
    for (bool again = true; again;) {
        again = false;
        // Each face's subtree size, leaves first (the order has parents first).
        std::fill(size.begin(), size.end(), 1);
        for (auto it = net.order.rbegin(); it != net.order.rend(); ++it)
            if (net.parent[*it] >= 0) size[net.parent[*it]] += size[*it];
        std::vector<std::vector<std::int32_t>> members(net.pieces.size());
        for (std::int32_t f : net.order) members[std::size_t(net.piece[f])].push_back(f);
        for (std::size_t k = 0; k < members.size(); ++k) {
            if (members[k].size() < 2) continue;
            pts.clear();
            for (std::int32_t f : members[k])
                for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) pts.push_back(net.corners[s]);
            if (fitsPage(planarHull(pts), scale, room, usableWidth, usableHeight)) continue;
            const int whole = int(members[k].size());
            std::int32_t best = -1;
            for (std::int32_t f : members[k])
                if (net.parent[f] >= 0 && (best < 0 || std::abs(2 * size[f] - whole) < std::abs(2 * size[best] - whole)))
                    best = f;
            const std::int32_t hinge = net.topology.cornerEdge[net.hingeSlot[best]];
            net.cut[hinge] = ++net.cutCount;
            net.parent[best] = -1;
            net.hingeSlot[best] = -1;
            const std::int32_t piece = std::int32_t(net.pieces.size());
            NetPiece split;
            split.root = best;
            net.pieces.push_back(split);
            // The subtree of `best`: faces whose chain of parents reaches it.
            for (std::int32_t f : members[k]) {
                std::int32_t up = f;
                while (up != best && net.parent[up] >= 0) up = net.parent[up];
                if (up == best) net.piece[f] = piece;
            }
            again = true;
        }
    }
}

// The flap of `shape` on the edge of `slot` (of face `face`), outside the
// face, at least `leastDepth` deep (net units): a trapezium, or a triangle
// where its sides meet first.
std::vector<P2> flapOn(const Polyhedron& p, const Net& net, int face, std::int32_t slot, bool faceTurnsLeft,
                       const FlapShape& shape, double leastDepth) {
    const P2 a = net.corners[slot], b = net.corners[nextSlot(p, face, slot)];
    const double len = length(b - a);
    const P2 d = (1.0 / len) * (b - a);
    const P2 out = faceTurnsLeft ? P2{d.y, -d.x} : leftOf(d);
    const double h = std::max(shape.depth * len, leastDepth);
    const double run = h / std::tan(shape.slopeDegrees * 3.14159265358979323846 / 180);
    if (2 * run >= len * (1 - roundingShare)) return {a, 0.5 * (a + b) + h * out, b};
    return {a, a + h * out + run * d, b + h * out - run * d, b};
}

// The pieces of every shell with their flaps, and what drawing them needs.
struct Cut {
    std::vector<Piece> pieces;
    std::vector<std::vector<std::uint8_t>> turnsLeft;  // per shell and face
    std::vector<int> numberBase;                       // per shell: the cut pairs numbered before it
    std::vector<int> flapless;                         // numbers of cut pairs without a flap
    int flaps = 0;
    std::int64_t flapTests = 0;
    double leastFlapDepth = 0.0;  // net units
};

// Per piece of the net, a grid holding its faces' parts, so that flaps
// are kept off them; notes too which way each face turns.
std::vector<OverlapGrid> gridsOfFaces(const Polyhedron& p, const Net& net, std::vector<std::uint8_t>& turnsLeft) {
    const double edge = meanEdgeLength(p, net.topology);
    std::vector<OverlapGrid> grids(net.pieces.size(), OverlapGrid(2 * edge, roundingShare * edge, net.thinFaces));
    turnsLeft.resize(std::size_t(p.faceCount()));
    std::vector<P2> pts;
    for (std::int32_t f = 0; f < p.faceCount(); ++f) {
        pts.clear();
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) pts.push_back(net.corners[s]);
        turnsLeft[f] = signedArea(pts) > 0;
        for (std::int32_t q = net.partStart[f]; q < net.partStart[f + 1]; ++q) {
            pts.clear();
            for (std::int32_t i = net.partCorners[q]; i < net.partCorners[q + 1]; ++i)
                pts.push_back(net.corners[net.partSlots[i]]);
            grids[net.piece[f]].add(pts.data(), int(pts.size()), f);
        }
    }
    return grids;
}

// The sides of each cut pair (slots 2n and 2n + 1 for pair n), the one met
// first in the net's order first.
std::vector<std::int32_t> sidesOfCuts(const Polyhedron& p, const Net& net) {
    std::vector<std::int32_t> sides(2 * std::size_t(net.cutCount) + 2, -1);
    for (std::int32_t f : net.order)
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            const int number = net.cut[net.topology.cornerEdge[s]];
            if (number > 0) sides[2 * number + (sides[2 * number] >= 0)] = s;
        }
    return sides;
}

// The flaps of shell k, one cut pair at a time: on the edge met first,
// else on its partner, else none, never over a face or a flap; the
// shell's pieces start at `first`.
void placeFlaps(const Polyhedron& p, const Net& net, std::size_t k, std::size_t first, std::vector<OverlapGrid>& grids,
                Cut& cut) {
    const std::vector<std::int32_t> sides = sidesOfCuts(p, net);
    for (int number = 1; number <= net.cutCount; ++number) {
        bool placed = false;
        for (int i = 0; i < 2 * int(std::size(flapShapes)) && !placed && cut.flapTests <= flapTestBudget; ++i) {
            const std::int32_t s = sides[2 * number + i % 2];
            const int f = net.topology.face[s];
            const std::vector<P2> flap =
                flapOn(p, net, f, s, cut.turnsLeft[k][f], flapShapes[i / 2], cut.leastFlapDepth);
            OverlapGrid& grid = grids[net.piece[f]];
            const std::int64_t before = grid.tests();
            const bool overlaps = grid.overlaps(flap.data(), int(flap.size()), -number);
            cut.flapTests += grid.tests() - before;
            if (overlaps) continue;
            grid.add(flap.data(), int(flap.size()), -number);
            cut.pieces[first + std::size_t(net.piece[f])].flaps.push_back(flap);
            placed = true;
        }
        if (placed) ++cut.flaps;
        else cut.flapless.push_back(cut.numberBase[k] + number);
    }
}

// The pieces of shell k, with their flaps, hulls and boxes, added to `cut`.
void cutShell(const LayoutShell& shell, std::size_t k, int& numbers, Cut& cut) {
    const Polyhedron& p = *shell.shape;
    const Net& net = *shell.net;
    cut.numberBase[k] = numbers;
    numbers += net.cutCount;
    std::vector<Piece>& pieces = cut.pieces;
    const std::size_t first = pieces.size();
    pieces.resize(first + net.pieces.size());
    for (std::int32_t f : net.order) {
        pieces[first + std::size_t(net.piece[f])].shell = int(k);
        pieces[first + std::size_t(net.piece[f])].faces.push_back(f);
    }
    std::vector<OverlapGrid> grids = gridsOfFaces(p, net, cut.turnsLeft[k]);
    placeFlaps(p, net, k, first, grids, cut);
    std::vector<P2> pts;
    for (std::size_t i = first; i < pieces.size(); ++i) {
        pts.clear();
        for (std::int32_t f : pieces[i].faces)
            for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) pts.push_back(net.corners[s]);
        const std::vector<P2> faceHull = planarHull(pts);
        for (const std::vector<P2>& flap : pieces[i].flaps) pts.insert(pts.end(), flap.begin(), flap.end());
        pieces[i].hull = planarHull(pts);
        fitBox(pieces[i], faceHull);
    }
}

// The scale: the largest at which every piece fits a page one way or
// the other, or the one asked for if it is not larger.
Status chooseScale(const std::vector<Piece>& pieces, double meanEdge, double usableWidth, double usableHeight,
                   const NetLayoutOptions& options, NetLayout& layout) {
    double largest = HUGE_VAL;
    for (const Piece& piece : pieces) {
        const double w = piece.width(), h = piece.height();
        const double lying = std::min(usableWidth / w, usableHeight / h);
        const double standing = std::min(usableWidth / h, usableHeight / w);
        largest = std::min(largest, std::max(lying, standing));
    }
    const double largestMm = std::floor(largest * meanEdge * 10) / 10;
    if (options.edgeMm > 0) {
        if (options.edgeMm > largest * meanEdge * (1 + roundingShare))
            return failure(fill(tr("at a mean edge of {1} mm a piece does not fit an {2} page; the largest mean edge that fits "
                                   "is {3} mm"),
                                {millimetres(options.edgeMm), tr(layout.format.name), millimetres(largestMm)}));
        layout.scale = options.edgeMm / meanEdge;
    } else {
        layout.scale = largestMm > 0 ? largestMm / meanEdge : largest;
    }
    layout.meanEdgeMm = meanEdge * layout.scale;
    return Done{};
}

// Shelves: tallest pieces first, each lying down if it fits so. The number
// of pages they take.
std::size_t shelvePieces(std::vector<Piece>& pieces, double scale, double usableWidth, double usableHeight) {
    std::vector<std::size_t> byHeight(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        byHeight[i] = i;
        Piece& piece = pieces[i];
        if (piece.width() * scale > usableWidth * (1 + widthSlack)) piece.turnTo(leftOf(piece.along));
    }
    // Each shell's pieces together, the solid's first, so that they come
    // before the dual's: on an earlier page, or above or left of them.
    std::stable_sort(byHeight.begin(), byHeight.end(), [&](std::size_t a, std::size_t b) {
        if (pieces[a].shell != pieces[b].shell) return pieces[a].shell < pieces[b].shell;
        return pieces[a].height() > pieces[b].height();
    });
    int page = 0;
    double x = 0, y = 0, shelf = 0;
    for (std::size_t i : byHeight) {
        Piece& piece = pieces[i];
        const double w = piece.width() * scale, h = piece.height() * scale;
        if (x > 0 && x + w > usableWidth) x = 0, y += shelf + pieceGap, shelf = 0;
        if (y > 0 && y + h > usableHeight) ++page, x = 0, y = 0, shelf = 0;
        piece.page = page;
        piece.at = {pageMargin + x, pageMargin + y};
        x += w + pieceGap;
        shelf = std::max(shelf, h);
    }
    return std::size_t(page) + 1;
}

void faceCorners(const Polyhedron& p, const Net& net, std::int32_t f, std::vector<P2>& corners) {
    corners.assign(net.corners.begin() + p.faceStart[f], net.corners.begin() + p.faceStart[f + 1]);
}

// The numbers face f carries: one on each side that is one of a cut pair
// (numbered after `base`), or, given `everySideDigits`, one of that many
// digits on each side.
void faceLabels(const Polyhedron& p, const Net& net, std::int32_t f, int base, std::size_t everySideDigits,
                std::vector<FaceLabel>& labels) {
    labels.clear();
    for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
        const int number = net.cut[net.topology.cornerEdge[s]];
        if (everySideDigits > 0 || number > 0)
            labels.push_back({std::size_t(s - p.faceStart[f]),
                              labelRadius(everySideDigits > 0 ? everySideDigits : std::to_string(base + number).size())});
    }
}

// The least scale at which every face's numbers fit beside their sides:
// those of the cut pairs, or with `everySide` any the faces could carry,
// whatever further cuts a larger scale makes.
double labelScaleOf(const std::vector<LayoutShell>& shells, const Cut& cut, bool everySide) {
    double least = 0.0;
    std::vector<P2> corners;
    std::vector<FaceLabel> labels;
    std::size_t edges = 0;
    for (const LayoutShell& shell : shells) edges += shell.net->topology.edges.size();
    const std::size_t digits = everySide ? std::to_string(edges).size() : 0;
    for (std::size_t k = 0; k < shells.size(); ++k) {
        const Polyhedron& p = *shells[k].shape;
        const Net& net = *shells[k].net;
        for (std::int32_t f = 0; f < p.faceCount(); ++f) {
            faceCorners(p, net, f, corners);
            faceLabels(p, net, f, cut.numberBase[k], digits, labels);
            least = std::max(least, leastLabelScale(corners, labels, cut.turnsLeft[k][f]));
        }
    }
    return least;
}

// One piece drawn on its page, in page millimetres: flaps, faces, the
// lines to cut and fold, and the cut pairs' numbers.
void drawPiece(const Piece& piece, const LayoutShell& shell, const Cut& cut, double scale, NetPage& out) {
    const Polyhedron& p = *shell.shape;
    const Net& net = *shell.net;
    auto onPage = [&](P2 q) {
        const P2 t = piece.turned(q);
        return P2{piece.at.x + (t.x - piece.low.x) * scale, piece.at.y + (piece.high.y - t.y) * scale};
    };
    for (const std::vector<P2>& flap : piece.flaps) {
        std::vector<P2> drawn;
        for (P2 q : flap) drawn.push_back(onPage(q));
        out.flaps.push_back(std::move(drawn));
    }
    for (std::int32_t f : piece.faces) {
        PagePolygon face;
        face.shell = piece.shell;
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) face.points.push_back(onPage(net.corners[s]));
        out.faces.push_back(std::move(face));
    }
    std::vector<P2> corners, centres;
    std::vector<FaceLabel> labels;
    const int base = cut.numberBase[std::size_t(piece.shell)];
    for (std::int32_t f : piece.faces) {
        for (std::int32_t s = p.faceStart[f]; s < p.faceStart[f + 1]; ++s) {
            const std::int32_t e = net.topology.cornerEdge[s];
            const P2 a = onPage(net.corners[s]), b = onPage(net.corners[nextSlot(p, f, s)]);
            // A fold is drawn once, from the side met first; a cut (or an
            // open surface's border) from each side it has.
            if (net.cut[e] != 0 || net.topology.sides[2 * e] == s) out.lines.push_back({a, b, net.cut[e] == 0});
        }
        faceCorners(p, net, f, corners);
        faceLabels(p, net, f, base, 0, labels);
        // Where they do not all fit (a face without room at any scale),
        // each stands at the middle of its side.
        if (!placeLabels(corners, labels, cut.turnsLeft[std::size_t(piece.shell)][f], scale, centres)) {
            centres.clear();
            for (const FaceLabel& label : labels)
                centres.push_back(0.5 * (corners[label.side] + corners[(label.side + 1) % corners.size()]));
        }
        for (std::size_t k = 0; k < labels.size(); ++k) {
            const std::int32_t s = p.faceStart[f] + std::int32_t(labels[k].side);
            PageLabel drawn;
            drawn.text = std::to_string(base + net.cut[net.topology.cornerEdge[s]]);
            drawn.size = labelSize;
            drawn.at = onPage(centres[k]);
            out.labels.push_back(std::move(drawn));
        }
    }
}

// How many letters UTF-8 `text` shows: a letter of two to four bytes is
// one, and so is a stray byte (shown as a mark of its own).
std::size_t letters(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) at += std::max<std::size_t>(1, utf8Length(text, at));
    return count;
}

// `text` in lines of at most `width` letters, broken at spaces (a word
// longer than a line stands alone).
std::vector<std::string> wrapped(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0, lineLetters = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        const std::size_t wordLetters = letters(word);
        if (!line.empty() && lineLetters + 1 + wordLetters > width) lines.push_back(line), line.clear();
        lineLetters = line.empty() ? wordLetters : lineLetters + 1 + wordLetters;
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// The footer's first line for page `page` of `pages`.
std::string titleLine(const NetLayoutOptions& options, const NetLayout& layout, std::size_t page, std::size_t pages) {
    return fill(tr("{1}, mean edge {2} mm (1 unit = {3} mm), page {4} of {5}"),
                {options.title, millimetres(layout.meanEdgeMm), millimetres(layout.scale), std::to_string(page), std::to_string(pages)});
}

// How to cut and glue, naming every cut pair left without a flap.
std::string howTo(const std::vector<int>& flapless) {
    const std::string cut = tr("Cut along solid lines, fold along dashed ones; each grey glue flap sits on one edge of a "
                               "numbered pair and goes under the other edge of that number");
    if (flapless.empty()) return cut + ".";
    std::string numbers = std::to_string(flapless[0]);
    for (std::size_t i = 1; i < flapless.size(); ++i)
        numbers = fill(i + 1 == flapless.size() ? tr("{1} and {2}") : tr("{1}, {2}"), {numbers, std::to_string(flapless[i])});
    // TRANSLATORS: {1} is how to cut and glue, {2} the numbers of the pairs left without a flap.
    return fill(tr("{1}; no flap on {2}."), {cut, numbers});
}

std::size_t footerWidth(const PageFormat& format) {
    return std::size_t((format.width - 2 * pageMargin) / (footerLetterWidth * footerSize));
}

// The height kept for the footer: its lines at their longest (a scale and
// page count of the most digits).
double footerHeight(const std::vector<int>& flapless, const NetLayoutOptions& options, const NetLayout& layout,
                    std::size_t pieces) {
    NetLayout widest = layout;
    widest.meanEdgeMm = widest.scale = 99999.9;
    const std::size_t lines = wrapped(titleLine(options, widest, pieces, pieces), footerWidth(layout.format)).size() +
                              wrapped(howTo(flapless), footerWidth(layout.format)).size();
    return footerSpace + double(std::max<std::size_t>(lines, 2) - 2) * footerLeading;
}

// Each page's footer: the title, the scale, the page's number and how to
// cut and glue, wrapped, its last line on the bottom margin.
void writeFooters(const std::vector<int>& flapless, const NetLayoutOptions& options, NetLayout& layout) {
    const std::size_t width = footerWidth(layout.format);
    const std::vector<std::string> how = wrapped(howTo(flapless), width);
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        std::vector<std::string>& footer = layout.pages[i].footer;
        footer = wrapped(titleLine(options, layout, i + 1, layout.pages.size()), width);
        footer.insert(footer.end(), how.begin(), how.end());
    }
    const std::size_t lines = layout.pages.empty() ? 1 : layout.pages[0].footer.size();
    // The last line's letters that reach below the baseline stay inside too.
    layout.footerAt = {pageMargin, layout.format.height - pageMargin - 0.3 * footerSize - double(lines - 1) * footerLeading};
}

}  // namespace

PageFormat pageFormat(PageSize size) {
    switch (size) {
    case PageSize::Letter: return {N_("letter"), 215.9, 279.4};
    case PageSize::A3: return {"A3", 297.0, 420.0};
    case PageSize::A4: break;
    }
    return {"A4", 210.0, 297.0};
}

namespace {

// The layout at the options' scale (the largest that fits when none is
// given), and in `labelScale` the least scale at which its numbers fit.
// With `everySide` that least scale counts a number on every side.
Result<NetLayout> layOutAt(const std::vector<LayoutShell>& shells, const NetLayoutOptions& options, bool everySide,
                           double& labelScale) {
    NetLayout layout;
    layout.format = pageFormat(options.page);
    const double usableWidth = layout.format.width - 2 * pageMargin;

    // Flaps at least flapLeastMm deep on paper need the scale, which the
    // flaps' room decides: cut at the scale found, until deepening the
    // flaps to it no longer shrinks it (a given --edge-mm is one scale).
    const double meanEdge = meanEdgeLength(*shells[0].shape, shells[0].net->topology);
    // At a given --edge-mm, pieces too large for a page are cut smaller,
    // on copies of the nets (room kept round them for their flaps).
    std::vector<Net> split;
    std::vector<LayoutShell> splitShells;
    if (options.edgeMm > 0) {
        const double scale = options.edgeMm / meanEdge;
        split.reserve(shells.size());
        for (const LayoutShell& shell : shells) {
            split.push_back(*shell.net);
            const double room = std::max(flapLeastMm, flapShapes[0].depth * meanEdgeLength(*shell.shape, shell.net->topology) * scale);
            splitToFit(*shell.shape, split.back(), scale, room, usableWidth,
                       layout.format.height - 2 * pageMargin - footerSpace - 2 * footerLeading);
            splitShells.push_back({shell.shape, &split.back()});
        }
    }
    const std::vector<LayoutShell>& laid = split.empty() ? shells : splitShells;
    Cut cut;
    double usableHeight = 0.0;
    for (double placedAt = 0.0, round = 0; round < 12; ++round) {
        cut = Cut{};
        cut.turnsLeft.resize(shells.size());
        cut.numberBase.assign(shells.size(), 0);
        cut.leastFlapDepth = placedAt > 0.0 ? flapLeastMm / placedAt : 0.0;
        int numbers = 0;
        for (std::size_t k = 0; k < laid.size(); ++k) cutShell(laid[k], k, numbers, cut);
        usableHeight =
            layout.format.height - 2 * pageMargin - footerHeight(cut.flapless, options, layout, cut.pieces.size());
        const Status scaled = chooseScale(cut.pieces, meanEdge, usableWidth, usableHeight, options, layout);
        if (!scaled) return scaled.error();
        if (placedAt > 0.0 && layout.scale >= placedAt * (1 - roundingShare)) break;
        // A little deeper than needed, so that the next scale, if smaller,
        // still leaves them flapLeastMm deep. (Each round shrinks the scale
        // by a hundredth or more; twelve are far more than it takes.)
        placedAt = placedAt > 0.0 ? std::min(placedAt, layout.scale) * 0.99 : layout.scale;
    }
    labelScale = labelScaleOf(laid, cut, everySide);
    layout.flaps = cut.flaps;
    layout.flapless = int(cut.flapless.size());
    layout.footerTop = pageMargin + usableHeight;
    layout.pages.resize(shelvePieces(cut.pieces, layout.scale, usableWidth, usableHeight));
    for (const Piece& piece : cut.pieces)
        drawPiece(piece, laid[std::size_t(piece.shell)], cut, layout.scale, layout.pages[std::size_t(piece.page)]);
    writeFooters(cut.flapless, options, layout);
    return layout;
}

}  // namespace

Result<NetLayout> layOutNets(const std::vector<LayoutShell>& shells, const NetLayoutOptions& options) {
    if (shells.empty()) return failure(tr("nothing to lay out"));
    double need = 0.0;
    Result<NetLayout> laid = layOutAt(shells, options, false, need);
    if (!laid || laid->scale >= need * (1 - roundingShare)) return laid;
    // The numbers do not fit at this scale: find the smallest mean edge, in
    // tenths of a millimetre, at which they do. A larger scale may cut
    // pieces smaller, and so number more sides; after a few rounds every
    // side is counted, which no further cut can undo.
    const double meanEdge = meanEdgeLength(*shells[0].shape, shells[0].net->topology);
    NetLayoutOptions larger = options;
    for (int round = 0; laid && laid->scale < need * (1 - roundingShare) && round < 8; ++round) {
        larger.edgeMm = std::ceil(need * meanEdge * 10 * (1 - widthSlack)) / 10;
        laid = layOutAt(shells, larger, round >= 4, need);
    }
    const std::string smallest = millimetres(larger.edgeMm);
    if (laid && laid->scale < need * (1 - roundingShare)) return failure(tr("the numbers of the cut pairs do not fit beside their edges"));
    if (laid && options.edgeMm > 0)
        return failure(fill(tr("at a mean edge of {1} mm the numbers of the cut pairs do not fit beside their edges; the "
                               "smallest mean edge at which they do is {2} mm"),
                            {millimetres(options.edgeMm), smallest}));
    if (!laid)
        return failure(fill(tr("the numbers of the cut pairs need a mean edge of at least {1} mm, at which a face with its "
                               "flaps does not fit an {2} page"),
                            {smallest, tr(pageFormat(options.page).name)}));
    return laid;
}

}  // namespace pd
