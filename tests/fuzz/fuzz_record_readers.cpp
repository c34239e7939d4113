// The field unpacker under every signature letter, on records cut anywhere.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/chunk/FieldUnpack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte picks a signature of up to eight letters.
    static const char* const LETTERS = "lfws";
    char signature[9] = {};
    const size_t count = 1 + (data[0] & 7);
    for (size_t i = 0; i < count; ++i)
        signature[i] = LETTERS[(data[0] >> (i % 4) ^ i) & 3];
    int32_t l[8];
    float f[8];
    uint16_t w[8];
    char s[8][256];
    void* out[8];
    size_t nl = 0, nf = 0, nw = 0, ns = 0;
    for (size_t i = 0; i < count; ++i) {
        switch (signature[i]) {
        case 'l': out[i] = &l[nl++]; break;
        case 'f': out[i] = &f[nf++]; break;
        case 'w': out[i] = &w[nw++]; break;
        default: out[i] = s[ns++]; break;
        }
    }
    UnpackFields(data + 1, size - 1, signature, out[0], out[1], out[2], out[3], out[4], out[5], out[6], out[7]);
    return 0;
}
