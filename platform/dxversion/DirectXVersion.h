#pragma once
#include <cstdint>

// The installed DirectX as the set-up library reports it, from the version
// text Windows records ("4.08.01.0901" is DirectX 8.1): version = major << 16
// | minor, revision = third << 16 | fourth. False for text of another form.
bool ParseDirectXVersion(const char* text, uint32_t& version, uint32_t& revision);

// DirectX 8.1 as the set-up library reports it.
constexpr uint32_t DX81_VERSION = 0x40008;
constexpr uint32_t DX81_REVISION = 0x10385;

// Whether a reported DirectX is 8.1 or newer (unsigned comparisons).
inline bool IsDirectX81OrLater(uint32_t version, uint32_t revision) {
    return version > DX81_VERSION || (version == DX81_VERSION && revision >= DX81_REVISION);
}
