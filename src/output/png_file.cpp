#include "output/png_file.h"

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

namespace {

// libpng reports errors by longjmp; the message is kept here on the way.
struct PngErrorSink {
    std::string message;
};

void onPngError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngErrorSink*>(png_get_error_ptr(png));
    sink->message = message;
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

std::string describeErrno(int code) { return std::strerror(code); }

}  // namespace

namespace {

bool writePngOf(std::FILE* out, int width, int height, const std::vector<std::uint8_t>& rgb,
                int channels, std::string& error) {
    if (width < 1 || height < 1) {
        error = "picture size " + std::to_string(width) + "x" + std::to_string(height) +
                " is not positive";
        return false;
    }
    const std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
    if (rgb.size() < rowBytes * std::size_t(height)) {
        error = "picture data shorter than its size";
        return false;
    }
    PngErrorSink sink;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, onPngError, onPngWarning);
    if (!png) {
        error = "cannot start libpng";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = sink.message.empty() ? "cannot write the picture" : sink.message;
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + rowBytes * std::size_t(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        error = describeErrno(errno);
        return false;
    }
    return true;
}

}  // namespace

bool writePng(std::FILE* out, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error) {
    return writePngOf(out, width, height, rgb, 3, error);
}

bool writePngRgba(std::FILE* out, int width, int height, const std::vector<std::uint8_t>& rgba,
                  std::string& error) {
    return writePngOf(out, width, height, rgba, 4, error);
}

namespace {

// Writes into a descriptor just opened for `path`; on failure the file is
// removed again, so nothing half-written stays.
bool writeToDescriptor(int fd, const std::string& path, int width, int height,
                       const std::vector<std::uint8_t>& rgb, std::string& error) {
    std::FILE* out = fdopen(fd, "wb");
    if (!out) {
        error = path + ": " + describeErrno(errno);
        close(fd);
        unlink(path.c_str());
        return false;
    }
    std::string why;
    bool ok = writePng(out, width, height, rgb, why);
    if (std::fclose(out) != 0 && ok) {
        ok = false;
        why = describeErrno(errno);
    }
    if (!ok) {
        error = path + ": " + why;
        unlink(path.c_str());
    }
    return ok;
}

}  // namespace

bool writePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = path + ": " + describeErrno(errno);
        return false;
    }
    return writeToDescriptor(fd, path, width, height, rgb, error);
}

bool writeNewPng(const std::string& stem, int width, int height,
                 const std::vector<std::uint8_t>& rgb, std::string& path, std::string& error) {
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST && n < 100000) continue;
            error = name + ": " + describeErrno(errno);
            return false;
        }
        if (!writeToDescriptor(fd, name, width, height, rgb, error)) return false;
        path = name;
        return true;
    }
}

std::string pictureStem(const std::string& modelName, float a, float b) {
    char angles[64];
    std::snprintf(angles, sizeof angles, "-x%g-y%g", double(a), double(b));
    return modelName + angles;
}
