#include "tools/media/IconWriter.h"

#include "engine/core/LittleEndian.h"

namespace {

// One image's bitmap: bottom-up 32-bit colour, then the 1-bit mask, under a
// header of twice the height.
std::vector<uint8_t> IconImage(const CCanvas& image) {
    std::vector<uint8_t> out;
    const int size = image.Width();
    const uint32_t maskStride = ((uint32_t(size) + 31) / 32) * 4;
    AppendLe32(out, 40);
    AppendLe32(out, uint32_t(size));
    AppendLe32(out, uint32_t(size * 2));
    AppendLe16(out, 1);
    AppendLe16(out, 32);
    AppendLe32(out, 0);
    AppendLe32(out, uint32_t(size * size) * 4 + maskStride * uint32_t(size));
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            Rgba c = image.Get(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
            out.push_back(c.a);
        }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (image.Get(x, y).a < 128)
                row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

namespace {

// Icon and cursor files share their layout; a cursor's directory holds the
// hot spot where an icon's holds planes and bits.
std::vector<uint8_t> EncodeIconFile(const std::vector<CCanvas>& images, bool cursor, int hotX, int hotY) {
    std::vector<uint8_t> out;
    if (images.empty())
        return out;
    for (const CCanvas& image : images)
        if (image.Width() != image.Height() || image.Width() < 16 || image.Width() > 256)
            return out;
    AppendLe16(out, 0);
    AppendLe16(out, cursor ? 2 : 1);
    AppendLe16(out, uint16_t(images.size()));
    std::vector<std::vector<uint8_t>> bitmaps;
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (const CCanvas& image : images) {
        bitmaps.push_back(IconImage(image));
        const int size = image.Width();
        out.push_back(uint8_t(size == 256 ? 0 : size));
        out.push_back(uint8_t(size == 256 ? 0 : size));
        out.push_back(0); // no palette
        out.push_back(0);
        AppendLe16(out, cursor ? uint16_t(hotX) : 1);  // planes
        AppendLe16(out, cursor ? uint16_t(hotY) : 32); // bits
        AppendLe32(out, uint32_t(bitmaps.back().size()));
        AppendLe32(out, offset);
        offset += uint32_t(bitmaps.back().size());
    }
    for (const auto& b : bitmaps)
        out.insert(out.end(), b.begin(), b.end());
    return out;
}

} // namespace

std::vector<uint8_t> EncodeIco(const std::vector<CCanvas>& images) { return EncodeIconFile(images, false, 0, 0); }

std::vector<uint8_t> EncodeCur(const CCanvas& image, int hotX, int hotY) {
    if (hotX < 0 || hotY < 0 || hotX >= image.Width() || hotY >= image.Height())
        return {};
    return EncodeIconFile({image}, true, hotX, hotY);
}
