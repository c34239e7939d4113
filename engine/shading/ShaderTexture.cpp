#include "engine/shading/ShaderTexture.h"

#include "engine/resource/ResourceKind.h"
#include "engine/resource/ResourceManager.h"
#include "engine/texture/Texture.h"

bool IsTextureTranslucent(const CTexture* texture) {
    return texture && texture->GetFrameCount() > 0 && texture->IsTranslucent();
}

CTexture* FindTexture(const char* name) {
    if (!CurrentResourceManager || !name)
        return nullptr;
    return dynamic_cast<CTexture*>(CurrentResourceManager->Find(name, RT_TEXTURE));
}
