#include "print/print_geometry.h"

// CGAL takes long to compile: everything of it the prints need stays in
// this one file.
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/connected_components.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/bbox.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Polygon_mesh_processing/orientation.h>
#include <CGAL/Polygon_mesh_processing/repair_degeneracies.h>
#include <CGAL/Polygon_mesh_processing/self_intersections.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/Surface_mesh.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>

#include "base/translate.h"
#include "geometry/edges.h"
#include "print/frame_pieces.h"

namespace pd {

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Point = Kernel::Point_3;
using Mesh = CGAL::Surface_mesh<Point>;
namespace PMP = CGAL::Polygon_mesh_processing;

constexpr int strutSides = 12;
constexpr int ballFrequency = 2;
// How many times a union is taken afresh, the points shaken differently,
// before its rounding is given up on.
constexpr int attempts = 4;

// Moves every point by up to a hundred-thousandth of the model's extent
// (0.3 micrometres at 60 mm), the same way for the same seed. The shells come in special position (a
// reciprocal pair's edges cross exactly, up to float rounding; struts of a
// cube lie in each other's planes), which exact arithmetic follows into
// slivers far thinner than a float can hold: rounded, they fold over.
// Shaken, the surfaces meet at angles and distances a float keeps, and
// a printer cannot tell.
class Shaker {
public:
    Shaker(unsigned seed, double extent) : random_(seed), amount_(1e-5 * extent) {}
    Vec3d operator()(Vec3d p) {
        return {p.x + amount_ * spread_(random_), p.y + amount_ * spread_(random_), p.z + amount_ * spread_(random_)};
    }

private:
    std::mt19937 random_;
    std::uniform_real_distribution<double> spread_{-1.0, 1.0};
    double amount_;
};

// Adds the faces over `points` to a new mesh; fails, naming `what`, when
// an edge would have more than two faces or some edge only one.
template <class Faces>
Result<Mesh> meshOf(const std::vector<Vec3d>& points, const Faces& faces, const std::string& what) {
    Mesh mesh;
    for (const Vec3d& p : points) mesh.add_vertex(Point(p.x, p.y, p.z));
    std::vector<Mesh::Vertex_index> ring;
    for (const auto& face : faces) {
        ring.clear();
        for (const std::int32_t c : face) ring.push_back(Mesh::Vertex_index(static_cast<std::uint32_t>(c)));
        if (mesh.add_face(ring) == Mesh::null_face())
            return failure(fill(tr("{1} is not a surface: some edge has more than two faces, or two faces turn apart"), {what}));
    }
    if (!CGAL::is_closed(mesh)) return failure(fill(tr("{1} is not closed"), {what}));
    return mesh;
}

// `shell`'s points scaled, then shaken.
std::vector<Vec3d> shellPoints(const Polyhedron& shell, double scale, Shaker& shake) {
    std::vector<Vec3d> points;
    for (const Vec3& v : shell.vertices) points.push_back(shake(widen(v) * scale));
    return points;
}

double extentOf(const Polyhedron& p, double scale) {
    double extent = 0;
    for (const Vec3& v : p.vertices) extent = std::max({extent, double(std::fabs(v.x)), double(std::fabs(v.y)), double(std::fabs(v.z))});
    return extent * scale;
}

// `shell` as a mesh over `points`, its faces cut into triangles (a face
// that is not convex, or not flat, as well), turned outward; fails for a
// shell that is no closed surface or crosses itself, which no union can be
// taken of.
Result<Mesh> shellMesh(const Polyhedron& shell, const std::vector<Vec3d>& points, const std::string& what) {
    std::vector<std::vector<std::int32_t>> faces;
    for (int f = 0; f < shell.faceCount(); ++f) faces.emplace_back(shell.face(f), shell.face(f) + shell.faceSize(f));
    Result<Mesh> mesh = meshOf(points, faces, what);
    if (!mesh) return mesh;
    if (!PMP::triangulate_faces(*mesh)) return failure(fill(tr("{1} has a face that cannot be cut into triangles"), {what}));
    if (PMP::does_self_intersect(*mesh)) return failure(fill(tr("{1} crosses itself"), {what}));
    if (PMP::volume(*mesh) < 0) PMP::reverse_face_orientations(*mesh);
    return mesh;
}

// Flips away caps (a corner almost on the opposite side) and collapses
// needles (a side far shorter than the others) thinner than a ten-thousandth
// of the mesh's size. Where two shells' edges cross, the union holds such
// triangles: exact, but so thin that the normal a float-holding reader works
// out for them points anywhere. What they change of the shape is far below
// what a printer draws.
void removeSlivers(Mesh& mesh) {
    const CGAL::Bbox_3 box = PMP::bbox(mesh);
    const double size = std::sqrt(CGAL::square(box.xmax() - box.xmin()) + CGAL::square(box.ymax() - box.ymin()) +
                                  CGAL::square(box.zmax() - box.zmin()));
    const double thin = 1e-4 * size;
    const double capCosine = -0.9998;  // a corner's angle over 178.9 degrees
    const double needleRatio = 1e3;
    PMP::experimental::remove_almost_degenerate_faces(
        mesh, capCosine, needleRatio, thin, CGAL::parameters::flip_triangle_height_threshold(thin));
}

// The nearest single-precision value: what an STL file holds.
double toFloat(const Kernel::FT& x) { return static_cast<float>(CGAL::to_double(x)); }

// `mesh` with its points rounded to single precision, as the coarsest of
// the files (STL) will hold them, if it is printable there: closed, no
// triangle of no area, none crossing another, bounding a positive volume.
// Where the exact surface had a triangle the rounding flattened, it is
// collapsed away first.
// How a message names the part `name` ("solid", "dual", "compound" or
// "frame"), which the files keep in English.
std::string partTitle(const std::string& name) {
    if (name == "solid") return tr("the solid");
    if (name == "dual") return tr("the dual");
    if (name == "frame") return tr("the frame");
    return tr("the compound");
}

Result<PrintPart> roundedPart(Mesh mesh, std::string name, Rgb colour) {
    removeSlivers(mesh);
    for (const Mesh::Vertex_index v : mesh.vertices()) {
        const Point& p = mesh.point(v);
        mesh.point(v) = Point(toFloat(p.x()), toFloat(p.y()), toFloat(p.z()));
    }
    const std::string title = partTitle(name);
    if (!PMP::remove_degenerate_faces(mesh)) return failure(fill(tr("{1} has triangles of no area once rounded"), {title}));
    if (!CGAL::is_closed(mesh)) return failure(fill(tr("{1} is not closed once rounded"), {title}));
    if (PMP::does_self_intersect(mesh)) return failure(fill(tr("{1} crosses itself once rounded"), {title}));
    if (!(PMP::volume(mesh) > 0)) return failure(fill(tr("{1} does not bound a volume"), {title}));
    mesh.collect_garbage();
    PrintPart part{std::move(name), colour, {}, {}};
    for (const Mesh::Vertex_index v : mesh.vertices()) {
        const Point& p = mesh.point(v);
        part.points.push_back({CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z())});
    }
    for (const Mesh::Face_index f : mesh.faces()) {
        std::array<std::int32_t, 3> t{};
        int k = 0;
        for (const Mesh::Vertex_index v : CGAL::vertices_around_face(mesh.halfedge(f), mesh))
            t[k++] = static_cast<std::int32_t>(v.idx());
        part.triangles.push_back(t);
    }
    return part;
}

