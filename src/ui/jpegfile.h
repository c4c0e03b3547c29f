// JPEG files of plot pictures (libjpeg on every platform).
#pragma once

#include <string>

#include "platform/canvas.h"

namespace zrt {

// Quality of saved plot pictures: high enough that one-pixel lines keep their
// colour (the picture is line art, not a photograph).
constexpr int kJpegQuality = 92;

// Writes the picture as a baseline JPEG file (full colour resolution). False
// when the picture is empty, the file cannot be written or libjpeg fails; a
// partly written file is removed.
bool writeJpeg(const std::string& utf8Path, const Image& picture, int quality = kJpegQuality);

}  // namespace zrt
