#pragma once
#include <array>
#include <string>
#include <vector>

#include "engine/anim/AnimAttribute.h"
#include "engine/resource/Handle.h"
#include "engine/resource/Resource.h"

class CAnimator;

// A named group of animators played together over a common length; times
// outside the length wrap. Loaded once, then instantiated per model instance.
class CAnimationSet : public CResource {
public:
    static constexpr float LENGTH_UNSET = -1.0f;

    explicit CAnimationSet(const char* name);

    // The first animator with data sets a length still unset.
    void AddAnimator(CAnimator* animator);
    // Answers the number of animators. A set without a positive length plays
    // times as given.
    int Apply(float time, float weight, int writeType);
    CAnimationSet* Instantiate(const std::string& scope) const;
    // Per attribute, the data of the last animator that drives target with it.
    std::array<CHandle, ANIM_ATTRIBUTE_COUNT> GetChannelBindings(const CResource* target) const;

    float GetLength() const { return m_length; }
    void SetLength(float length) { m_length = length; }
    const std::vector<CHandle>& GetAnimators() const { return m_animators; }

private:
    float m_length;
    std::vector<CHandle> m_animators;
};
