#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Pictures as PNG files (libpng), for the window's `s` key and the headless
// output. A picture is 8-bit RGB, rows from the top, each row from the left:
// rgb holds width * height * 3 bytes.

// Writes the picture to an open file. False with `error` set (what libpng or
// the sizes said, no file name) when the sizes are not positive, rgb is too
// short, or the write fails.
bool writePng(std::FILE* out, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error);

// The same for a picture with an alpha channel: 8-bit RGBA, rgba holding
// width * height * 4 bytes (0 alpha: transparent).
bool writePngRgba(std::FILE* out, int width, int height, const std::vector<std::uint8_t>& rgba,
                  std::string& error);

// Writes the picture to `path`, replacing what is there. False with
// "PATH: what went wrong" in `error`; a failed write leaves no file behind.
bool writePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb, std::string& error);

// Writes the picture under the first free name of STEM.png, STEM-2.png,
// STEM-3.png ...: each is created exclusively, so no file is overwritten,
// also not one appearing meanwhile. True with the name in `path`; false
// with "NAME: what went wrong" in `error` (a folder that cannot be written).
bool writeNewPng(const std::string& stem, int width, int height,
                 const std::vector<std::uint8_t>& rgb, std::string& path, std::string& error);

// The stem for a picture of a model at given angles: "heksaedar-x30-y45",
// the angles printed like %g.
std::string pictureStem(const std::string& modelName, float a, float b);