bool positive(double x) { return std::isfinite(x) && x > 0; }

// One attempt at the compound, its points shaken by `seed`.
Result<CompoundPrint> compoundAttempt(const Polyhedron& solid, Rgb solidColour, const Polyhedron& dual,
                                      Rgb dualColour, double scale, unsigned seed) {
    Shaker shake(seed, std::max(extentOf(solid, scale), extentOf(dual, scale)));
    Result<Mesh> solidMesh = shellMesh(solid, shellPoints(solid, scale, shake), tr("the solid"));
    if (!solidMesh) return solidMesh.error();
    Result<Mesh> dualMesh = shellMesh(dual, shellPoints(dual, scale, shake), tr("the dual"));
    if (!dualMesh) return dualMesh.error();
    // One corefinement gives both: the union, and the dual less the solid;
    // it leaves the solid cut where the dual meets it, so the two colours'
    // surfaces share their corners where they touch.
    Mesh whole, dualOutside;
    std::array<boost::optional<Mesh*>, 4> outputs;
    outputs[PMP::Corefinement::UNION] = &whole;
    outputs[PMP::Corefinement::TM2_MINUS_TM1] = &dualOutside;
    const std::array<bool, 4> made = PMP::corefine_and_compute_boolean_operations(*solidMesh, *dualMesh, outputs);
    if (!made[PMP::Corefinement::UNION] || !made[PMP::Corefinement::TM2_MINUS_TM1])
        return failure(tr("the solid and its dual meet only along edges or at points: their union is no surface"));
    CompoundPrint print;
    Result<PrintPart> part = roundedPart(std::move(whole), "compound", solidColour);
    if (!part) return part.error();
    print.whole.parts.push_back(std::move(*part));
    part = roundedPart(std::move(*solidMesh), "solid", solidColour);
    if (!part) return part.error();
    print.coloured.parts.push_back(std::move(*part));
    if (dualOutside.number_of_faces() > 0) {
        part = roundedPart(std::move(dualOutside), "dual", dualColour);
        if (!part) return part.error();
        print.coloured.parts.push_back(std::move(*part));
    }
    return print;
}

