#pragma once
// Little-endian byte order, the one set of helpers for every file format the
// program and its tools read or write (BMP, TGA, DDS, WAV, archives). Header
// only, so that platform/ and tools/ use it without linking the engine.
// Readers take a pointer whose range the caller has checked.
#include <cstdint>
#include <vector>

inline uint16_t ReadLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

inline uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline int32_t ReadLeS32(const uint8_t* p) { return int32_t(ReadLe32(p)); }

inline void WriteLe16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void WriteLe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline void AppendLe16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) {
    AppendLe16(out, uint16_t(v));
    AppendLe16(out, uint16_t(v >> 16));
}
