#include "engine/scene/SceneChunkLoaders.h"

#include <vector>

#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/Transform.h"

namespace {

void ApplyTransformFields(CTransform& transform, const TransformRecord& record) {
    transform.SetTranslation(record.translation[0], record.translation[1], record.translation[2]);
    transform.SetRotation(record.rotation[0], record.rotation[1], record.rotation[2]);
    transform.SetScale(record.scale[0], record.scale[1], record.scale[2]);
    transform.SetVisible(record.visible != 0 ? 1.0f : 0.0f);
}

void LoadTransform(const TransformRecord& record) {
    CTransform* transform = new CTransform(record.name.c_str(), RT_TRANSFORM);
    ApplyTransformFields(*transform, record);
}

void LoadBone(const BoneRecord& record) {
    CBone* bone = new CBone(record.transform.name.c_str());
    ApplyTransformFields(*bone, record.transform);
    CMatrix offset;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 4; ++row)
            offset(row, column) = record.offset[column][row];
    offset(0, 3) = 0.0f;
    offset(1, 3) = 0.0f;
    offset(2, 3) = 0.0f;
    offset(3, 3) = 1.0f;
    bone->SetOffsetMatrix(offset);
}

// Attaches the named nodes as the tree says, the top under the default parent.
// A missing node is reported and left out, and its children stay where they
// are; a node that is not a transform takes no children. A link that would
// close a cycle is refused by AddChild.
void LoadHierarchy(const HierarchyRecord& record) {
    std::vector<CNode*> found(record.nodes.size(), nullptr);
    for (size_t i = 0; i < record.nodes.size(); ++i) {
        const HierarchyNode& entry = record.nodes[i];
        CResource* resource =
            CurrentResourceManager ? CurrentResourceManager->Find(entry.name.c_str(), entry.kind) : nullptr;
        CNode* node = dynamic_cast<CNode*>(resource);
        if (!node) {
            ReportMissingResource();
            continue;
        }
        found[i] = node;
        CTransform* parent = nullptr;
        if (entry.parent < 0)
            parent = GetDefaultParent();
        else if ((size_t)entry.parent < i && found[entry.parent])
            parent = dynamic_cast<CTransform*>(found[entry.parent]);
        if (parent)
            parent->AddChild(node);
    }
}

} // namespace

void RegisterSceneChunkHandlers() {
    SetChunkHandler(static_cast<TransformHandler>(LoadTransform));
    SetChunkHandler(static_cast<BoneHandler>(LoadBone));
    SetChunkHandler(static_cast<HierarchyHandler>(LoadHierarchy));
}
