#include "engine/anim/AnimationSet.h"

#include <cmath>

#include "engine/anim/Animator.h"
#include "engine/anim/KeyframeData.h"

CAnimationSet::CAnimationSet(const char* name) : CResource(name, RT_ANIMATION_SET), m_length(LENGTH_UNSET) {}

void CAnimationSet::AddAnimator(CAnimator* animator) {
    if (!animator)
        return;
    if (m_length == LENGTH_UNSET) {
        if (CAnimationData* data = AnimationDataHandles().Resolve(animator->GetData()))
            m_length = data->GetDuration();
    }
    m_animators.push_back(animator->GetAnimatorHandle());
}

int CAnimationSet::Apply(float time, float weight, int writeType) {
    float length = m_length;
    if (length > 0.0f && std::isfinite(length) && std::isfinite(time)) {
        if (time < 0.0f)
            time = time + length * std::trunc(1.0f - time / length);
        if (time >= length)
            time = time - length * std::trunc(time / length);
    }
    for (CHandle handle : m_animators) {
        if (CAnimator* animator = AnimatorHandles().Resolve(handle))
            animator->Apply(time, weight, writeType);
    }
    return (int)m_animators.size();
}

CAnimationSet* CAnimationSet::Instantiate(const std::string& scope) const {
    CAnimationSet* set = new CAnimationSet((GetName() + scope).c_str());
    set->m_length = m_length;
    for (CHandle handle : m_animators) {
        if (CAnimator* animator = AnimatorHandles().Resolve(handle))
            set->AddAnimator(animator->Bind(scope));
    }
    return set;
}

std::array<CHandle, ANIM_ATTRIBUTE_COUNT> CAnimationSet::GetChannelBindings(const CResource* target) const {
    std::array<CHandle, ANIM_ATTRIBUTE_COUNT> bindings;
    bindings.fill(NULL_HANDLE);
    if (!target)
        return bindings;
    for (CHandle handle : m_animators) {
        CAnimator* animator = AnimatorHandles().Resolve(handle);
        if (!animator || animator->GetTarget() != target->GetHandle())
            continue;
        if (IsValidAnimAttribute(animator->GetAttribute()))
            bindings[animator->GetAttribute()] = animator->GetData();
    }
    return bindings;
}
