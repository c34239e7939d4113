// The dynamic skin's link table of any values, then the fit check against a
// small mesh.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/spring/DynamicSkin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const int weights = 2 + data[0] % 3;
    std::vector<int32_t> values((size - 1) / 4);
    if (!values.empty())
        std::memcpy(values.data(), data + 1, values.size() * 4);
    CDynamicSkin skin(weights);
    if (skin.ReadLinkTable(values.data(), int(values.size()))) {
        std::vector<float> vertices(size_t(skin.GetVertexFloats()) * 8, 0.0f);
        skin.Fits(vertices.data(), 8, 4);
    }
    return 0;
}
