#include "engine/chunk/VertexSize.h"

#include "engine/chunk/ChunkEnums.h"

namespace {
const int ELEMENT_SIZES[VERTEX_ELEMENT_COUNT] = {
    12, 12, 12, 12,             // position, normal, tangent, binormal
    16, 16,                     // colours
    4,  4,  4,  4,              // weights
    16,                         // weight indices
    8,  8,  8,  8,  8, 8, 8, 8, // texture coordinates
};
} // namespace

int GetVertexElementSize(int element) {
    return element >= 0 && element < VERTEX_ELEMENT_COUNT ? ELEMENT_SIZES[element] : 0;
}

int GetVertexSize(uint32_t mask) {
    int size = 0;
    for (int bit = 0; bit < VERTEX_ELEMENT_COUNT; ++bit)
        if (mask & (1u << bit))
            size += ELEMENT_SIZES[bit];
    return size;
}
