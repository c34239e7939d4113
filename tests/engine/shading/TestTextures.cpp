#include "engine/shading/TestTextures.h"

#include "engine/texture/Texture.h"
#include "engine/texture/TextureDevice.h"

namespace {

class CFormatFrame : public CTextureFrame {
public:
    explicit CFormatFrame(uint32_t format) : m_format(format) {}
    uint32_t GetFormat() const override { return m_format; }

private:
    uint32_t m_format;
};

} // namespace

CTexture* MakeTestTexture(const char* name, uint32_t format) {
    CTexture* texture = new CTexture(name, TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_WRAP, TAM_WRAP, 1, false);
    if (format)
        texture->AppendFrame(new CFormatFrame(format));
    return texture;
}
