#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "nets/unfolding.h"

namespace pd {

// Nets laid out on printer pages: each piece turned to its smallest
// bounding box and packed in shelves, glue flaps on one edge of each cut
// pair, the pair's number beside both edges, and footer lines naming the
// model, the scale and where the flaps are. Lengths in millimetres, from
// the page's top left corner, y down; the outside of the model faces the
// reader.

enum class PageSize { A4, Letter, A3 };

struct PageFormat {
    const char* name;  // "A4"
    double width;      // portrait, mm
    double height;
};
// The name and portrait size of `size`.
PageFormat pageFormat(PageSize size);

constexpr double pageMargin = 10.0;   // mm on every side
constexpr double footerSpace = 6.5;   // mm above the bottom margin kept for a footer of two lines
constexpr double pieceGap = 4.0;      // mm between pieces
// The shapes a flap is tried in, first to last, on either edge of its pair
// before the next: its height times its edge, and the slope of its sides
// from the edge. The lower ones fit the tight corners between faces.
struct FlapShape {
    double depth;
    double slopeDegrees;
};
constexpr FlapShape flapShapes[] = {{0.22, 45.0}, {0.15, 30.0}, {0.10, 18.0}};
// No flap is less deep on paper: one that would be is made this deep, its
// sides as steep, and a triangle where they meet before its far side.
constexpr double flapLeastMm = 3.0;

// One shell to print: a polyhedron and its net.
struct LayoutShell {
    const Polyhedron* shape;
    const Net* net;
};

struct NetLayoutOptions {
    PageSize page = PageSize::A4;
    double edgeMm = 0.0;  // the first shell's mean edge on paper; 0: the largest that fits
    std::string title;    // the footer's name for what is printed
};

struct PagePolygon {
    int shell = 0;
    std::vector<P2> points;
};
struct PageLine {
    P2 a, b;
    bool fold = false;  // dashed; else a cut, solid
};
struct PageLabel {
    std::string text;
    P2 at;              // the text's centre
    double size = 3.0;  // its height, mm
};
struct NetPage {
    std::vector<PagePolygon> faces;
    std::vector<std::vector<P2>> flaps;
    std::vector<PageLine> lines;
    std::vector<PageLabel> labels;  // cut pair numbers
    std::vector<std::string> footer;  // lines from footerAt down, left aligned, footerSize high
};
constexpr double footerSize = 2.4;
constexpr double footerLeading = 3.2;  // mm from one footer line's baseline to the next
// A wide sans-serif letter's advance, as a share of the footer's size: its
// lines are wrapped at words to keep within the margins at this width.
constexpr double footerLetterWidth = 0.6;

struct NetLayout {
    PageFormat format{};
    double scale = 1.0;       // mm per model unit
    double meanEdgeMm = 0.0;  // the first shell's
    int flaps = 0;            // cut pairs with a flap
    int flapless = 0;         // cut pairs without one
    P2 footerAt;              // the footer's first baseline's start
    double footerTop = 0.0;   // mm: the pieces keep above it
    std::vector<NetPage> pages;
};

// Lays out the shells' nets (at least one shell) on pages of the options'
// size at one scale. At a given edgeMm a piece too large for a page is cut
// into smaller ones along further folds (new pairs numbered after the
// others); one at which a single face, with its flaps, fits no page, in
// either orientation, is refused with a message naming the largest mean
// edge that fits. Past a budget of overlap tests the cut pairs left go
// without flaps, and the footer names them as flapless. The solid's pieces
// come first (each shell's together, tallest first); the footer's lines are
// wrapped at words within the margins, and the pieces kept above them.
Result<NetLayout> layOutNets(const std::vector<LayoutShell>& shells, const NetLayoutOptions& options);

}  // namespace pd
