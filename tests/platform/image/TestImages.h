#pragma once
// Encoders for test pictures: each turns a small B, G, R, A image into the
// bytes of one file format, so tests never need image files.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "engine/core/LittleEndian.h"
#include "platform/image/Image.h"

namespace testimages {

using Bytes = std::vector<uint8_t>;

// A w × h picture whose texel (x, y) is a distinct colour with alpha a(x, y).
inline CImage Pattern(int w, int h, bool alpha) {
    CImage image;
    image.Allocate(w, h);
    image.hasAlpha = alpha;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.Row(y) + x * 4;
            p[0] = (uint8_t)(x * 40 + 10);
            p[1] = (uint8_t)(y * 50 + 20);
            p[2] = (uint8_t)(200 - x * 10 - y * 20);
            p[3] = alpha ? (uint8_t)(255 - (x + y) * 30) : 255;
        }
    return image;
}

// 24-bit (or 32-bit BI_RGB), bottom-up.
inline Bytes Bmp(const CImage& image, int bits = 24) {
    int bytes = bits / 8;
    uint32_t stride = ((uint32_t)image.width * bytes + 3) & ~3u;
    Bytes b = {'B', 'M'};
    AppendLe32(b, 54 + stride * image.height);
    AppendLe32(b, 0);
    AppendLe32(b, 54);
    AppendLe32(b, 40);
    AppendLe32(b, image.width);
    AppendLe32(b, image.height);
    AppendLe16(b, 1);
    AppendLe16(b, bits);
    for (int i = 0; i < 6; ++i)
        AppendLe32(b, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x)
            for (int i = 0; i < bytes; ++i)
                b.push_back(image.Row(y)[x * 4 + i]);
        for (uint32_t pad = image.width * bytes; pad < stride; ++pad)
            b.push_back(0);
    }
    return b;
}

// True colour, 24 or 32 bits, top-down, optionally run-length encoded (one
// texel a packet, alternating raw and repeat packets of one).
inline Bytes Tga(const CImage& image, int bits, bool rle = false) {
    Bytes b = {0, 0, (uint8_t)(rle ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AppendLe16(b, image.width);
    AppendLe16(b, image.height);
    b.push_back((uint8_t)bits);
    b.push_back((uint8_t)(0x20 | (bits == 32 ? 8 : 0)));
    int n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x, ++n) {
            if (rle)
                b.push_back((n & 1) ? 0x80 : 0x00);
            for (int i = 0; i < bits / 8; ++i)
                b.push_back(image.Row(y)[x * 4 + i]);
        }
    return b;
}

inline Bytes Png(const CImage& image, bool alpha) {
    png_image p;
    std::memset(&p, 0, sizeof p);
    p.version = PNG_IMAGE_VERSION;
    p.width = image.width;
    p.height = image.height;
    p.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    std::vector<uint8_t> source;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            for (int i = 0; i < (alpha ? 4 : 3); ++i)
                source.push_back(image.Row(y)[x * 4 + i]);
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&p, nullptr, &size, 0, source.data(), 0, nullptr);
    Bytes b(size);
    if (!png_image_write_to_memory(&p, b.data(), &size, 0, source.data(), 0, nullptr))
        b.clear();
    b.resize(size);
    return b;
}

inline Bytes Jpeg(const CImage& image, int quality = 95) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(image.width * 3);
    while (info.next_scanline < info.image_height) {
        const uint8_t* s = image.Row(info.next_scanline);
        for (int x = 0; x < image.width; ++x)
            row[x * 3] = s[x * 4 + 2], row[x * 3 + 1] = s[x * 4 + 1], row[x * 3 + 2] = s[x * 4];
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes b(out, out + size);
    free(out);
    return b;
}

// The DDS header with a pixel format (flags, four-cc, bits, masks).
inline Bytes DdsHeader(int w, int h, uint32_t pfFlags, uint32_t fourCc, uint32_t bits, uint32_t r, uint32_t g,
                       uint32_t bl, uint32_t a) {
    Bytes b = {'D', 'D', 'S', ' '};
    AppendLe32(b, 124);
    AppendLe32(b, 0x1007); // caps, height, width, pixel format
    AppendLe32(b, h);
    AppendLe32(b, w);
    AppendLe32(b, 0);
    AppendLe32(b, 0);
    AppendLe32(b, 1);
    for (int i = 0; i < 11; ++i)
        AppendLe32(b, 0);
    AppendLe32(b, 32);
    AppendLe32(b, pfFlags);
    AppendLe32(b, fourCc);
    AppendLe32(b, bits);
    AppendLe32(b, r);
    AppendLe32(b, g);
    AppendLe32(b, bl);
    AppendLe32(b, a);
    AppendLe32(b, 0x1000);
    for (int i = 0; i < 4; ++i)
        AppendLe32(b, 0);
    return b;
}

