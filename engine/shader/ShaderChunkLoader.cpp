#include "engine/shader/ShaderChunkLoader.h"

#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/shader/ShaderTypes.h"
#include "engine/texture/Texture.h"

namespace {

// The resource of that name and kind in the current registry, or null.
template <class T>
T* FindCurrent(const char* name, int kind) {
    return CurrentResourceManager && name ? dynamic_cast<T*>(CurrentResourceManager->Find(name, kind)) : nullptr;
}

// A shader of the record's type with its texture, colours, bones and, for
// the dynamic types, the dynamics bone and the spring links. A missing
// texture or bone is reported and left out (a bone keeps its palette place).
// A dynamic record whose link table does not close its last run creates
// nothing. More than 20 bones never reach here: the reader refuses them.
void LoadShader(const ShaderRecord& record) {
    if (IsDynamicShaderType(record.shaderType)) {
        CDynamicSkin probe(2);
        if (!probe.ReadLinkTable(record.linkList.data(), (int)record.linkList.size()))
            return;
    }
    CShader* shader = CreateShader(record.name.c_str(), record.shaderType);
    if (!shader)
        return;

    if (CTexture* texture = FindCurrent<CTexture>(record.TextureToFind(), RT_TEXTURE))
        shader->SetTexture(texture);
    else
        ReportMissingResource();
    shader->SetColor(record.colour[0], record.colour[1], record.colour[2], record.colour[3]);
    shader->SetMaterialAmbient(ColorRGBA(record.ambient[0], record.ambient[1], record.ambient[2], 1.0f));

    for (const std::string& name : record.boneNames) {
        CBone* bone = FindCurrent<CBone>(name.c_str(), RT_BONE);
        if (!bone)
            ReportMissingResource();
        shader->AddBone(bone);
    }

    if (CShaderLambertDynamic* dynamic = dynamic_cast<CShaderLambertDynamic*>(shader)) {
        dynamic->GetSkin().SetDynamicsBone(record.dynamicsBone);
        dynamic->GetSkin().ReadLinkTable(record.linkList.data(), (int)record.linkList.size());
    }
}

} // namespace

void RegisterShaderChunkHandler() { SetChunkHandler(static_cast<ShaderHandler>(LoadShader)); }
