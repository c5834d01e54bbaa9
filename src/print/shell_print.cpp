#include "print/shell_print.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geometry/edges.h"

#include "base/translate.h"

namespace pd {

Result<double> printScale(const std::vector<PrintShell>& shells, const PrintSettings& settings) {
    if (shells.empty() || shells[0].shape == nullptr) return failure(tr("there is no shell to print"));
    if (settings.edgeMm > 0.0) {
        // Every edge of a closed shell is the side of two faces, so the mean
        // side of the faces is its mean edge.
        const Polyhedron& p = *shells[0].shape;
        double sum = 0.0;
        for (int f = 0; f < p.faceCount(); ++f)
            for (int i = 0, n = p.faceSize(f); i < n; ++i)
                sum += length(widen(p.vertices[p.face(f)[i]]) - widen(p.vertices[p.face(f)[(i + 1) % n]]));
        const double mean = sum / double(std::max<std::size_t>(p.corners.size(), 1));
        if (!(mean > 0.0)) return failure(tr("the shell has no edges to measure"));
        return settings.edgeMm / mean;
    }
    Vec3d low{HUGE_VAL, HUGE_VAL, HUGE_VAL}, high{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const PrintShell& shell : shells)
        for (const Vec3& v : shell.shape->vertices) {
            low = {std::min(low.x, double(v.x)), std::min(low.y, double(v.y)), std::min(low.z, double(v.z))};
            high = {std::max(high.x, double(v.x)), std::max(high.y, double(v.y)), std::max(high.z, double(v.z))};
        }
    const double extent = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
    if (!(extent > 0.0)) return failure(tr("there is nothing to print: the shells' points are all one point"));
    return settings.sizeMm / extent;
}

namespace {

// `mm` to a tenth (rounded up for what is needed), without a trailing ".0".
std::string millimetres(double mm, bool up = true) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", up ? std::ceil(mm * 10.0 - 1e-9) / 10.0 : mm);
    std::string out = text;
    if (out.size() > 2 && out.compare(out.size() - 2, 2, ".0") == 0) out.resize(out.size() - 2);
    return out;
}

}  // namespace

Status frameFits(const std::vector<PrintShell>& shells, const PrintSettings& settings, double scale) {
    double shortest = HUGE_VAL;
    for (const PrintShell& shell : shells)
        for (const Edge& e : deriveEdges(*shell.shape))
            shortest = std::min(shortest, length(widen(shell.shape->vertices[e.a]) - widen(shell.shape->vertices[e.b])));
    shortest *= scale;
    const double node = settings.nodeMm > 0.0 ? settings.nodeMm : nodePerStrut * settings.strutMm;
    const double need = node + settings.strutMm;
    if (!(shortest < need)) return Done{};
    const bool byEdge = settings.edgeMm > 0.0;
    const double smallest = (byEdge ? settings.edgeMm : settings.sizeMm) * need / shortest;
    return failure(fill(tr("struts of {1} mm and balls of {2} mm need edges of at least {3} mm, and the shortest "
                           "is {4} mm: {5} {6} is the smallest size that works"),
                        {millimetres(settings.strutMm), millimetres(node), millimetres(need), millimetres(shortest, false),
                         byEdge ? "--edge-mm" : "--size-mm", millimetres(smallest)}));
}

double enclosedVolume(const PrintPart& part) {
    // The sum of the tetrahedra each triangle makes with the origin.
    double sixfold = 0.0;
    for (const auto& t : part.triangles)
        sixfold += dot(part.points[t[0]], cross(part.points[t[1]], part.points[t[2]]));
    return sixfold / 6.0;
}

PrintModel shellsAsPrint(const std::vector<PrintShell>& shells, double scale) {
    PrintModel model;
    for (const PrintShell& shell : shells) {
        const Polyhedron& p = *shell.shape;
        PrintPart part;
        part.name = shell.name;
        part.colour = shell.colour;
        for (const Vec3& v : p.vertices) part.points.push_back(widen(v) * scale);
        for (int f = 0; f < p.faceCount(); ++f) {
            const std::int32_t* c = p.face(f);
            const int n = p.faceSize(f);
            // Newell's normal says which way the corners turn.
            Vec3d turn{0.0, 0.0, 0.0};
            for (int i = 0; i < n; ++i) turn += cross(widen(p.vertices[c[i]]), widen(p.vertices[c[(i + 1) % n]]));
            const bool reversed = shell.normals && std::size_t(f) < shell.normals->size() &&
                                  dot(turn, widen((*shell.normals)[f])) < 0.0;
            for (int i = 1; i + 1 < n; ++i) {
                if (reversed)
                    part.triangles.push_back({c[0], c[i + 1], c[i]});
                else
                    part.triangles.push_back({c[0], c[i], c[i + 1]});
            }
        }
        model.parts.push_back(std::move(part));
    }
    return model;
}

}  // namespace pd
