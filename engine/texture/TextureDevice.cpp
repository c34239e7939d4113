#include "engine/texture/TextureDevice.h"

namespace {

ITextureDevice* g_textureDevice = nullptr;

constexpr uint32_t FourCc(char a, char b, char c, char d) {
    return (uint32_t)(uint8_t)a | ((uint32_t)(uint8_t)b << 8) | ((uint32_t)(uint8_t)c << 16) |
           ((uint32_t)(uint8_t)d << 24);
}

} // namespace

void SetTextureDevice(ITextureDevice* device) { g_textureDevice = device; }

ITextureDevice* GetTextureDevice() { return g_textureDevice; }

bool IsTranslucentFormat(uint32_t format) {
    switch (format) {
    case 21: // A8R8G8B8
    case 26: // A4R4G4B4
    case 28: // A8
    case 29: // A8R3G3B2
    case 40: // A8P8
    case 51: // A8L8
    case 52: // A4L4
    case FourCc('D', 'X', 'T', '2'):
    case FourCc('D', 'X', 'T', '3'):
    case FourCc('D', 'X', 'T', '4'):
    case FourCc('D', 'X', 'T', '5'): return true;
    default: return false;
    }
}
