#include "ui/jpegfile.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/paths.h"
#include "platform/platform.h"

namespace zrt {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump
// back to the caller. Only plain C objects live between setjmp and longjmp.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void onError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->back, 1);
}

void quiet(j_common_ptr, int) {}
void noOutput(j_common_ptr) {}

// Compresses rows of RGB bytes into file; false on any libjpeg error.
bool compress(std::FILE* file, const unsigned char* rgb, int width, int height, int quality) {
    jpeg_compress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = quiet;
    err.base.output_message = noOutput;
    if (setjmp(err.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // No chroma subsampling: a one-pixel red line would otherwise bleed into
    // its neighbours and lose its colour.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool writeJpeg(const std::string& utf8Path, const Image& picture, int quality) {
    if (picture.empty() || picture.pixels.size() != static_cast<std::size_t>(picture.width) *
                                                        static_cast<std::size_t>(picture.height))
        return false;
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    std::vector<unsigned char> rgb(picture.pixels.size() * 3);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint32_t p = picture.pixels[i];
        rgb[3 * i] = static_cast<unsigned char>(p >> 16);
        rgb[3 * i + 1] = static_cast<unsigned char>(p >> 8);
        rgb[3 * i + 2] = static_cast<unsigned char>(p);
    }
    std::FILE* file = platform::openFile(utf8Path, "wb");
    if (!file) return false;
    bool ok = compress(file, rgb.data(), picture.width, picture.height, quality);
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) removeFile(utf8Path);
    return ok;
}

}  // namespace zrt
