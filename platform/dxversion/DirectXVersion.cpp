#include "platform/dxversion/DirectXVersion.h"

namespace {

// Up to `digits` decimal digits (at least one), below 65536.
bool ReadField(const char*& at, int digits, uint32_t& value) {
    value = 0;
    int n = 0;
    while (n < digits && *at >= '0' && *at <= '9') {
        value = value * 10 + uint32_t(*at - '0');
        ++at, ++n;
    }
    return n > 0 && value <= 0xFFFF;
}

} // namespace

bool ParseDirectXVersion(const char* text, uint32_t& version, uint32_t& revision) {
    if (!text)
        return false;
    uint32_t f[4];
    const char* at = text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && *at++ != '.')
            return false;
        if (!ReadField(at, 5, f[i]))
            return false;
    }
    if (*at != '\0')
        return false;
    version = f[0] << 16 | f[1];
    revision = f[2] << 16 | f[3];
    return true;
}
