#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"

namespace pd {

// What of a picture lies behind its faces. Points are turned as the frame
// turns them (x right, y up, z toward the viewer) and seen along -z, as the
// frames are: a point is hidden when some face covers its (x, y) at a
// greater z.
//
// How: every face is cut into triangles, a small one as the fan from its
// first corner, a big one by halving chords so that a line meets few of
// them (exact for convex faces, which all the models here have), and the
// triangles are put into a uniform grid over the picture with about one
// cell per triangle, each in every cell it comes near. A segment
// visits the cells along its way, row by row, and is clipped against each
// triangle met there: the part inside the triangle's outline is a range of
// its parameter, and within it the triangle's depth less the segment's is
// linear, so the part behind is one range again. The ranges are sorted and
// joined. For models whose faces are spread over the picture that costs
// about a constant per edge besides the sort (n log n in all;
// bench/visibility_bench.cpp measures it). Faces
// crowded round one point (a vertex in thousands of them) put all of them
// in the cells there, which every edge from it meets: that work is
// bounded (exhausted, wouldExhaust).
//
// Tolerances are relative to the size of the points' box: a point counts
// as behind only when more than 1e-6 of it behind (or a few float steps of
// its coordinates, if more), and a range shorter than 1e-4 of it, hidden or
// seen, is given to its neighbours, so edges on a face's border and points
// on its plane stay seen.

// A part of a segment, as parameters 0 <= from < to <= 1 along it.
struct Span {
    double from;
    double to;
};

class Occluders {
public:
    // The faces over `points`, stored flat as in Polyhedron: face f has the
    // corners corners[faceStart[f]] .. corners[faceStart[f + 1] - 1], each
    // within points. Faces with fewer than three corners, and triangles seen
    // edge-on, hide nothing.
    Occluders(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
              const std::vector<std::int32_t>& faceStart);

    // The parts of the segment from p to q that lie behind some face other
    // than skipA and skipB (the segment's own faces; -1 for none), sorted and
    // disjoint, into `out` (replacing what it held). A segment seen end-on
    // is hidden or not as a whole, as its nearer end is.
    void hiddenSpans(Vec3 p, Vec3 q, std::int32_t skipA, std::int32_t skipB,
                     std::vector<Span>& out) const;

    // Whether some face lies in front of p.
    bool hides(Vec3 p) const;

    // Whether the queries so far went past 4 * 10^8 (each triangle met in
    // a cell counting 1, each clipped 10 more; some 4 000 edges each near
    // 10 000 triangles), or the grid would have held more than 5 * 10^7;
    // from then on a query finds nothing hidden, and the caller should
    // drop the answers.
    bool exhausted() const { return met_ > mostMet; }

    // Whether queries with these ends would run past that bound already in
    // the cells of their ends alone (each end's cell is met whole), which
    // tells in time linear in the ends what the queries would take long to.
    bool wouldExhaust(const std::vector<Vec3>& ends) const;

    // The size the tolerances are relative to.
    double scale() const { return scale_; }

private:
    struct Triangle {
        double x[3], y[3], z[3];
        double area;     // twice the signed area in (x, y)
        double side[3];  // length in (x, y) of the side from corner k to k + 1
        std::int32_t face;
    };

    template <typename Visit>
    void forCellsAlong(double x0, double y0, double x1, double y1, Visit visit) const;
    // The grid's column and row holding x and y, the outermost for any beyond.
    // The faces cut into triangles; those edge-on, or thinner than the
    // tolerance, are left out.
    void addTriangles(const std::vector<Vec3>& points, const std::vector<std::int32_t>& corners,
                      const std::vector<std::int32_t>& faceStart);
    // The grid over the picture's box from (minX, minY), `width` by
    // `height`, each cell listing the triangles that come near it.
    void buildGrid(double minX, double minY, double width, double height);
    // Calls `visit` with every cell triangle `t` comes within `margin` of.
    template <class Visit>
    void forCellsOf(const Triangle& t, double margin, Visit visit) const;
    int columnOf(double x) const;
    int rowOf(double y) const;
    bool clip(const Triangle& t, const double p[3], const double d[3], Span& span) const;

    std::vector<Triangle> triangles_;
    double scale_ = 1.0;
    double depthTolerance_ = 0.0;
    double edgeTolerance_ = 0.0;
    double minX_ = 0.0, minY_ = 0.0, cellWidth_ = 1.0, cellHeight_ = 1.0;
    int columns_ = 1, rows_ = 1;
    std::vector<std::uint32_t> cellStart_;  // CSR over the cells, row by row
    std::vector<std::uint32_t> cellTriangles_;
    mutable std::vector<std::uint32_t> seen_;  // the last query that met each triangle
    mutable std::uint32_t query_ = 0;
    static constexpr std::uint64_t mostMet = 400'000'000;
    mutable std::uint64_t met_ = 0;  // triangles met by all queries
};

// The complement of sorted disjoint spans within [0, 1]: the parts seen.
std::vector<Span> visibleSpans(const std::vector<Span>& hidden);

}  // namespace pd
