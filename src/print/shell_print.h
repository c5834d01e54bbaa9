#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "geometry/polyhedron.h"
#include "geometry/rgb.h"
#include "print/print_model.h"

namespace pd {

// How a print is made and how large: a closed surface of each shell, or
// every edge a strut and every vertex a ball.
enum class PrintKind { Solid, Frame };

// Default longest extent of a print, in millimetres.
constexpr double defaultPrintSizeMm = 60.0;
// Default and least strut diameter of a frame, in millimetres.
constexpr double defaultStrutMm = 2.0;
constexpr double minStrutMm = 1.0;
// A frame's balls by default, as many struts across.
constexpr double nodePerStrut = 1.6;

struct PrintSettings {
    PrintKind kind = PrintKind::Solid;
    double strutMm = defaultStrutMm;
    double nodeMm = 0.0;  // 0: nodePerStrut struts
    // The print's longest extent; with edgeMm > 0 the first shell's mean
    // edge sets the size instead.
    double sizeMm = defaultPrintSizeMm;
    double edgeMm = 0.0;
    // Two shells printed solid: one surface, their union (STL), or a part
    // per colour that meets the other without overlapping (3MF, glTF).
    bool oneSurface = true;
};

// One shell to print: its faces (convex, each turning either way) with
// their outward normals, its colour and the name of its part.
struct PrintShell {
    const Polyhedron* shape = nullptr;
    const std::vector<Vec3>* normals = nullptr;
    Rgb colour{};
    std::string name;
};

// Millimetres per unit of the shells' coordinates: the first shell's mean
// edge made settings.edgeMm when it is given, else the longest side of the
// box about all the shells made settings.sizeMm. An error when the shells
// have no extent or no edges to measure.
Result<double> printScale(const std::vector<PrintShell>& shells, const PrintSettings& settings);

// Refuses a frame too small for its struts: every edge, at `scale`, must
// be at least a ball and a strut long, so a strut shows between the balls
// at its ends. The message names the sizes and the smallest --edge-mm (when
// settings.edgeMm is given) or --size-mm that works.
Status frameFits(const std::vector<PrintShell>& shells, const PrintSettings& settings, double scale);

// The volume a part's triangles enclose, positive when they turn outward
// (in cubic units of its points; 0 for a flat part).
double enclosedVolume(const PrintPart& part);

// Each shell a part of its own, scaled by `scale` about the origin, its
// faces cut into fans of triangles turning counter-clockwise seen from
// outside (by the face's outward normal). Nothing is joined: shells that
// cross stay crossing, so a model of more than one shell is a print only
// where they do not meet.
PrintModel shellsAsPrint(const std::vector<PrintShell>& shells, double scale);

}  // namespace pd
