// The resize and mip steps on a decoded picture of any format, at sizes
// taken from the input.
#include <cstddef>
#include <cstdint>

#include "platform/image/ImageDecoders.h"
#include "platform/image/ImageResample.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int width = 1 + in.Byte() % 64, height = 1 + in.Byte() % 64;
    const bool nearest = in.Byte() & 1;
    CImage source;
    if (!DecodeImage(in.Rest(), in.Left(), source) || source.IsEmpty())
        return 0;
    CImage resized, mip;
    ResizeImage(source, width, height, resized, nearest);
    BuildMipLevel(source, mip);
    FullMipCount(source.width, source.height);
    return 0;
}
