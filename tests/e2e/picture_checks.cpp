#include "picture_checks.h"

#include <algorithm>
#include <cmath>

#include "console/colour.h"
#include "console/solid_drawing.h"

namespace pd {

namespace e2e {

namespace {

double distanceToSegment(double x, double y, PixelPosition a, PixelPosition b) {
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

std::string where(double x, double y) {
    return "(" + std::to_string(int(x)) + ", " + std::to_string(int(y)) + ")";
}

// A 4-pixel point centred at x covers the pixels round(x) - 2 to round(x) + 1:
// some such block within a pixel of the place holds the mark's colour and
// nothing but it, or red, drawn over it later.
bool markShows(const RgbImage& image, const ExpectedMark& mark) {
    const Pixel own = rgbOf(mark.colour), red = rgbOf(dualColour);
    const int cx = int(std::lround(mark.at.x)) - 2, cy = int(std::lround(mark.at.y)) - 2;
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            int ownSeen = 0, other = 0;
            for (int y = cy + oy; y < cy + oy + 4; ++y)
                for (int x = cx + ox; x < cx + ox + 4; ++x) {
                    const bool inside = image.contains(x, y);
                    if (inside && shows(image.at(x, y), own)) ++ownSeen;
                    else if (!inside || !shows(image.at(x, y), red)) ++other;
                }
            if (other == 0 && (ownSeen > 0 || mark.colour != dualColour)) return true;
        }
    return false;
}

}  // namespace

ExpectedPicture predictPicture(const VertexArrays& turned, int choice, int width, int height) {
    ExpectedPicture picture{width, height, {}, {}};
    Scene scene;
    addSolidEdges(choice, turned, scene);
    const Camera camera = cameraFor(planePoint(scene.boxMin), planePoint(scene.boxMax));
    const Projection projection = projectionFor(camera, planePoint(scene.boxMin), planePoint(scene.boxMax),
                                                width, height);
    const auto place = [&](Vec3 v) { return pixelOf(camera, projection, v.x, v.y); };
    for (const Segment& s : scene.segments)
        picture.segments.push_back({pixelOf(camera, projection, s.start.x, s.start.y),
                                    pixelOf(camera, projection, s.end.x, s.end.y), s.colour});
    if (!isSolidKind(choice)) return picture;
    const SolidInfo& info = solidInfo(static_cast<SolidKind>(choice));
    const std::string name = "solid " + std::to_string(choice);
    for (int i = 0; i < info.vertexCount; ++i)
        picture.marks.push_back({place(solidVerts(turned, info.kind)[i]), solidColour,
                                 name + " vertex " + std::to_string(i)});
    for (int i = 0; i < info.faceCount; ++i)
        picture.marks.push_back({place(dualVerts(turned, info.kind)[i]), dualColour,
                                 name + " dual vertex " + std::to_string(i)});
    return picture;
}

Pixel rgbOf(ColourCode code) {
    const Rgb* c = colourFor(code);
    const auto channel = [](float v) { return std::uint8_t(std::lround(v * 255.0f)); };
    return c ? Pixel{channel(c->red), channel(c->green), channel(c->blue)} : Pixel{};
}

bool shows(Pixel pixel, Pixel colour) { return nearColour(pixel, colour, 2); }

std::vector<std::string> comparePicture(const RgbImage& image, const ExpectedPicture& expected) {
    std::vector<std::string> problems;
    if (image.width != expected.width || image.height != expected.height)
        return {"the window is " + std::to_string(image.width) + "x" + std::to_string(image.height)};
    for (const ExpectedMark& mark : expected.marks)
        if (!markShows(image, mark)) problems.push_back(mark.name + ": no mark at " + where(mark.at.x, mark.at.y));
    const Pixel red = rgbOf(dualColour);
    for (const ExpectedSegment& s : expected.segments) {
        const double mx = (s.from.x + s.to.x) / 2, my = (s.from.y + s.to.y) / 2;
        bool drawn = false;
        for (int y = int(my) - 1; y <= int(my) + 1; ++y)
            for (int x = int(mx) - 1; x <= int(mx) + 1; ++x)
                drawn = drawn || (image.contains(x, y) &&
                                  (shows(image.at(x, y), rgbOf(s.colour)) || shows(image.at(x, y), red)));
        if (!drawn) problems.push_back("nothing drawn at the midpoint " + where(mx, my));
    }
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Pixel p = image.at(x, y);
            if (shows(p, clearColour)) continue;
            const bool border = x == 0 || y == 0 || x + 1 == image.width || y + 1 == image.height;
            const bool explained = std::any_of(expected.segments.begin(), expected.segments.end(),
                [&](const ExpectedSegment& s) {
                    return shows(p, rgbOf(s.colour)) && distanceToSegment(x + 0.5, y + 0.5, s.from, s.to) <= 4.3;
                });
            if ((border || !explained) && problems.size() < 40)
                problems.push_back(describe(p) + (border ? " on the border at " : " stray at ") + where(x, y));
        }
    return problems;
}

DrawnBounds drawnBounds(const RgbImage& image) {
    DrawnBounds b{image.width, image.height, -1, -1, 0};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (shows(image.at(x, y), clearColour)) continue;
            ++b.count;
            b.left = std::min(b.left, x), b.right = std::max(b.right, x);
            b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
        }
    return b.count ? b : DrawnBounds{};
}

}  // namespace e2e

}  // namespace pd
