#include "hidden/mark_thinning.h"

#include <cmath>
#include <vector>

namespace pd {

namespace {

// Pixels: nearer a rounding boundary than this, a position counts as
// undecided. GL turns and projects in float, this in double, and GL snaps
// positions to a grid of subpixels (llvmpipe's 1/256 of a pixel, some
// hardware's 1/16).
constexpr double nearTie = 1.0 / 16.0;

}  // namespace

void thinMarks(Frame& frame) {
    if (frame.smooth || frame.marksDepthTested) return;
    const int width = frame.projection.viewportWidth, height = frame.projection.viewportHeight;
    if (width < 1 || height < 1) return;
    std::vector<bool> taken;
    for (FrameShell& shell : frame.shells) {
        const long side = std::lround(shell.markSize > 0.0 ? shell.markSize : frame.markSize);
        // GL rounds the position to the nearest pixel corner for an even
        // width, and down to its pixel for an odd one, in rows counted from
        // the bottom: here, from the top, y rounds the other way.
        const bool even = side % 2 == 0;
        taken.assign(std::size_t(width) * std::size_t(height), false);
        std::size_t kept = 0;
        for (const std::uint32_t v : shell.marks) {
            const PixelPosition at = pixelOf(frame.camera, frame.projection, shell.xy[2 * v], shell.xy[2 * v + 1]);
            const double tx = even ? at.x + 0.5 : at.x, ty = even ? at.y - 0.5 : at.y;
            const double cx = std::floor(tx), cy = std::ceil(ty);
            // Where GL's own float arithmetic could round the other way,
            // the mark is kept whatever went before it.
            const bool sure = std::fabs(tx - std::round(tx)) > nearTie && std::fabs(ty - std::round(ty)) > nearTie;
            if (sure && cx >= 0 && cy >= 0 && cx < width && cy < height) {
                const std::size_t cell = std::size_t(cy) * std::size_t(width) + std::size_t(cx);
                if (taken[cell]) continue;
                taken[cell] = true;
            }
            shell.marks[kept++] = v;
        }
        shell.marks.resize(kept);
    }
}

}  // namespace pd
