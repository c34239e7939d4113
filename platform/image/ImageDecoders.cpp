#include "platform/image/ImageDecoders.h"

#include <cstring>
#include <new>

namespace {

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

} // namespace

ImageFileFormat DetectImageFormat(const uint8_t* data, size_t size) {
    if (!data || size == 0)
        return IFF_UNKNOWN;
    if (StartsWith(data, size, "BM", 2))
        return IFF_BMP;
    if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8))
        return IFF_PNG;
    if (StartsWith(data, size, "\xff\xd8\xff", 3))
        return IFF_JPEG;
    if (StartsWith(data, size, "DDS ", 4))
        return IFF_DDS;
    // A TGA header: colour-map type 0 or 1, a known image type.
    if (size >= 18 && data[1] <= 1) {
        int type = data[2];
        if (type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11)
            return IFF_TGA;
    }
    return IFF_UNKNOWN;
}

bool DecodeImage(const uint8_t* data, size_t size, CImage& out, ImageFileFormat* format, const ImageLimits& limits) {
    out.Clear();
    ImageFileFormat kind = DetectImageFormat(data, size);
    if (format)
        *format = kind;
    bool ok = false;
    // A failed allocation is a refused image: in a 32-bit process it is a
    // real outcome for a large picture, not the end of the program.
    try {
        switch (kind) {
        case IFF_BMP: ok = DecodeBmp(data, size, out, limits); break;
        case IFF_PNG: ok = DecodePng(data, size, out, limits); break;
        case IFF_JPEG: ok = DecodeJpeg(data, size, out, limits); break;
        case IFF_DDS: ok = DecodeDds(data, size, out, limits); break;
        case IFF_TGA: ok = DecodeTga(data, size, out, limits); break;
        case IFF_UNKNOWN: break;
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok)
        out.Clear();
    return ok;
}
