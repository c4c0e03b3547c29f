// Test helper: decodes a JPEG file with libjpeg into an Image.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <string>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/canvas.h"

namespace testjpeg {

struct ReadError {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

inline void onReadError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ReadError*>(info->err)->back, 1);
}

// Decodes rows into out (already sized by the caller's first pass).
inline bool decode(std::FILE* f, zrt::Image& out) {
    jpeg_decompress_struct info;
    ReadError err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onReadError;
    if (setjmp(err.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, f);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    unsigned char row[3 * 16384];
    while (info.output_scanline < info.output_height && out.width <= 16384) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW r = row;
        jpeg_read_scanlines(&info, &r, 1);
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<std::size_t>(y) * out.width + x] =
                (std::uint32_t{row[3 * x]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) |
                row[3 * x + 2];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

inline zrt::Image readJpeg(const std::string& path) {
    zrt::Image out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    if (!decode(f, out)) out = zrt::Image{};
    std::fclose(f);
    return out;
}

}  // namespace testjpeg
