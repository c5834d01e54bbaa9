#include "headless/headless.h"

#include <memory>

#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "headless/headless_output.h"
#include "io/png_file.h"

namespace pd {

Status runHeadless(const ExplorerOptions& options, Session& session) {
    // One context for all pictures of a turntable: they share one size.
    std::unique_ptr<OffscreenContext> context;
    const PictureWriter pngWriter = [&](const Frame& frame, int fd) -> Status {
        if (!context || context->width() != frame.width || context->height() != frame.height) {
            context.reset();
            Result<std::unique_ptr<OffscreenContext>> made = OffscreenContext::create(frame.width, frame.height);
            if (!made) return made.error();
            context = std::move(*made);
        }
        const Status drawn = renderFrame(frame);
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
    return writeHeadlessOutput(options, session, pngWriter);
}

}  // namespace pd
