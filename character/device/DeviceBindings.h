#pragma once
#include "character/act/ActFadeColor.h"
#include "character/item/TextureSwap.h"

class CRenderer;

// Texture swaps on the real shaders: a texture not yet loaded is read from the
// character's model folder.
class CShaderTextureBinder : public ITextureBinder {
public:
    CResource* FindOrLoadTexture(const std::string& fileName) override;
    void SetShaderTexture(CResource* shader, CResource* texture) override;
};

// The fade action's colour goes to the renderer.
class CRendererColorTarget : public IModulateColorTarget {
public:
    explicit CRendererColorTarget(CRenderer* renderer) : m_renderer(renderer) {}
    void SetModulateColor(const ColorRGBA& color) override;

private:
    CRenderer* m_renderer;
};

// Lets the collision nodes report in the first update of a pass only.
void UseRendererFirstUpdateForCollisions();
