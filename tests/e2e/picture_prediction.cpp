#include "picture_prediction.h"

#include "view/edge_tables.h"
#include "view/solid_drawing.h"

namespace e2e {

std::string solidName(int choice) {
    static const char* const names[] = {"tetrahedron", "cube", "octahedron", "dodecahedron",
                                        "icosahedron"};
    return isSolidKind(choice) ? names[choice - 1] : "choice " + std::to_string(choice);
}

ExpectedPicture predictPicture(const VertexArrays& turned, int choice, int width, int height) {
    ExpectedPicture picture;
    picture.width = width;
    picture.height = height;

    Scene scene;
    addSolidEdges(choice, turned, scene);
    picture.boxMin = scene.boxMin;
    picture.boxMax = scene.boxMax;
    const Camera camera = cameraFor(scene.boxMin, scene.boxMax);
    const Projection projection = projectionFor(camera, scene.boxMin, scene.boxMax, width, height);
    const auto place = [&](float x, float y) { return pixelOf(camera, projection, x, y); };

    if (!isSolidKind(choice)) return picture;
    const SolidKind kind = static_cast<SolidKind>(choice);
    const SolidInfo& info = solidInfo(kind);
    const std::string solid = solidName(choice);

    const VertexArray& verts = solidVerts(turned, kind);
    for (int i = 0; i < info.vertexCount; ++i)
        picture.marks.push_back({place(verts[i].x, verts[i].y), solidColour,
                                 solid + " vertex " + std::to_string(i)});
    const VertexArray& dual = dualVerts(turned, kind);
    for (int i = 0; i < info.faceCount; ++i)
        picture.marks.push_back({place(dual[i].x, dual[i].y), dualColour,
                                 solid + "'s dual vertex " + std::to_string(i)});

    // The tables only name the segments; where they run comes from the scene.
    const EdgeList solidTable = solidEdges(kind);
    const EdgeList dualTable = dualEdges(kind);
    int k = 0;
    for (const Segment& s : scene.segments) {
        if (k >= solidTable.count + dualTable.count) break;  // the tables say no more
        const bool ofDual = k >= solidTable.count;
        const EdgePair pair = ofDual ? dualTable.pairs[k - solidTable.count] : solidTable.pairs[k];
        const int order = (ofDual ? k - solidTable.count : k) + 1;
        picture.segments.push_back(
            {place(s.start.x, s.start.y), place(s.end.x, s.end.y), s.colour,
             solid + (ofDual ? "'s dual edge " : " edge ") + std::to_string(order) + " (" +
                 std::to_string(pair.first) + "-" + std::to_string(pair.second) + ")"});
        ++k;
    }
    return picture;
}

}  // namespace e2e
