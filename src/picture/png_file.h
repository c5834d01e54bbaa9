#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/result.h"

namespace pd {

// Pictures as PNG files (libpng), for the window's `s` key and the headless
// output. A picture is 8-bit RGB, rows from the top, each row from the left.

// Supplies a picture's rows: fills `out` with `count` rows (count * width *
// channels bytes) starting at row `top`, counted from the top. An error gives the
// picture up.
using PngRows = std::function<Status(int top, int count, std::uint8_t* out)>;

// The rows of a picture held whole in memory: rgb holds width * height * 3
// bytes, rows from the top.
PngRows rowsInMemory(const std::vector<std::uint8_t>& rgb, int width, int channels = 3);

// Writes a width x height picture to the open descriptor fd, asking `rows`
// for one band of rows at a time, top first (a band holds at most about
// 4 MB, whatever the picture's size). Errors: sizes that are not positive,
// what `rows` said, the system's reason for a failed write ("cannot be
// written: No space left on device"), or libpng's own message. With
// channels 4 the rows are RGBA (0 alpha: transparent), else RGB.
Status writePng(int fd, int width, int height, const PngRows& rows, int channels = 3);

// Writes the picture to `path` through the explorer's output writer
// (output_file.h), replacing what is there. An error (text() "PATH: what
// went wrong") leaves no file behind. rgb holds width * height * 3 bytes.
Status writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

// Writes the picture under the first free name of STEM.png, STEM-2.png,
// STEM-3.png ...: each name is taken only if still free when the finished
// file gets it, so no file is overwritten, also not one appearing
// meanwhile. The name written, or an error "NAME: what went wrong" (a
// folder that cannot be written).
Result<std::string> writeNewPng(const std::string& stem, int width, int height, const PngRows& rows);

}  // namespace pd
