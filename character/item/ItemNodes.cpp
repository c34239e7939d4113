#include "character/item/ItemNodes.h"

#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

CHandle FindTransformHandle(const std::string& name, const std::string& scope) {
    if (name.empty() || !CurrentResourceManager)
        return NULL_HANDLE;
    auto* node = dynamic_cast<CTransform*>(CurrentResourceManager->Find((name + scope).c_str(), RT_TRANSFORM));
    return node ? node->GetTransformHandle() : NULL_HANDLE;
}

CTransform* ResolveTransform(CHandle handle) { return TransformHandles().Resolve(handle); }

void SetNodeVisible(CHandle node, bool visible) {
    if (CTransform* transform = ResolveTransform(node))
        transform->SetVisible(visible ? 1.0f : 0.0f);
}

bool IsNodeShown(CHandle node) {
    CTransform* transform = ResolveTransform(node);
    return transform && transform->GetChannelValue(CTransform::TC_VISIBLE) >= 1.0f;
}
