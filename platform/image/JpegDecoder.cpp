// JPEG through libjpeg's memory source. Errors leave through a jump back to
// the decoder; warnings (a truncated stream among them) also refuse the image.
#include <cstdio>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>

#include "platform/image/ImageDecoders.h"

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf jump;
    int warnings;
};

void OnError(j_common_ptr info) { longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

void OnMessage(j_common_ptr info, int level) {
    if (level < 0)
        ++reinterpret_cast<JpegError*>(info->err)->warnings;
}

// Only plain data lives in this frame: the jump back skips no destructor.
bool Decode(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnError;
    error.manager.emit_message = OnMessage;
    error.warnings = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), (unsigned long)size);
    jpeg_read_header(&info, TRUE);
    if (!limits.Fits(info.image_width, info.image_height))
        longjmp(error.jump, 1);
    if (info.jpeg_color_space == JCS_GRAYSCALE)
        info.out_color_space = JCS_GRAYSCALE;
    else if (info.num_components == 3)
        info.out_color_space = JCS_RGB;
    else
        longjmp(error.jump, 1);
    jpeg_start_decompress(&info);
    int components = info.output_components;
    if (!limits.Fits(info.output_width, info.output_height) || (components != 1 && components != 3) ||
        !out.Allocate((int)info.output_width, (int)info.output_height))
        longjmp(error.jump, 1);
    // Each row is decoded into the tail of its own texel row, then spread
    // forward to four bytes a texel.
    while (info.output_scanline < info.output_height) {
        uint8_t* row = out.Row((int)info.output_scanline);
        size_t width = info.output_width;
        JSAMPROW sample = row + width * (4 - components);
        jpeg_read_scanlines(&info, &sample, 1);
        for (size_t x = 0; x < width; ++x) {
            const uint8_t* s = sample + x * components;
            uint8_t r = s[0], g = components == 3 ? s[1] : s[0], b = components == 3 ? s[2] : s[0];
            row[x * 4] = b, row[x * 4 + 1] = g, row[x * 4 + 2] = r, row[x * 4 + 3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return error.warnings == 0;
}

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits) {
    out.Clear();
    if (!data || size == 0 || size > 0x7fffffff)
        return false;
    if (!Decode(data, size, out, limits)) {
        out.Clear();
        return false;
    }
    out.hasAlpha = false;
    return true;
}
