#include "character/device/DeviceBindings.h"

#include <string>

#include "character/collision/CollisionNode.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"

namespace {

// The character's own model folder.
constexpr int CHARACTER_MODEL_PREFIX = 4;

bool RendererFirstUpdate() {
    CRenderer* renderer = CRenderer::Current();
    return !renderer || renderer->IsFirstUpdate();
}

} // namespace

CResource* CShaderTextureBinder::FindOrLoadTexture(const std::string& fileName) {
    if (CurrentResourceManager)
        if (CResource* found = CurrentResourceManager->Find(fileName.c_str(), RT_TEXTURE))
            return found;
    SetModelPathPrefix(CHARACTER_MODEL_PREFIX);
    const std::string path = std::string(GetModelPathPrefix()) + fileName;
    return new CFileTexture(fileName.c_str(), path.c_str(), TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_WRAP, TAM_WRAP, 1,
                            false);
}

void CShaderTextureBinder::SetShaderTexture(CResource* shader, CResource* texture) {
    auto* target = dynamic_cast<CShader*>(shader);
    auto* image = dynamic_cast<CTexture*>(texture);
    if (target && image)
        target->SetTexture(image);
}

void CRendererColorTarget::SetModulateColor(const ColorRGBA& color) {
    if (m_renderer)
        m_renderer->SetModulateColor(color);
}

void UseRendererFirstUpdateForCollisions() { SetCollisionFirstUpdateQuery(&RendererFirstUpdate); }
