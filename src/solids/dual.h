#pragma once

#include <array>
#include <string>
#include <vector>

#include "solids/solid_files.h"
#include "solids/solid_table.h"

namespace pd {

// One face with its corners copied in; corners past the solid's
// cornerCount carry no meaning.
struct Face {
    std::array<Vec3, maxCorners> corners{};
};

using FaceRecords = std::array<Face, maxFaceRows>;

// The factor that turns a face's corner sum into its dual vertex: 0.33 for
// triangles (not a third), 0.25 for squares, 0.2 for pentagons.
double centroidFactor(SolidKind kind);

// A face's dual vertex from its corner sum, already rounded to float: the
// sum times `factor` in double, rounded to float again.
Vec3 scaledCornerSum(Vec3 sum, double factor);

// Fills positions 0 to faceCount - 1 of `dual` from the face rows: the
// corners summed in double in the solid's summing order, rounded to float,
// then times centroidFactor, rounded again. Every row must name vertices
// within 1 to vertexCount, as readFaceColumns makes sure.
void computeDualVerts(SolidKind kind, const VertexArray& verts,
                      const FaceColumns& columns, VertexArray& dual);

// Copies each face's corners from `verts` into `records`, rows 0 to
// faceCount - 1. Same precondition as computeDualVerts.
void fillFaceRecords(SolidKind kind, const VertexArray& verts,
                     const FaceColumns& columns, FaceRecords& records);

// True when some corner p of `a` equals corner q of `b` (all three
// coordinates exactly) for places p < q < cornerCount. Not symmetric.
bool sharesCornerPair(Face a, Face b, int cornerCount);

// The dual vertex file's text: one "%f %f %f\n" line per dual vertex.
std::string formatDualVerts(SolidKind kind, const VertexArray& dual);

// The pair file's text: faceCount lines, line i holding " i-j " for every j
// (in increasing order) with sharesCornerPair(face i, face j).
std::string formatPairs(SolidKind kind, const FaceRecords& records);

// Builds all five duals in table order: clears the dual arrays, then per
// solid reads its face rows, computes and writes its dual vertex file, and
// writes its pair file. readFaceRows' error as soon as it fails; what was
// written up to then stays. Output files that cannot be created or written
// add warnings (see solid_files.h) and are skipped.
Status buildDuals(SolidFileSet& files, VertexArrays& arrays, FaceColumns& columns, FaceRecords& records,
                  std::vector<Error>& warnings);

}  // namespace pd
