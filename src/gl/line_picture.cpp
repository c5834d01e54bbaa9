#include "gl/line_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <system_error>
#include <thread>

#include "geometry/framing.h"

namespace pd {

namespace {

// The 4x multisample pattern: one sample in each quarter of a pixel's
// height, each at its own offset across, as (x, y) from the pixel's
// lower left corner.
constexpr std::array<double, 4> sampleX = {0.375, 0.875, 0.125, 0.625};
constexpr std::array<double, 4> sampleY = {0.125, 0.375, 0.625, 0.875};

// Palette entry 0 is the background, entry 1 + s shell s's colour.
constexpr std::size_t mostShells = 254;

// A colour channel as GL stores it in 8 bits: c * 255 in float, rounded
// to the nearest, halves to even (0.9 is 230, as a GL clear gives it).
std::uint8_t unorm(float c) {
    if (!(c > 0.0f)) return 0;
    if (c >= 1.0f) return 255;
    return std::uint8_t(std::nearbyint(c * 255.0f));
}

// The segments of one frame in GL's window coordinates (pixels, y up),
// drawn into one byte a pixel (aliased) or four (smooth), a palette
// index, in the rows `low` .. `high` of `index` only: bands of rows are
// drawn side by side, each from every segment.
class Canvas {
public:
    Canvas(int width, int height, double lineWidth, bool smooth, std::uint8_t* index, long low, long high)
        : width_(width), height_(height), smooth_(smooth), halfWidth_(lineWidth / 2.0),
          rows_(std::max(1L, std::lround(lineWidth))), low_(low), high_(high), index_(index) {}

    void segment(double x0, double y0, double x1, double y1, std::uint8_t colour) {
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
        if (smooth_)
            rectangle(x0, y0, x1, y1, colour);
        else if (std::abs(x1 - x0) >= std::abs(y1 - y0))
            aliased(x0, y0, x1, y1, colour, false);
        else
            aliased(y0, x0, y1, x1, colour, true);
    }

    // An end mark: a square `size` pixels on a side centred on (x, y), as
    // GL draws a point that size (an aliased one covers size x size whole
    // pixels).
    void square(double x, double y, double size, std::uint8_t colour) {
        if (!std::isfinite(x) || !std::isfinite(y) || !(size > 0.0)) return;
        const double half = size / 2.0;
        if (smooth_) {
            for (int s = 0; s < 4; ++s) {
                long firstCol, lastCol, firstRow, lastRow;
                samplesWithin(x - half, x + half, sampleX[std::size_t(s)], width_, firstCol, lastCol);
                samplesWithin(y - half, y + half, sampleY[std::size_t(s)], height_, firstRow, lastRow);
                firstRow = std::max(firstRow, low_), lastRow = std::min(lastRow, high_);
                for (long j = firstRow; j <= lastRow; ++j)
                    for (long i = firstCol; i <= lastCol; ++i)
                        cell(i, j, s) = colour;
            }
            return;
        }
        // GL moves the centre to a pixel's centre for an odd side, to a
        // corner for an even one, so that whole pixels are covered.
        const double side = std::max(1.0, std::round(size));
        const bool odd = std::fmod(side, 2.0) == 1.0;
        const double sx = odd ? std::floor(x) + 0.5 : std::floor(x + 0.5);
        const double sy = odd ? std::floor(y) + 0.5 : std::floor(y + 0.5);
        long firstCol, lastCol, firstRow, lastRow;
        samplesWithin(sx - side / 2.0, sx + side / 2.0, 0.5, width_, firstCol, lastCol);
        samplesWithin(sy - side / 2.0, sy + side / 2.0, 0.5, height_, firstRow, lastRow);
        firstRow = std::max(firstRow, low_), lastRow = std::min(lastRow, high_);
        for (long j = firstRow; j <= lastRow; ++j)
            for (long i = firstCol; i <= lastCol; ++i) cell(i, j, 0) = colour;
    }

private:
    // Sample s (0 when aliased) of pixel (i, j), counted from the lower left.
    std::uint8_t& cell(long i, long j, int s) {
        const std::size_t pixel = std::size_t(j) * std::size_t(width_) + std::size_t(i);
        return index_[smooth_ ? 4 * pixel + std::size_t(s) : pixel];
    }

