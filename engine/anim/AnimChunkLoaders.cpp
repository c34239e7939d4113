#include "engine/anim/AnimChunkLoaders.h"

#include "engine/anim/AnimationSet.h"
#include "engine/anim/Animator.h"
#include "engine/anim/KeyframeData.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"

namespace {

CResource* FindOrReport(const std::string& name, int kind) {
    CResource* found = CurrentResourceManager ? CurrentResourceManager->Find(name.c_str(), kind) : nullptr;
    if (!found)
        ReportMissingResource();
    return found;
}

void LoadAnimationData(const AnimationDataRecord& record) {
    if (record.interpolation != AI_LINEAR)
        return;
    CKeyframeData* data = new CKeyframeData(record.name.c_str());
    for (const AnimationKey& key : record.keys)
        data->AppendKey(key.length, key.change, key.start);
}

// A missing target or curve leaves the animator unbound.
void LoadAnimator(const AnimatorRecord& record) {
    CAnimator* animator = new CAnimator(record.name.c_str());
    CAnimationData* data = dynamic_cast<CAnimationData*>(FindOrReport(record.dataName, RT_ANIMATION_DATA));
    CResource* target = FindOrReport(record.targetName, record.targetKind);
    animator->SetTarget(target, record.attribute, data);
}

// The length comes from the first animator's curve; missing members are left out.
void LoadAnimationSet(const AnimationSetRecord& record) {
    CAnimationSet* set = new CAnimationSet(record.name.c_str());
    for (const std::string& name : record.animatorNames) {
        if (CAnimator* animator = dynamic_cast<CAnimator*>(FindOrReport(name, RT_ANIMATOR)))
            set->AddAnimator(animator);
    }
}

} // namespace

void RegisterAnimChunkHandlers() {
    SetChunkHandler(static_cast<AnimationDataHandler>(LoadAnimationData));
    SetChunkHandler(static_cast<AnimatorHandler>(LoadAnimator));
    SetChunkHandler(static_cast<AnimationSetHandler>(LoadAnimationSet));
}
