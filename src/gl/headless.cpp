#include "gl/headless.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "gl/offscreen.h"
#include "gl/renderer.h"
#include "output/headless_output.h"
#include "output/png_file.h"

int runHeadless(const ExplorerOptions& options, const LoadedModels& loaded) {
    // One context for all pictures of a turntable: they share one size.
    std::unique_ptr<OffscreenContext> context;
    const PictureWriter pngWriter = [&](const Frame& frame, const std::string& path) {
        if (!context || context->width() != frame.width || context->height() != frame.height) {
            context.reset();
            context = std::make_unique<OffscreenContext>(frame.width, frame.height);
        }
        renderFrame(frame);
        const std::vector<std::uint8_t> rgb = frame.transparent ? context->readRgba() : context->readRgb();
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr) throw std::runtime_error(std::strerror(errno));
        std::string error;
        const bool written = frame.transparent ? writePngRgba(out, frame.width, frame.height, rgb, error)
                                               : ::writePng(out, frame.width, frame.height, rgb, error);
        if (std::fclose(out) != 0 && written) error = std::string("cannot write: ") + std::strerror(errno);
        if (!error.empty()) throw std::runtime_error(error);
    };
    std::string error;
    if (writeHeadlessOutput(options, loaded, pngWriter, error)) return 0;
    std::fprintf(stderr, "duals-explorer: %s\n", error.c_str());
    return 2;
}
