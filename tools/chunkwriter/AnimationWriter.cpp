#include "tools/chunkwriter/AnimationWriter.h"

#include "engine/chunk/ChunkEnums.h"
#include "tools/chunkwriter/ChunkWriter.h"

void CAnimationWriter::Channel(const std::string& target, int kind, int attribute,
                               std::vector<std::pair<float, float>> points, float length) {
    AnimationDataRecord data;
    std::string base = m_setName + "_" + target + "_" + std::to_string(attribute);
    data.name = base + "Data";
    data.interpolation = AI_LINEAR;
    if (points.empty() || points.front().first > 0.0f)
        points.insert(points.begin(), {0.0f, points.empty() ? 0.0f : points.front().second});
    if (points.back().first < length)
        points.push_back({length, points.back().second});
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        float span = points[i + 1].first - points[i].first;
        if (span <= 0.0f)
            continue;
        data.keys.push_back({span, points[i + 1].second - points[i].second, points[i].second});
    }
    AnimatorRecord animator;
    animator.name = base;
    animator.dataName = data.name;
    animator.targetName = target;
    animator.targetKind = kind;
    animator.attribute = attribute;
    m_data.push_back(data);
    m_animators.push_back(animator);
}

bool CAnimationWriter::Write(std::vector<uint8_t>& bytes, std::string& error) const {
    CChunkWriter writer;
    for (const AnimationDataRecord& d : m_data)
        writer.Write(d);
    for (const AnimatorRecord& a : m_animators)
        writer.Write(a);
    AnimationSetRecord set;
    set.name = m_setName;
    for (const AnimatorRecord& a : m_animators)
        set.animatorNames.push_back(a.name);
    writer.Write(set);
    return writer.TakeBytes(bytes, error, "an animation record of " + m_setName);
}
