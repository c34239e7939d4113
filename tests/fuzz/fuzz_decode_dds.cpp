// The Dds decoder on any bytes.
#include <cstddef>
#include <cstdint>

#include "platform/image/ImageDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CImage image;
    if (DecodeDds(data, size, image) && !image.IsEmpty()) {
        volatile uint32_t corner = image.Texel(image.width - 1, image.height - 1);
        (void)corner;
    }
    return 0;
}