// One attempt at the frame, its pieces shaken by `seed`.
Result<FramePrint> frameAttempt(const std::vector<PrintShell>& shells, double strutMm, double nodeMm, double scale,
                                unsigned seed) {
    double extent = 0;
    for (const PrintShell& shell : shells) extent = std::max(extent, extentOf(*shell.shape, scale));
    Shaker shake(seed, extent + nodeMm);
    // A strut ends inside the balls at its ends, its cap within them where
    // they are wide enough, rather than at their centres: struts meeting
    // there would cross each other's caps in one point.
    const double inner = nodeMm / 2 * 0.9, radius = strutMm / 2;
    const double tuck = inner > radius ? 0.5 * std::sqrt(inner * inner - radius * radius) : 0.0;
    // Every piece into one mesh, overlapping as they are; refined where
    // they cross and the patches inside others dropped, in one pass, which
    // is their union. (Joining them two by two instead takes each exact
    // crossing point of one round into the next, and the rationals grow.)
    Mesh frame;
    auto add = [&](PrintPart part) -> Status {
        const std::int32_t first = static_cast<std::int32_t>(frame.number_of_vertices());
        for (const Vec3d& p : part.points) {
            const Vec3d q = shake(p);
            frame.add_vertex(Point(q.x, q.y, q.z));
        }
        auto corner = [first](std::int32_t c) { return Mesh::Vertex_index(static_cast<std::uint32_t>(first + c)); };
        for (const auto& t : part.triangles)
            if (frame.add_face(corner(t[0]), corner(t[1]), corner(t[2])) == Mesh::null_face())
                return failure(tr("a frame's piece is not a surface"));
        return Done{};
    };
    for (const PrintShell& shell : shells) {
        const Polyhedron& p = *shell.shape;
        std::vector<std::vector<std::int32_t>> from(p.vertices.size());
        for (const Edge& e : deriveEdges(p)) from[e.a].push_back(e.b);
        for (int v = 0; v < p.vertexCount(); ++v) {
            const Vec3d a = widen(p.vertices[v]) * scale;
            if (Status s = add(ballPiece(a, nodeMm, ballFrequency)); !s) return s.error();
            for (const std::int32_t w : from[v]) {
                const Vec3d b = widen(p.vertices[w]) * scale;
                const double span = length(b - a);
                if (span <= 2 * tuck) continue;  // its balls overlap, joining its ends
                const Vec3d along = (b - a) * (tuck / span);
                if (Status s = add(strutPiece(a + along, b - along, strutMm, strutSides)); !s) return s.error();
            }
        }
    }
    if (!PMP::experimental::autorefine_and_remove_self_intersections(frame))
        return failure(tr("the frame's struts and balls could not be joined into one surface"));
    FramePrint print;
    Result<PrintPart> part = roundedPart(std::move(frame), "frame", shells.front().colour);
    if (!part) return part.error();
    // Counted on the rounded surface: pieces that touch in a point only
    // would print apart.
    Result<Mesh> rounded = meshOf(part->points, part->triangles, tr("the frame"));
    if (!rounded) return rounded.error();
    auto component = rounded->add_property_map<Mesh::Face_index, std::size_t>("f:component", 0).first;
    print.pieces = static_cast<int>(PMP::connected_components(*rounded, component));
    print.model.parts.push_back(std::move(*part));
    return print;
}

}  // namespace

Result<CompoundPrint> solidCompound(const Polyhedron& solid, Rgb solidColour, const Polyhedron& dual,
                                    Rgb dualColour, double scale) {
    if (!positive(scale)) return failure(tr("the print's scale must be above zero"));
    Result<CompoundPrint> print = failure("");
    for (unsigned seed = 1; seed <= attempts; ++seed)
        if ((print = compoundAttempt(solid, solidColour, dual, dualColour, scale, seed))) break;
    return print;
}

Result<FramePrint> frameOf(const std::vector<PrintShell>& shells, double strutMm, double nodeMm, double scale) {
    if (shells.empty()) return failure(tr("a frame needs a shell"));
    if (!positive(strutMm) || !positive(nodeMm) || !positive(scale))
        return failure(tr("the frame's struts, balls and scale must be above zero"));
    Result<FramePrint> print = failure("");
    for (unsigned seed = 1; seed <= attempts; ++seed)
        if ((print = frameAttempt(shells, strutMm, nodeMm, scale, seed))) break;
    return print;
}

}  // namespace pd
