// Truevision TGA: colour-mapped, true-colour and grey images, plain or
// run-length encoded, 8, 15, 16, 24 or 32 bits, any origin corner.
#include <cstring>

#include "platform/image/ImageDecoders.h"

namespace {

constexpr size_t HEADER = 18;

// Reads texels one by one from the packed or run-length stream, never past end.
class CTgaStream {
public:
    CTgaStream(const uint8_t* p, const uint8_t* end, int bytes, bool rle)
        : m_p(p),
          m_end(end),
          m_bytes(bytes),
          m_rle(rle) {}

    // The next texel's bytes, or null when the data runs out.
    const uint8_t* Next() {
        if (!m_rle)
            return Take();
        if (m_left == 0) {
            if (m_p >= m_end)
                return nullptr;
            uint8_t head = *m_p++;
            m_left = (head & 0x7f) + 1;
            m_repeat = (head & 0x80) != 0;
            if (m_repeat && !(m_value = Take()))
                return nullptr;
        }
        --m_left;
        return m_repeat ? m_value : Take();
    }

private:
    const uint8_t* Take() {
        if ((size_t)(m_end - m_p) < (size_t)m_bytes)
            return nullptr;
        const uint8_t* v = m_p;
        m_p += m_bytes;
        return v;
    }

    const uint8_t* m_p;
    const uint8_t* m_end;
    int m_bytes;
    bool m_rle;
    int m_left = 0;
    bool m_repeat = false;
    const uint8_t* m_value = nullptr;
};

// Writes one texel of the given depth as B, G, R, A. The top bit of a 16-bit
// texel is alpha only when the descriptor gives one alpha bit; otherwise it
// is unused and the texel opaque.
void PutTexel(const uint8_t* v, int bits, bool grey, bool attributeBit, uint8_t* dst) {
    if (grey) {
        dst[0] = dst[1] = dst[2] = v[0];
        dst[3] = bits == 16 ? v[1] : 255;
    } else if (bits == 15 || bits == 16) {
        uint16_t p = ReadLe16(v);
        dst[0] = (uint8_t)((p & 31) * 255 / 31);
        dst[1] = (uint8_t)(((p >> 5) & 31) * 255 / 31);
        dst[2] = (uint8_t)(((p >> 10) & 31) * 255 / 31);
        dst[3] = (bits == 16 && attributeBit && !(p & 0x8000)) ? 0 : 255;
    } else {
        dst[0] = v[0], dst[1] = v[1], dst[2] = v[2];
        dst[3] = bits == 32 ? v[3] : 255;
    }
}

} // namespace

bool DecodeTga(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits) {
    out.Clear();
    if (!data || size < HEADER)
        return false;
    int idLength = data[0];
    int mapType = data[1];
    int type = data[2];
    int mapFirst = ReadLe16(data + 3);
    int mapLength = ReadLe16(data + 5);
    int mapBits = data[7];
    int width = ReadLe16(data + 12);
    int height = ReadLe16(data + 14);
    int bits = data[16];
    int descriptor = data[17];
    bool rle = type >= 9;
    int base = rle ? type - 8 : type;
    if (mapType > 1 || (base != 1 && base != 2 && base != 3) || !limits.Fits(width, height))
        return false;
    bool attributeBit = (descriptor & 15) == 1;

    const uint8_t* end = data + size;
    const uint8_t* p = data + HEADER;
    if ((size_t)(end - p) < (size_t)idLength)
        return false;
    p += idLength;

    const uint8_t* map = nullptr;
    int mapBytes = 0;
    if (mapType == 1) {
        if (mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32)
            return false;
        mapBytes = (mapBits + 7) / 8;
        if ((size_t)(end - p) / (size_t)mapBytes < (size_t)mapLength)
            return false;
        map = p;
        p += (size_t)mapLength * (size_t)mapBytes;
    }

    int texelBytes;
    bool grey = base == 3;
    int outBits = bits;
    if (base == 1) {
        if (!map || (bits != 8 && bits != 16))
            return false;
        texelBytes = bits / 8;
        outBits = mapBits;
    } else if (grey) {
        if (bits != 8 && bits != 16)
            return false;
        texelBytes = bits / 8;
    } else {
        if (bits != 15 && bits != 16 && bits != 24 && bits != 32)
            return false;
        texelBytes = (bits + 7) / 8;
    }

    // The least data the texels can take: every texel, or one packet of
    // 128 repeats for each 128 texels.
    size_t texels = (size_t)width * (size_t)height;
    size_t least = rle ? (texels + 127) / 128 * (size_t)(1 + texelBytes) : texels * (size_t)texelBytes;
    if ((size_t)(end - p) < least || !out.Allocate(width, height))
        return false;
    bool topDown = (descriptor & 0x20) != 0;
    bool rightToLeft = (descriptor & 0x10) != 0;
    CTgaStream stream(p, end, texelBytes, rle);
    for (int row = 0; row < height; ++row) {
        uint8_t* dst = out.Row(topDown ? row : height - 1 - row);
        for (int col = 0; col < width; ++col) {
            const uint8_t* v = stream.Next();
            if (!v) {
                out.Clear();
                return false;
            }
            uint8_t* texel = dst + (size_t)(rightToLeft ? width - 1 - col : col) * 4;
            if (base == 1) {
                int index = (texelBytes == 1 ? v[0] : ReadLe16(v)) - mapFirst;
                if (index < 0 || index >= mapLength) {
                    out.Clear();
                    return false;
                }
                PutTexel(map + (size_t)index * (size_t)mapBytes, outBits, false, attributeBit, texel);
            } else {
                PutTexel(v, bits, grey, attributeBit, texel);
            }
        }
    }
    // A real alpha channel: 32-bit texels (or an 8-bit grey alpha). The 16-bit
    // attribute bit is a mask only.
    out.hasAlpha = (outBits == 32 && (descriptor & 15) != 0) || (grey && bits == 16);
    if (outBits == 32 && (descriptor & 15) == 0)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.Row(y)[(size_t)x * 4 + 3] = 255;
    return true;
}
