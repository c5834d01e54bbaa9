#include "hull/convex_hull.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

namespace pd {

namespace {

constexpr int mostMergedPoints = 4096;

// qhull leaves through longjmp on an error; outside qh_new_qhull the jump
// target must be set by hand, or qhull calls exit(). Kept free of C++
// objects, so the jump skips no destructor.
int findVertexNeighbours(qhT* qh) {
    const int code = setjmp(qh->errexit);
    if (code == 0) {
        qh->NOerrexit = False;
        qh_vertexneighbors(qh);
    }
    qh->NOerrexit = True;
    return code;
}

// The first line qhull wrote, without its message number.
std::string firstLine(const char* text, std::size_t size) {
    std::string line(text, size);
    line = line.substr(0, line.find('\n'));
    const std::size_t colon = line.find(": ");
    if (line.rfind("QH", 0) == 0 && colon != std::string::npos) line = line.substr(colon + 2);
    return line.empty() ? "qhull failed" : line;
}

void collect(qhT* qh, int pointCount, ConvexHull& out) {
    facetT* facet;
    vertexT* vertex;
    vertexT** vertexp;
    facetT* neighbor;
    facetT** neighborp;
    unsigned int index = 0;
    FORALLfacets {
        facet->visitid = index++;
        out.normals.push_back({facet->normal[0], facet->normal[1], facet->normal[2]});
        out.offsets.push_back(facet->offset);
        FOREACHvertex_(facet->vertices) out.facetPoints.push_back(qh_pointid(qh, vertex->point));
        out.facetStart.push_back(static_cast<int>(out.facetPoints.size()));
    }
    // Facets per point, counted first so they can be laid out flat.
    out.pointStart.assign(static_cast<std::size_t>(pointCount) + 1, 0);
    FORALLvertices out.pointStart[qh_pointid(qh, vertex->point) + 1] = qh_setsize(qh, vertex->neighbors);
    for (int i = 0; i < pointCount; ++i) out.pointStart[i + 1] += out.pointStart[i];
    out.pointFacets.resize(static_cast<std::size_t>(out.pointStart[pointCount]));
    FORALLvertices {
        int slot = out.pointStart[qh_pointid(qh, vertex->point)];
        FOREACHneighbor_(vertex) out.pointFacets[slot++] = static_cast<int>(neighbor->visitid);
    }
}

}  // namespace

Result<ConvexHull> convexHull(const std::vector<Vec3d>& points, bool triangulated) {
    const int count = static_cast<int>(points.size());
    if (count < 4) return failure("a hull in space needs at least four points");
    std::vector<coordT> coordinates;
    coordinates.reserve(3 * points.size());
    for (const Vec3d& p : points) coordinates.insert(coordinates.end(), {p.x, p.y, p.z});

    // qhull's messages go to memory: a library does not print.
    char* messages = nullptr;
    std::size_t messagesSize = 0;
    std::FILE* errors = open_memstream(&messages, &messagesSize);
    if (errors == nullptr) return failure("no memory for qhull's messages");
    qhT state;
    qhT* qh = &state;
    qh_zero(qh, errors);
    // Merging many points of one plane (a cap of a prism with thousands of
    // corners) costs qhull about the square of their number; joggling the
    // input by a few units in its last places leaves no points in one plane.
    const bool joggled = triangulated && count > mostMergedPoints;
    char options[16];
    std::snprintf(options, sizeof options, "%s", joggled ? "qhull QJ" : triangulated ? "qhull Qt" : "qhull");
    int code = qh_new_qhull(qh, 3, count, coordinates.data(), False, options, nullptr, errors);
    if (code == 0) code = findVertexNeighbours(qh);
    ConvexHull hull;
    if (code == 0) collect(qh, count, hull);
    qh_freeqhull(qh, !qh_ALL);
    int stillLong = 0, totalLong = 0;
    qh_memfreeshort(qh, &stillLong, &totalLong);
    std::fclose(errors);
    const std::string complaint = firstLine(messages, messagesSize);
    std::free(messages);
    if (code != 0) return failure("qhull: " + complaint);
    return hull;
}

}  // namespace pd