    // The cells c, within 0 .. size - 1, whose point c + offset lies in
    // [lo, hi); empty when first > last.
    static void samplesWithin(double lo, double hi, double offset, long size, long& first, long& last) {
        // Clamped both ways before the conversion: a far segment's cells
        // lie beyond what a long holds.
        const double a = std::clamp(std::ceil(lo - offset), 0.0, double(size));
        const double b = std::clamp(std::ceil(hi - offset) - 1.0, -1.0, double(size - 1));
        first = long(a), last = a > b ? first - 1 : long(b);
    }

    // The cells c whose centre c + 0.5 lies on the way from a to b, the
    // end excluded (GL leaves a segment's last pixel to the next one),
    // within 0 .. size - 1; empty when first > last.
    static void cellsAlong(double a, double b, long size, long& first, long& last) {
        double lo, hi;
        if (b > a) {
            lo = std::ceil(a - 0.5), hi = std::ceil(b - 0.5) - 1.0;
        } else {
            lo = std::floor(b - 0.5) + 1.0, hi = std::floor(a - 0.5);
        }
        lo = std::clamp(lo, 0.0, double(size)), hi = std::clamp(hi, -1.0, double(size - 1));
        first = long(lo), last = lo > hi ? first - 1 : long(hi);
    }

    // One pixel per cell along the major axis (u; v across it), a line
    // width's worth of them across. `swapped` when u is y.
    void aliased(double u0, double v0, double u1, double v1, std::uint8_t colour, bool swapped) {
        if (u0 == u1) return;  // no length: GL draws nothing
        const long along = swapped ? height_ : width_, across = swapped ? width_ : height_;
        long first, last;
        cellsAlong(u0, u1, along, first, last);
        if (swapped) first = std::max(first, low_), last = std::min(last, high_);
        const double slope = (v1 - v0) / (u1 - u0), half = double(rows_) / 2.0;
        for (long i = first; i <= last; ++i) {
            // Across, the pixels whose centres lie within half the width
            // below the line to (not including) half above it.
            const double v = v0 + (double(i) + 0.5 - u0) * slope;
            long low, high;
            samplesWithin(v - half, v + half, 0.5, across, low, high);
            if (!swapped) low = std::max(low, low_), high = std::min(high, high_);
            for (long j = low; j <= high; ++j) cell(swapped ? j : i, swapped ? i : j, 0) = colour;
        }
    }

    // The segment as the rectangle a multisampled GL draws: half the line
    // width to either side, from end to end; every sample inside it takes
    // the colour. Along each row of samples the rectangle is one interval,
    // found from the two slabs that make it.
    void rectangle(double x0, double y0, double x1, double y1, std::uint8_t colour) {
        const double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
        if (!(length > 0.0)) return;
        const double ux = dx / length, uy = dy / length, h = halfWidth_;
        // Corners' heights bound the rows of samples to visit.
        const double ext = h * std::abs(ux);
        const double bottom = std::max(std::min(y0, y1) - ext, 0.0);
        const double top = std::min(std::max(y0, y1) + ext, double(height_));
        if (bottom >= top) return;
        const long firstRow = std::max(long(std::floor(bottom)), low_);
        const long lastRow = std::min(std::min(long(std::ceil(top)), long(height_)) - 1, high_);
        for (long j = firstRow; j <= lastRow; ++j) {
            for (int s = 0; s < 4; ++s) {
                const double y = double(j) + sampleY[std::size_t(s)] - y0;
                // Along: 0 <= (x - x0) ux + y uy <= length; across: |-(x - x0) uy + y ux| <= h.
                double lo = -HUGE_VAL, hi = HUGE_VAL;
                if (!slab(ux, y * uy, 0.0, length, lo, hi) || !slab(-uy, y * ux, -h, h, lo, hi)) continue;
                // Samples at x = x0 + t, t in [lo, hi): columns i with i + sampleX in it.
                const double off = sampleX[std::size_t(s)];
                const double firstCol = std::max(std::ceil(x0 + lo - off), 0.0);
                const double lastCol = std::min(std::ceil(x0 + hi - off) - 1.0, double(width_ - 1));
                for (double i = firstCol; i <= lastCol; i += 1.0) cell(long(i), j, s) = colour;
            }
        }
    }

