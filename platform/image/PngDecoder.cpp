// PNG through libpng's read API: every colour type, bit depth and interlace
// method is turned by libpng's transforms into 8-bit B, G, R, A rows.
#include <png.h>

#include <cstring>
#include <new>
#include <vector>

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

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    MemorySource* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "truncated");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

// Errors leave through the jump back to the stage that is running; nothing
// is printed.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
};

// The two stages below hold only plain data in their frames, so the jump
// back from an error skips no destructor.

// Reads the chunks up to the pixels and sets the transforms. False for a
// broken stream or a picture beyond the limits, before any row is allocated.
bool ReadHeader(png_structp png, png_infop info, const ImageLimits& limits, PngHeader& header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, (png_uint_32)limits.maxWidth, (png_uint_32)limits.maxHeight);
    png_read_info(png, info);
    int colourType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    if (!limits.Fits(header.width, header.height))
        return false;
    header.alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    // Palette to RGB, grey below 8 bits to 8, a transparency chunk to alpha.
    png_set_expand(png);
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (!(colourType & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!header.alpha)
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == (png_size_t)header.width * 4 && png_get_bit_depth(png, info) == 8 &&
           png_get_channels(png, info) == 4;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

} // namespace

bool DecodePng(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits) {
    out.Clear();
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0 || !HasEndChunk(data, size))
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemorySource source = {data, size, 0};
    png_set_read_fn(png, &source, ReadFromMemory);
    PngHeader header;
    bool ok = ReadHeader(png, info, limits, header) && out.Allocate((int)header.width, (int)header.height);
    if (ok) {
        try {
            std::vector<png_bytep> rows((size_t)out.height);
            for (int y = 0; y < out.height; ++y)
                rows[(size_t)y] = out.Row(y);
            ok = ReadRows(png, info, rows.data());
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        out.Clear();
        return false;
    }
    out.hasAlpha = header.alpha;
    return true;
}
