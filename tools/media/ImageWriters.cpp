#include "tools/media/ImageWriters.h"

#include <png.h>

#include <cstdio>
#include <map>

#include "engine/core/LittleEndian.h"

namespace {

constexpr uint32_t FILE_HEADER = 14;
constexpr uint32_t INFO_HEADER = 40;
constexpr uint32_t PELS_PER_METER = 2835; // 72 dots per inch

void PutBmpHeaders(std::vector<uint8_t>& out, const CCanvas& image, int bits, uint32_t colours, uint32_t stride) {
    uint32_t pixelBytes = stride * uint32_t(image.Height());
    uint32_t offset = FILE_HEADER + INFO_HEADER + colours * 4;
    out.push_back('B');
    out.push_back('M');
    AppendLe32(out, offset + pixelBytes);
    AppendLe32(out, 0);
    AppendLe32(out, offset);
    AppendLe32(out, INFO_HEADER);
    AppendLe32(out, uint32_t(image.Width()));
    AppendLe32(out, uint32_t(image.Height())); // positive: bottom-up
    AppendLe16(out, 1);
    AppendLe16(out, uint16_t(bits));
    AppendLe32(out, 0); // BI_RGB
    AppendLe32(out, pixelBytes);
    AppendLe32(out, PELS_PER_METER);
    AppendLe32(out, PELS_PER_METER);
    AppendLe32(out, colours);
    AppendLe32(out, 0);
}

// The file's sizes are 32-bit fields: larger pictures get no file.
bool FitsBmp(const CCanvas& image, uint64_t stride, uint64_t colours) {
    return image.Width() > 0 && image.Height() > 0 &&
           FILE_HEADER + INFO_HEADER + colours * 4 + stride * uint64_t(image.Height()) <= 0xffffffffu;
}

uint32_t Key(const Rgba& c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

} // namespace

std::vector<uint8_t> EncodeBmp24(const CCanvas& image) {
    const uint32_t stride = (uint32_t(image.Width()) * 3 + 3) & ~3u;
    std::vector<uint8_t> out;
    if (!FitsBmp(image, stride, 0))
        return out;
    out.reserve(FILE_HEADER + INFO_HEADER + stride * uint32_t(image.Height()));
    PutBmpHeaders(out, image, 24, 0, stride);
    for (int y = image.Height() - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.Width(); ++x) {
            Rgba c = image.Get(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        out.resize(start + stride, 0);
    }
    return out;
}

bool EncodeBmp8(const CCanvas& image, std::vector<uint8_t>& out) {
    out.clear();
    const uint32_t stride = (uint32_t(image.Width()) + 3) & ~3u;
    if (!FitsBmp(image, stride, 256))
        return false;
    std::map<uint32_t, uint8_t> index;
    std::vector<Rgba> palette;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgba c = image.Get(x, y);
            if (index.count(Key(c)))
                continue;
            if (palette.size() == 256)
                return false;
            index[Key(c)] = uint8_t(palette.size());
            palette.push_back(c);
        }
    PutBmpHeaders(out, image, 8, uint32_t(palette.size()), stride);
    for (const Rgba& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.Height() - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.Width(); ++x)
            out.push_back(index[Key(image.Get(x, y))]);
        out.resize(start + stride, 0);
    }
    return true;
}

std::vector<uint8_t> EncodeTga(const CCanvas& image, bool withAlpha) {
    const int bytes = withAlpha ? 4 : 3;
    std::vector<uint8_t> out;
    // The header holds each side in 16 bits.
    if (image.Width() <= 0 || image.Height() <= 0 || image.Width() > 0xffff || image.Height() > 0xffff)
        return out;
    out.reserve(18 + size_t(image.Width()) * size_t(image.Height()) * size_t(bytes));
    out.push_back(0); // no image id
    out.push_back(0); // no colour map
    out.push_back(2); // uncompressed true colour
    for (int i = 0; i < 5; ++i)
        out.push_back(0); // colour map fields
    AppendLe16(out, 0);   // x origin
    AppendLe16(out, 0);   // y origin
    AppendLe16(out, uint16_t(image.Width()));
    AppendLe16(out, uint16_t(image.Height()));
    out.push_back(uint8_t(bytes * 8));
    out.push_back(withAlpha ? 8 : 0); // alpha bits; origin at the bottom left
    for (int y = image.Height() - 1; y >= 0; --y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgba c = image.Get(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
            if (withAlpha)
                out.push_back(c.a);
        }
    return out;
}

namespace {

void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushPng(png_structp) {}

} // namespace

bool EncodePng(const CCanvas& image, bool withAlpha, std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    if (image.Width() <= 0 || image.Height() <= 0) {
        error = "an empty picture has no PNG";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) {
        error = "libpng: cannot create the writer";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> row(size_t(image.Width()) * size_t(channels));
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        out.clear();
        error = "libpng failed to write the picture";
        return false;
    }
    png_set_write_fn(png, &out, AppendPngBytes, FlushPng);
    png_set_IHDR(png, info, png_uint_32(image.Width()), png_uint_32(image.Height()), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* p = row.data();
        for (int x = 0; x < image.Width(); ++x) {
            Rgba c = image.Get(x, y);
            *p++ = c.r;
            *p++ = c.g;
            *p++ = c.b;
            if (withAlpha)
                *p++ = c.a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
