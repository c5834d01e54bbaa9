#pragma once

#include <string>
#include <vector>

#include "picture_prediction.h"
#include "xwindow.h"

namespace e2e {

// The 8-bit colour a colour code is drawn in (codes 0 to 9).
Pixel rgbOf(ColourCode code);

// True when `pixel` shows `colour`, allowing 2 per channel for conversion.
bool shows(Pixel pixel, Pixel colour);

// Each check returns an empty string when the picture passes, otherwise what
// is wrong, in words.

// A 4 x 4 mark of the mark's colour stands at its predicted place, allowing
// one pixel of rounding in either direction: some 4 x 4 block within a pixel
// of the place holds only the mark's colour or colours in `drawnOver` (drawn
// later, so they may cross it), and at least one pixel of the mark's own
// colour unless `mayBeHidden` (a later mark covers the place).
std::string checkMark(const RgbImage& image, const ExpectedMark& mark,
                      const std::vector<Pixel>& drawnOver, bool mayBeHidden);

// Some pixel within one pixel of `at` shows one of `colours`.
std::string checkDrawnNear(const RgbImage& image, PixelPosition at, const std::vector<Pixel>& colours);

// Every pixel of the outermost rows and columns shows the clear colour.
std::string checkBorderClear(const RgbImage& image);

// Every pixel shows the clear colour.
std::string checkOnlyClear(const RgbImage& image);

// Every pixel that is not the clear colour shows the colour of some
// expected segment and lies within `reach` pixels of it (lines and marks
// included): nothing is drawn where no segment should be.
std::string checkNothingStray(const RgbImage& image, const ExpectedPicture& expected,
                              double reach = 4.3);

// All the checks of a drawn solid: every mark at its place (red marks are
// drawn last and may cross blue ones), the midpoint of every segment on a
// line of its colour (or red, over blue), a clear border, nothing stray.
// Returns the problems found, none when the picture is right.
std::vector<std::string> comparePicture(const RgbImage& image, const ExpectedPicture& expected);

// The smallest box holding every pixel that is not the clear colour, and how
// many such pixels there are (count 0 when there are none).
struct DrawnBounds {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    long count = 0;
};
DrawnBounds drawnBounds(const RgbImage& image);

}  // namespace e2e