// Uncompressed A8R8G8B8 (alpha) or X8R8G8B8.
inline Bytes DdsArgb(const CImage& image, bool alpha) {
    Bytes b = DdsHeader(image.width, image.height, 0x40 | (alpha ? 1 : 0), 0, 32, 0xff0000, 0xff00, 0xff,
                        alpha ? 0xff000000u : 0u);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            for (int i = 0; i < 4; ++i)
                b.push_back(image.Row(y)[x * 4 + i]);
    return b;
}

inline uint32_t FourCc(const char* s) { return ReadLe32(reinterpret_cast<const uint8_t*>(s)); }

// A 4 × 4 DXT surface of one block: colour 0 pure red (0xf800), colour 1 pure
// blue (0x001f), the top row index 0, the rest index 1. DXT3 and DXT5 add an
// alpha of 0x88 on the top row and 0xff elsewhere.
inline Bytes DdsDxt(const char* fourCc) {
    Bytes b = DdsHeader(4, 4, 0x4, FourCc(fourCc), 0, 0, 0, 0, 0);
    if (fourCc[3] == '3') {
        for (int i = 0; i < 2; ++i)
            b.push_back(0x88);
        for (int i = 0; i < 6; ++i)
            b.push_back(0xff);
    } else if (fourCc[3] == '5') {
        // a0 = 0x88, a1 = 0xff (a0 <= a1: six-value mode); index 0 top row, 1 elsewhere.
        b.push_back(0x88);
        b.push_back(0xff);
        uint64_t bits = 0;
        for (int t = 4; t < 16; ++t)
            bits |= (uint64_t)1 << (3 * t);
        for (int i = 0; i < 6; ++i)
            b.push_back((uint8_t)(bits >> (8 * i)));
    }
    AppendLe16(b, 0xf800);
    AppendLe16(b, 0x001f);
    AppendLe32(b, 0x55555500u);
    return b;
}

// Samples for a 16-bit PNG: channels per texel 1 (grey), 2 (grey, alpha),
// 3 (RGB) or 4 (RGBA), row by row. Written through libpng's write API,
// without gAMA or sRGB chunks, Adam7-interlaced when asked.
struct Png16Source {
    int width = 0, height = 0, channels = 3;
    std::vector<uint16_t> samples;
    uint16_t At(int x, int y, int c) const { return samples[((size_t)y * width + x) * channels + c]; }
};

inline void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
inline void FlushPngBytes(png_structp) {}

inline Bytes Png16(const Png16Source& source, bool interlaced) {
    // PNG samples are big-endian. Everything with a destructor is made
    // before the jump point.
    Bytes b, rows((size_t)source.width * source.height * source.channels * 2);
    for (size_t i = 0; i < source.samples.size(); ++i) {
        rows[2 * i] = (uint8_t)(source.samples[i] >> 8);
        rows[2 * i + 1] = (uint8_t)source.samples[i];
    }
    std::vector<png_bytep> pointers((size_t)source.height);
    for (int y = 0; y < source.height; ++y)
        pointers[(size_t)y] = rows.data() + (size_t)y * source.width * source.channels * 2;
    static const int types[] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                PNG_COLOR_TYPE_RGB_ALPHA};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        b.clear();
        return b;
    }
    png_set_write_fn(png, &b, AppendPngBytes, FlushPngBytes);
    png_set_IHDR(png, info, source.width, source.height, 16, types[source.channels],
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return b;
}

// A 16-bit TGA, true colour (type 2) or colour-mapped (type 1, 8-bit indices
// into a 16-bit map), top-down, the descriptor's alpha bits as given. texels
// are the 16-bit values (or map indices), row by row.
inline Bytes Tga16(int width, int height, const std::vector<uint16_t>& texels, int alphaBits,
                   const std::vector<uint16_t>& map = {}) {
    bool mapped = !map.empty();
    Bytes b = {0, (uint8_t)(mapped ? 1 : 0), (uint8_t)(mapped ? 1 : 2)};
    AppendLe16(b, 0);
    AppendLe16(b, (uint16_t)map.size());
    b.push_back(mapped ? 16 : 0);
    AppendLe32(b, 0); // origin
    AppendLe16(b, (uint16_t)width);
    AppendLe16(b, (uint16_t)height);
    b.push_back(mapped ? 8 : 16);
    b.push_back((uint8_t)(0x20 | alphaBits));
    for (uint16_t entry : map)
        AppendLe16(b, entry);
    for (uint16_t t : texels) {
        if (mapped)
            b.push_back((uint8_t)t);
        else
            AppendLe16(b, t);
    }
    return b;
}

} // namespace testimages
