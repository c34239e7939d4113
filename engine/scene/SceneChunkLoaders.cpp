#include "engine/scene/SceneChunkLoaders.h"

#include <algorithm>
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

static_assert(MAX_SCENE_DEPTH >= 2 * MAX_HIERARCHY_DEPTH, "a whole record fits under a loaded tree");

// Levels from the top of the transform's tree down to the transform (the top
// is level 1); counting stops past limit.
int LevelOf(CTransform* transform, int limit) {
    int level = 0;
    for (CTransform* t = transform; t && level <= limit; t = t->GetParent())
        ++level;
    return level;
}

// Levels of the node's subtree, 1 for a node without children, walked without
// recursion; counting stops past limit.
int SubtreeLevels(CNode* node, int limit) {
    struct Open {
        CTransform* transform;
        int level;
    };
    CTransform* top = dynamic_cast<CTransform*>(node);
    if (!top)
        return 1;
    int deepest = 1;
    std::vector<Open> open{{top, 1}};
    while (!open.empty() && deepest <= limit) {
        Open at = open.back();
        open.pop_back();
        deepest = std::max(deepest, at.level);
        for (CHandle handle : at.transform->GetChildren()) {
            CNode* child = NodeHandles().Resolve(handle);
            if (!child)
                continue;
            deepest = std::max(deepest, at.level + 1);
            if (CTransform* transform = dynamic_cast<CTransform*>(child))
                open.push_back({transform, at.level + 1});
        }
    }
    return deepest;
}

// Attaches the node unless that would close a cycle (AddChild refuses it) or
// make the tree deeper than MAX_SCENE_DEPTH.
void Attach(CTransform* parent, CNode* node) {
    int above = LevelOf(parent, MAX_SCENE_DEPTH);
    if (above >= MAX_SCENE_DEPTH || above + SubtreeLevels(node, MAX_SCENE_DEPTH - above) > MAX_SCENE_DEPTH)
        return;
    parent->AddChild(node);
}

// Attaches the named nodes as the tree says, the top under the default parent.
// A missing node is reported and left out, and its children stay where they
// are; a node that is not a transform takes no children. A link that would
// close a cycle or go past MAX_SCENE_DEPTH is refused and the node stays
// where it was.
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
            Attach(parent, node);
    }
}

} // namespace

void RegisterSceneChunkHandlers() {
    SetChunkHandler(static_cast<TransformHandler>(LoadTransform));
    SetChunkHandler(static_cast<BoneHandler>(LoadBone));
    SetChunkHandler(static_cast<HierarchyHandler>(LoadHierarchy));
}
