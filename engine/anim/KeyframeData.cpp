#include "engine/anim/KeyframeData.h"

#include <cmath>

#include "engine/resource/ResourceKind.h"

namespace {

const float HALF_TURN = 3.141592f;
const float FULL_TURN = 6.283184f;
// Above this many turns of difference the angle is reduced arithmetically
// first; the loops below then take at most a step or two.
const double MAX_LOOP_TURNS = 16.0;

// Shifts an angle by whole turns into (reference - pi, reference + pi].
float WrapNear(float angle, float reference) {
    double diff = (double)angle - (double)reference;
    if (!std::isfinite(diff))
        return angle;
    // The remainder is exact however large the difference, where taking off a
    // rounded count of turns is not.
    if (std::fabs(diff) > MAX_LOOP_TURNS * FULL_TURN)
        angle = (float)((double)reference + std::remainder(diff, (double)FULL_TURN));
    for (int i = 0; i < 64 && angle > reference + HALF_TURN; ++i)
        angle = angle - FULL_TURN;
    for (int i = 0; i < 64 && angle <= reference - HALF_TURN; ++i)
        angle = angle + FULL_TURN;
    return angle;
}

} // namespace

HandleTable<CAnimationData>& AnimationDataHandles() {
    static HandleTable<CAnimationData> table;
    return table;
}

CAnimationData::CAnimationData(const char* name) : CResource(name, RT_ANIMATION_DATA) {
    m_dataHandle = AnimationDataHandles().Register(this);
}

CAnimationData::~CAnimationData() { AnimationDataHandles().Release(m_dataHandle.index); }

CKeyframeData::CKeyframeData(const char* name) : CAnimationData(name) {}

void CKeyframeData::AppendKey(float length, float change, float startValue) {
    float start = m_keys.empty() ? 0.0f : m_keys.back().start + m_keys.back().length;
    m_keys.push_back({start, length, change, startValue});
}

float CKeyframeData::Sample(float time) {
    if (m_keys.empty())
        return 0.0f;
    size_t lo = 0, hi = m_keys.size() - 1;
    while (hi - lo > 1) {
        size_t mid = lo + (hi - lo) / 2;
        if (time <= m_keys[mid].start)
            hi = mid;
        else
            lo = mid;
    }
    const Key& key = m_keys[hi].start <= time ? m_keys[hi] : m_keys[lo];
    if (key.length == 0.0f || !std::isfinite(key.length))
        return key.startValue;
    return key.startValue + key.change * (time - key.start) / key.length;
}

float CKeyframeData::GetDuration() {
    if (m_keys.empty())
        return 0.0f;
    return m_keys.back().start + m_keys.back().length;
}

void CKeyframeData::AccumulateLinear(float& accumulator, float time, float weight, bool add) {
    float v = Sample(time) * weight;
    if (add)
        v = v + accumulator;
    accumulator = v;
}

void CKeyframeData::AccumulateAngle(float& accumulator, float time, float weight, bool add, float totalWeight) {
    float d = Sample(time);
    if (!add) {
        accumulator = d * weight;
        return;
    }
    float reference = accumulator / totalWeight;
    accumulator = accumulator + WrapNear(d, reference) * weight;
}

void CKeyframeData::AccumulateStep(float& accumulator, float time, float weight, bool add) {
    float s = Sample(time);
    if (!add)
        accumulator = s * weight;
    else if (weight >= 0.5f)
        accumulator = s;
}
