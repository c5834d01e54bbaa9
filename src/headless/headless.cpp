#include "headless/headless.h"

#include <memory>

#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "gl/smooth_target.h"
#include "headless/headless_output.h"
#include "picture/png_file.h"

namespace pd {

Status runHeadless(const ExplorerOptions& options, Session& session, std::vector<std::string>* notes) {
    // One context for all pictures of a turntable: they share one size.
    std::unique_ptr<OffscreenContext> context;
    std::unique_ptr<SmoothTarget> smooth;  // made in `context`, gone before it
    const PictureWriter pngWriter = [&](const Frame& frame, int fd) -> Status {
        if (!context || context->width() != frame.width || context->height() != frame.height) {
            smooth.reset();
            context.reset();
            Result<std::unique_ptr<OffscreenContext>> made = OffscreenContext::create(frame.width, frame.height);
            if (!made) return made.error();
            context = std::move(*made);
            smooth = std::make_unique<SmoothTarget>();
        }
        const Status drawn = smooth->draw(frame);
        if (!drawn) return drawn;
        // Read back a band at a time straight into the file: a picture of
        // 16384 x 16384 is never held whole beside the context's own.
        const int channels = frame.transparent ? 4 : 3;
        return writePng(
            fd, frame.width, frame.height,
            [&](int top, int count, std::uint8_t* out) {
                return readPixelRows(frame.width, frame.height, top, count, channels, out);
            },
            channels);
    };
    Status written = writeHeadlessOutput(options, session, pngWriter, notes);
    smooth.reset();
    return written;
}

}  // namespace pd
