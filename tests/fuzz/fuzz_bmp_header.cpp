// The BMP header parser, with and without a file header, and the key-colour
// runs of whatever it accepts.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/bitmap/BmpImage.h"
#include "engine/bitmap/KeyColourRuns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (bool fileHeader : {true, false}) {
        BmpView view;
        if (ParseBmp(data, size, fileHeader, view) != BMP_OK)
            continue;
        std::vector<uint8_t> info;
        BuildInfoBlock(view, info);
        const size_t stride = size_t(view.stride), rows = size_t(view.height);
        std::vector<uint8_t> pixels(view.PixelBytes()), mask(view.PixelBytes());
        CopyPixelsBottomUp(view, pixels.data());
        KeyedPixels keyed = {pixels.data(), mask.data(), view.width, int32_t(rows), int32_t(stride), view.bitCount};
        std::vector<KeyRect> runs;
        FindKeyColourRuns(keyed, KeyColour{0, 0, 255, 0}, runs);
    }
    return 0;
}
