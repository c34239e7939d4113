#pragma once
#include <string>

#include "engine/anim/AnimAttribute.h"
#include "engine/resource/Handle.h"
#include "engine/resource/Resource.h"

class CAnimationData;

// Binds one curve to one channel of one target. Everything is held by handle,
// so an animator whose target or data has gone simply writes nothing.
class CAnimator : public CResource {
public:
    explicit CAnimator(const char* name);
    ~CAnimator() override;

    // A null target or data leaves the animator unbound.
    void SetTarget(CResource* target, int attribute, CAnimationData* data);
    void Apply(float time, float weight, int writeType);
    // A new animator for the scoped namesake of the target (textures and
    // shaders keep their plain name), sharing the curve.
    CAnimator* Bind(const std::string& scope) const;

    CHandle GetAnimatorHandle() const { return m_animatorHandle; }
    CHandle GetTarget() const { return m_target; }
    int GetAttribute() const { return m_attribute; }
    CHandle GetChannel() const { return m_channel; }
    CHandle GetData() const { return m_data; }

private:
    CHandle m_animatorHandle;
    CHandle m_target;
    int m_attribute;
    CHandle m_channel;
    CHandle m_data;
};

HandleTable<CAnimator>& AnimatorHandles();
