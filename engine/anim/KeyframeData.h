#pragma once
#include <vector>

#include "engine/resource/Handle.h"
#include "engine/resource/Resource.h"

// A curve that animators sample; the accumulate operations fold a weighted
// sample into a channel value for the blend pass.
class CAnimationData : public CResource {
public:
    explicit CAnimationData(const char* name);
    ~CAnimationData() override;

    virtual void AccumulateLinear(float& accumulator, float time, float weight, bool add) = 0;
    virtual void AccumulateAngle(float& accumulator, float time, float weight, bool add, float totalWeight) = 0;
    virtual void AccumulateStep(float& accumulator, float time, float weight, bool add) = 0;
    virtual float Sample(float time) = 0;
    virtual float GetDuration() = 0;

    // The handle in the animation-data family.
    CHandle GetDataHandle() const { return m_dataHandle; }

private:
    CHandle m_dataHandle;
};

HandleTable<CAnimationData>& AnimationDataHandles();

// A piecewise-linear curve: keys laid end to end from time 0. Times outside
// the keys extend the first or last key's line.
class CKeyframeData : public CAnimationData {
public:
    struct Key {
        float start;
        float length;
        float change;
        float startValue;
    };

    explicit CKeyframeData(const char* name);

    void AppendKey(float length, float change, float startValue);

    void AccumulateLinear(float& accumulator, float time, float weight, bool add) override;
    void AccumulateAngle(float& accumulator, float time, float weight, bool add, float totalWeight) override;
    void AccumulateStep(float& accumulator, float time, float weight, bool add) override;
    // 0 without keys; a key of no (or no usable) length holds its start value.
    float Sample(float time) override;
    // 0 without keys.
    float GetDuration() override;

    const std::vector<Key>& GetKeys() const { return m_keys; }

private:
    std::vector<Key> m_keys;
};
