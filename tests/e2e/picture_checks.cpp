#include "picture_checks.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "scene/colour.h"
#include "view/solid_drawing.h"

namespace e2e {

namespace {

std::string where(PixelPosition p) {
    std::ostringstream s;
    s.precision(1);
    s << std::fixed << "(" << p.x << ", " << p.y << ")";
    return s.str();
}

double distanceToSegment(double x, double y, PixelPosition a, PixelPosition b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

bool showsAny(Pixel pixel, const std::vector<Pixel>& colours) {
    return std::any_of(colours.begin(), colours.end(), [&](Pixel c) { return shows(pixel, c); });
}

}  // namespace

Pixel rgbOf(ColourCode code) {
    const ::Rgb* c = colourFor(code);  // the program's colour table, in floats
    if (c == nullptr) return {};
    const auto channel = [](float v) { return std::uint8_t(std::lround(v * 255.0f)); };
    return {channel(c->red), channel(c->green), channel(c->blue)};
}

bool shows(Pixel pixel, Pixel colour) { return nearColour(pixel, colour, 2); }

std::string checkMark(const RgbImage& image, const ExpectedMark& mark,
                      const std::vector<Pixel>& drawnOver, bool mayBeHidden) {
    const Pixel own = rgbOf(mark.colour);
    // A 4-pixel point centred at x covers the pixels round(x) - 2 to round(x) + 1.
    const int cx = int(std::lround(mark.at.x)) - 2;
    const int cy = int(std::lround(mark.at.y)) - 2;
    int seenOwn = 0, seenOver = 0, seenOther = 0;  // at the exact place, for the message
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            int nOwn = 0, nOver = 0, nOther = 0;
            for (int y = cy + oy; y < cy + oy + 4; ++y)
                for (int x = cx + ox; x < cx + ox + 4; ++x) {
                    if (!image.contains(x, y)) {
                        ++nOther;
                        continue;
                    }
                    const Pixel p = image.at(x, y);
                    if (shows(p, own))
                        ++nOwn;
                    else if (showsAny(p, drawnOver))
                        ++nOver;
                    else
                        ++nOther;
                }
            if (nOther == 0 && (nOwn > 0 || mayBeHidden)) return "";
            if (ox == 0 && oy == 0) {
                seenOwn = nOwn;
                seenOver = nOver;
                seenOther = nOther;
            }
        }
    std::ostringstream s;
    s << mark.name << ": no 4x4 mark of " << describe(own) << " at " << where(mark.at)
      << " (the block there holds " << seenOwn << " of its colour, " << seenOver
      << " of later colours, " << seenOther << " others)";
    return s.str();
}

std::string checkDrawnNear(const RgbImage& image, PixelPosition at, const std::vector<Pixel>& colours) {
    const int px = int(std::floor(at.x));
    const int py = int(std::floor(at.y));
    for (int y = py - 1; y <= py + 1; ++y)
        for (int x = px - 1; x <= px + 1; ++x)
            if (image.contains(x, y) && showsAny(image.at(x, y), colours)) return "";
    std::ostringstream s;
    s << "nothing drawn within a pixel of " << where(at);
    if (image.contains(px, py)) s << " (the pixel there is " << describe(image.at(px, py)) << ")";
    return s.str();
}

std::string checkBorderClear(const RgbImage& image) {
    long bad = 0;
    std::string first;
    const auto look = [&](int x, int y) {
        if (shows(image.at(x, y), clearColour)) return;
        if (bad++ == 0)
            first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " + describe(image.at(x, y));
    };
    for (int x = 0; x < image.width; ++x) {
        look(x, 0);
        look(x, image.height - 1);
    }
    for (int y = 1; y + 1 < image.height; ++y) {
        look(0, y);
        look(image.width - 1, y);
    }
    if (bad == 0) return "";
    return std::to_string(bad) + " border pixels are not the clear colour; the first, " + first;
}

std::string checkOnlyClear(const RgbImage& image) {
    const DrawnBounds b = drawnBounds(image);
    if (b.count == 0) return "";
    std::string first;
    for (int y = b.top; y <= b.bottom && first.empty(); ++y)
        for (int x = b.left; x <= b.right && first.empty(); ++x)
            if (!shows(image.at(x, y), clearColour))
                first = describe(image.at(x, y)) + " at (" + std::to_string(x) + ", " +
                        std::to_string(y) + ")";
    return std::to_string(b.count) + " pixels are not the clear colour, within (" +
           std::to_string(b.left) + ", " + std::to_string(b.top) + ") .. (" +
           std::to_string(b.right) + ", " + std::to_string(b.bottom) + "); the first is " + first;
}

std::string checkNothingStray(const RgbImage& image, const ExpectedPicture& expected, double reach) {
    long stray = 0;
    std::ostringstream examples;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = image.at(x, y);
            if (shows(p, clearColour)) continue;
            bool explained = false;
            for (const ExpectedSegment& s : expected.segments) {
                if (shows(p, rgbOf(s.colour)) &&
                    distanceToSegment(x + 0.5, y + 0.5, s.from, s.to) <= reach) {
                    explained = true;
                    break;
                }
            }
            if (explained) continue;
            if (stray++ < 5) examples << " (" << x << ", " << y << ") " << describe(p) << ";";
        }
    if (stray == 0) return "";
    return std::to_string(stray) + " pixels are drawn where no segment of their colour runs:" +
           examples.str();
}

std::vector<std::string> comparePicture(const RgbImage& image, const ExpectedPicture& expected) {
    std::vector<std::string> problems;
    const auto note = [&](std::string problem) {
        if (!problem.empty()) problems.push_back(std::move(problem));
    };
    if (image.width != expected.width || image.height != expected.height) {
        problems.push_back("the window is " + std::to_string(image.width) + "x" +
                           std::to_string(image.height) + ", expected " +
                           std::to_string(expected.width) + "x" + std::to_string(expected.height));
        return problems;
    }
    const Pixel red = rgbOf(dualColour);
    for (const ExpectedMark& mark : expected.marks) {
        const bool isDual = mark.colour == dualColour;
        // A red mark overlapping this blue one may hide it entirely.
        bool hidden = false;
        if (!isDual)
            for (const ExpectedMark& other : expected.marks)
                hidden = hidden || (other.colour == dualColour &&
                                    std::fabs(other.at.x - mark.at.x) < 4.0 &&
                                    std::fabs(other.at.y - mark.at.y) < 4.0);
        note(checkMark(image, mark, isDual ? std::vector<Pixel>{} : std::vector<Pixel>{red}, hidden));
    }
    for (const ExpectedSegment& s : expected.segments) {
        const PixelPosition middle{(s.from.x + s.to.x) / 2.0, (s.from.y + s.to.y) / 2.0};
        const std::vector<Pixel> colours =
            s.colour == dualColour ? std::vector<Pixel>{red} : std::vector<Pixel>{rgbOf(s.colour), red};
        std::string problem = checkDrawnNear(image, middle, colours);
        if (!problem.empty()) note(s.name + " midpoint: " + problem);
    }
    note(checkBorderClear(image));
    note(checkNothingStray(image, expected));
    return problems;
}

DrawnBounds drawnBounds(const RgbImage& image) {
    DrawnBounds b;
    b.left = image.width;
    b.top = image.height;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (shows(image.at(x, y), clearColour)) continue;
            ++b.count;
            b.left = std::min(b.left, x);
            b.right = std::max(b.right, x);
            b.top = std::min(b.top, y);
            b.bottom = std::max(b.bottom, y);
        }
    if (b.count == 0) b = DrawnBounds{};
    return b;
}

}  // namespace e2e