    // Narrows [lo, hi) to the t with min <= a t + b <= max; false when
    // nothing is left.
    static bool slab(double a, double b, double min, double max, double& lo, double& hi) {
        if (a == 0.0) return b >= min && b <= max && lo < hi;
        double t0 = (min - b) / a, t1 = (max - b) / a;
        if (t0 > t1) std::swap(t0, t1);
        lo = std::max(lo, t0), hi = std::min(hi, t1);
        return lo < hi;
    }

    int width_;
    int height_;
    bool smooth_;
    double halfWidth_;
    long rows_;
    long low_;
    long high_;
    std::uint8_t* index_;
};

}  // namespace

bool isFlatLineDrawing(const Frame& frame) {
    if (frame.faceStyle != FaceStyle::Off || frame.depthTested || frame.lit.start.size() > 1) return false;
    if (frame.shells.size() > mostShells || !(frame.lineWidth > 0.0)) return false;
    for (const FrameShell& shell : frame.shells)
        if (!shell.dashed.empty()) return false;
    return true;
}

std::vector<std::uint8_t> drawLinePicture(const Frame& frame, bool smooth) {
    const int w = frame.projection.viewportWidth, h = frame.projection.viewportHeight;
    if (!isFlatLineDrawing(frame) || w < 1 || h < 1) return {};
    std::vector<std::array<std::uint8_t, 4>> palette{
        {unorm(frame.background.red), unorm(frame.background.green), unorm(frame.background.blue),
         std::uint8_t(frame.transparent ? 0 : 255)}};
    for (const FrameShell& shell : frame.shells)
        palette.push_back({unorm(shell.colour.red), unorm(shell.colour.green), unorm(shell.colour.blue), 255});
    const std::size_t pixels = std::size_t(w) * std::size_t(h), samples = smooth ? 4 : 1;
    std::vector<std::uint8_t> index(pixels * samples, 0), rgba(pixels * 4);

    // Rows low .. high, from every segment and mark, then their pixels.
    auto band = [&](long low, long high) {
        Canvas canvas(w, h, frame.lineWidth, smooth, index.data(), low, high);
        for (std::size_t s = 0; s < frame.shells.size(); ++s) {
            const FrameShell& shell = frame.shells[s];
            const std::size_t points = shell.xy.size() / 2;
            // GL's window coordinates: the point's pixel position with y turned up.
            auto at = [&](std::uint32_t v) {
                const PixelPosition p = pixelOf(frame.camera, frame.projection, shell.xy[2 * v], shell.xy[2 * v + 1]);
                return PixelPosition{p.x, double(h) - p.y};
            };
            for (std::size_t k = 0; k + 1 < shell.lines.size(); k += 2) {
                const std::uint32_t a = shell.lines[k], b = shell.lines[k + 1];
                if (a >= points || b >= points) continue;
                const PixelPosition from = at(a), to = at(b);
                canvas.segment(from.x, from.y, to.x, to.y, std::uint8_t(s + 1));
            }
            const double markSize = shell.markSize > 0.0 ? shell.markSize : frame.markSize;
            for (const std::uint32_t v : shell.marks)
                if (v < points) {
                    const PixelPosition mark = at(v);
                    canvas.square(mark.x, mark.y, markSize, std::uint8_t(s + 1));
                }
        }
        for (std::size_t p = std::size_t(low) * std::size_t(w); p < std::size_t(high + 1) * std::size_t(w); ++p) {
            const std::uint8_t* at = &index[samples * p];
            for (std::size_t c = 0; c < 4; ++c) {
                unsigned sum = 0;
                for (std::size_t k = 0; k < samples; ++k) sum += palette[at[k]][c];
                rgba[4 * p + c] = std::uint8_t(smooth ? (sum + 2) / 4 : sum);
            }
        }
    };
    // Two bands on two threads where the picture is big enough to pay for
    // the second (a thread that cannot be started leaves the work to this one).
    const long split = pixels >= 65536 ? h / 2 : h;
    std::thread upper;
    if (split < h) {
        try {
            upper = std::thread(band, split, long(h) - 1);
        } catch (const std::system_error&) {
            band(split, long(h) - 1);
        }
    }
    band(0, split - 1);
    if (upper.joinable()) upper.join();
    return rgba;
}

}  // namespace pd
