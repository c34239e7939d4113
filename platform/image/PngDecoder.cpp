// PNG through libpng's memory reader, converted by libpng to B, G, R, A.
#include <png.h>

#include <cstring>

#include "platform/image/ImageDecoders.h"

namespace {

uint32_t ReadBe32(const uint8_t* p) {
    return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3];
}

// libpng stops reading once the pixels are in; a file cut after its image
// data would pass. Walk the chunks to the end chunk first.
bool HasEndChunk(const uint8_t* data, size_t size) {
    size_t at = 8;
    while (size - at >= 12) {
        uint32_t length = ReadBe32(data + at);
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        if (length > size - at - 12)
            return false;
        at += 12 + (size_t)length;
    }
    return false;
}

} // namespace

bool DecodePng(const uint8_t* data, size_t size, CImage& out) {
    out.Clear();
    if (!data || size < 8 || !HasEndChunk(data, size))
        return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return false;
    // Alpha channel or a transparency chunk, as libpng reports it.
    bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    if (image.width > (png_uint_32)IMAGE_MAX_SIDE || image.height > (png_uint_32)IMAGE_MAX_SIDE ||
        !out.Allocate((int)image.width, (int)image.height)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), (png_int_32)(image.width * 4), nullptr)) {
        png_image_free(&image);
        out.Clear();
        return false;
    }
    out.hasAlpha = alpha;
    return true;
}
