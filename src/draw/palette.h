#pragma once

#include "geometry/rgb.h"

namespace pd {

// The colours of a picture: the solid's and the dual's edges, faces and
// numbers. The classic palette is the program's blue and red; the other
// keeps the two shells apart for the most common colour blindness
// (deuteranopia), with the blue and orange of Okabe and Ito's palette (and
// their reddish purple for what a click lit; the classic lights in green).

enum class PaletteKind { Classic, Colourblind };

struct Palette {
    Rgb solidEdge, dualEdge;
    Rgb solidFace, dualFace;  // before shading
    Rgb solidText, dualText;
    Rgb litEdge, litFace;     // what a click lit: outlines and marks, filled faces
};

constexpr Palette classicPalette{
    {0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f},
    {0.62f, 0.76f, 1.0f}, {1.0f, 0.64f, 0.6f},
    {0.0f, 0.0f, 0.0f}, {0.6f, 0.0f, 0.0f},
    {0.0f, 0.6f, 0.15f}, {0.55f, 0.9f, 0.45f}};

constexpr Palette colourblindPalette{
    {0.0f, 0.447f, 0.698f}, {0.902f, 0.624f, 0.0f},
    {0.62f, 0.8f, 0.95f}, {1.0f, 0.82f, 0.55f},
    {0.0f, 0.0f, 0.0f}, {0.6f, 0.36f, 0.0f},
    {0.8f, 0.475f, 0.655f}, {0.94f, 0.78f, 0.88f}};

// The palette `kind` names.
constexpr const Palette& paletteOf(PaletteKind kind) {
    return kind == PaletteKind::Colourblind ? colourblindPalette : classicPalette;
}

}  // namespace pd
