#pragma once

#include <cstdint>
#include <vector>

#include "geometry/polyhedron.h"
#include "geometry/mat3.h"

namespace pd {

// Front and back for the program's view: vertices turned by
// rotationAboutX(a), then by rotationAboutY(b), seen from +z looking along -z.
// A face faces the viewer when its outward normal, turned the same way, has
// z > 0; a back edge is one whose faces all face away. Made for convex
// models; on others the answer is that of the faces' own normals.

// isBack[i] = 1 when edge i's faces (one or two) all face away after the two
// turns, else 0; resized to edges.size(). Linear, cheap enough for every
// frame: one turned z per face.
void classifyBackEdges(const std::vector<Vec3>& normals, const std::vector<Edge>& edges,
                       const Mat3& xTurn, const Mat3& yTurn, std::vector<std::uint8_t>& isBack);

// hasEdge[v] = 1 when some edge at vertex v is drawn while back edges are
// hidden (isBack 0), else 0; resized to vertexCount. A vertex without one
// shows no mark then.
void verticesWithDrawnEdge(const std::vector<Edge>& edges, const std::vector<std::uint8_t>& isBack,
                           int vertexCount, std::vector<std::uint8_t>& hasEdge);

}  // namespace pd
