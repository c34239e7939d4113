#include "engine/bitmap/BmpImage.h"

#include <cstring>

#include "engine/core/LittleEndian.h"

namespace {

constexpr uint32_t INFO_HEADER_SIZE = 40;

} // namespace

BmpError ParseBmp(const uint8_t* data, size_t size, bool hasFileHeader, BmpView& out) {
    return ParseBmpHeader(data, size, hasFileHeader, BMP_ACCEPT_PLAIN, out);
}

void BuildInfoBlock(const BmpView& view, std::vector<uint8_t>& out) {
    out.assign(INFO_HEADER_SIZE + size_t(view.tableEntries) * 4, 0);
    uint8_t* h = out.data();
    WriteLe32(h, INFO_HEADER_SIZE);
    WriteLe32(h + 4, uint32_t(view.width));
    WriteLe32(h + 8, uint32_t(view.height));
    WriteLe16(h + 12, 1);
    WriteLe16(h + 14, uint16_t(view.bitCount));
    WriteLe32(h + 16, 0);
    WriteLe32(h + 20, uint32_t(view.PixelBytes()));
    WriteLe32(h + 24, view.xPelsPerMeter);
    WriteLe32(h + 28, view.yPelsPerMeter);
    WriteLe32(h + 32, view.tableEntries == view.colourCount ? uint32_t(view.tableEntries) : 0);
    WriteLe32(h + 36, view.clrImportant);
    if (view.tableEntries)
        std::memcpy(h + INFO_HEADER_SIZE, view.colourTable, size_t(view.tableEntries) * 4);
}

void CopyPixelsBottomUp(const BmpView& view, uint8_t* dest) {
    for (int r = 0; r < view.height; ++r)
        std::memcpy(dest + size_t(r) * size_t(view.stride), view.Row(r), size_t(view.stride));
}
