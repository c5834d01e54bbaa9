#include "picture/png_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>

#include "base/translate.h"
#include "io/output_file.h"

namespace pd {

namespace {

// Rows are asked for in bands of about this many bytes.
constexpr std::size_t bandBytes = 4u << 20;

// Everything the libpng callbacks and the row loop share. Lives outside the
// function that calls setjmp, so nothing with a destructor is skipped when
// libpng's errors longjmp.
struct PngJob {
    int fd = -1;
    int width = 0;
    int height = 0;
    int channels = 3;
    const PngRows* rows = nullptr;
    std::vector<std::uint8_t> band;
    int bandTop = 0;
    int bandCount = 0;
    std::string error;  // set by whatever failed

    // Row y of the picture, fetching the band it lies in; null after an error.
    const std::uint8_t* row(int y) {
        const std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
        if (y >= bandTop + bandCount) {
            bandTop = y;
            bandCount = std::min(int(band.size() / rowBytes), height - y);
            const Status got = (*rows)(bandTop, bandCount, band.data());
            if (!got) {
                error = got.error().what;
                return nullptr;
            }
        }
        return band.data() + std::size_t(y - bandTop) * rowBytes;
    }
};

void onPngError(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    if (job->error.empty()) job->error = message;
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Writes through the descriptor itself, so a failed write's own reason
// (errno) is kept rather than libpng's "Write Error".
void onPngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    bool failed = false;
    {
        // Gone before png_error's longjmp, which would skip its destructor.
        const Status written = writeAll(job->fd, {reinterpret_cast<const char*>(data), length});
        failed = !written;
        if (failed) job->error = written.error().what;
    }
    if (failed) png_error(png, "write failed");
}

void onPngFlush(png_structp) {}

// The libpng calls, which longjmp here on error: false then, with
// job.error set. No object with a destructor may live in this frame.
bool runPng(png_structp png, png_infop info, PngJob& job) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &job, onPngWrite, onPngFlush);
    png_set_IHDR(png, info, png_uint_32(job.width), png_uint_32(job.height), 8,
                 job.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < job.height; ++y) {
        const std::uint8_t* row = job.row(y);
        if (row == nullptr) return false;
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

PngRows rowsInMemory(const std::vector<std::uint8_t>& rgb, int width, int channels) {
    return [&rgb, width, channels](int top, int count, std::uint8_t* out) -> Status {
        const std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
        if (rgb.size() < rowBytes * std::size_t(top + count)) return failure(tr("picture data shorter than its size"));
        std::memcpy(out, rgb.data() + rowBytes * std::size_t(top), rowBytes * std::size_t(count));
        return Done{};
    };
}

Status writePng(int fd, int width, int height, const PngRows& rows, int channels) {
    if (width < 1 || height < 1)
        return failure(fill(tr("picture size {1}x{2} is not positive"), {std::to_string(width), std::to_string(height)}));
    PngJob job;
    job.fd = fd;
    job.width = width;
    job.height = height;
    job.channels = channels == 4 ? 4 : 3;
    job.rows = &rows;
    const std::size_t rowBytes = std::size_t(width) * std::size_t(job.channels);
    job.band.resize(rowBytes * std::clamp<std::size_t>(bandBytes / rowBytes, 1, std::size_t(height)));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, onPngError, onPngWarning);
    if (!png) return failure(tr("cannot start libpng"));
    png_infop info = png_create_info_struct(png);
    const bool written = info != nullptr && runPng(png, info, job);
    png_destroy_write_struct(&png, &info);
    if (written) return Done{};
    return failure(job.error.empty() ? std::string(tr("cannot write the picture")) : job.error);
}

Status writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    const PngRows rows = rowsInMemory(rgb, width);
    return writeOutputFile(path, [&](int fd) { return writePng(fd, width, height, rows); });
}

Result<std::string> writeNewPng(const std::string& stem, int width, int height, const PngRows& rows) {
    return writeNewFile(stem, ".png", [&](int fd) { return writePng(fd, width, height, rows); });
}

}  // namespace pd
