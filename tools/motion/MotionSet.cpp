#include "tools/motion/MotionSet.h"

#include <cmath>
#include <set>

#include "engine/anim/AnimAttribute.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/resource/ResourceKind.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/vesko/VeskoRig.h"

std::vector<AnimationKey> MergeKeys(const std::vector<float>& v, bool stepped, float tolerance) {
    std::vector<AnimationKey> keys;
    if (v.size() < 2)
        return keys;
    size_t i = 0;
    const size_t last = v.size() - 1;
    while (i < last) {
        size_t j = i + 1;
        if (stepped) {
            while (j < last && v[j] == v[i])
                ++j;
            keys.push_back({float(j - i), 0.0f, v[i]});
        } else {
            // Extend while every sample between lies on the line from i to j.
            while (j < last) {
                size_t next = j + 1;
                bool straight = true;
                for (size_t k = i + 1; k < next && straight; ++k) {
                    float line = v[i] + (v[next] - v[i]) * float(k - i) / float(next - i);
                    straight = std::fabs(line - v[k]) <= tolerance;
                }
                if (!straight)
                    break;
                j = next;
            }
            keys.push_back({float(j - i), v[j] - v[i], v[i]});
        }
        i = j;
    }
    return keys;
}

namespace {

struct Channel {
    std::string node;
    int kind;
    int attribute;
    bool stepped;
    std::function<float(const Pose&)> value;
};

const char* AttributeSuffix(int attribute) {
    switch (attribute) {
    case AA_TRANSLATION_X: return "tx";
    case AA_TRANSLATION_Y: return "ty";
    case AA_TRANSLATION_Z: return "tz";
    case AA_ROTATION_X: return "rx";
    case AA_ROTATION_Y: return "ry";
    case AA_ROTATION_Z: return "rz";
    case AA_VISIBLE: return "vis";
    case AA_FRAME_EXTENSION: return "face";
    default: return "x";
    }
}

int AttributeOf(const std::string& suffix) {
    const char* names[] = {"tx", "ty", "tz", "rx", "ry", "rz"};
    for (int i = 0; i < 6; ++i)
        if (suffix == names[i])
            return AA_TRANSLATION_X + i;
    return suffix == "vis" ? AA_VISIBLE : -1;
}

} // namespace

bool WriteMotionSet(const MotionSpec& spec, std::vector<uint8_t>& bytes, std::string& error) {
    if (spec.length < 2 || !spec.at) {
        error = spec.set + ": a set needs at least two frames";
        return false;
    }
    std::vector<Pose> frames;
    for (int f = 0; f <= spec.length; ++f)
        frames.push_back(spec.at(float(f)));

    std::vector<Channel> channels;
    channels.push_back({VeskoNames::ROOT, RT_TRANSFORM, AA_TRANSLATION_X, false, [](const Pose& p) { return p.x; }});
    channels.push_back({VeskoNames::ROOT, RT_TRANSFORM, AA_TRANSLATION_Y, false, [](const Pose& p) { return p.y; }});
    channels.push_back({VeskoNames::ROOT, RT_TRANSFORM, AA_TRANSLATION_Z, false, [](const Pose& p) { return p.z; }});
    channels.push_back({VeskoNames::ROOT, RT_TRANSFORM, AA_ROTATION_Y, false, [](const Pose& p) { return p.yaw; }});
    for (const std::string& bone : VeskoBodyBones())
        for (int axis = 0; axis < 3; ++axis)
            channels.push_back({bone, RT_BONE, AA_ROTATION_X + axis, false, [bone, axis](const Pose& p) {
                                    MeshPoint r = p.Bone(bone);
                                    return axis == 0 ? r.x : axis == 1 ? r.y : r.z;
                                }});
    channels.push_back(
        {VeskoNames::FACE_TEXTURE, RT_TEXTURE, AA_FRAME_EXTENSION, true, [](const Pose& p) { return float(p.face); }});
    std::set<std::string> extras;
    for (const Pose& p : frames)
        for (const auto& kv : p.extras)
            extras.insert(kv.first);
    for (const std::string& extra : extras) {
        size_t colon = extra.find(':');
        int attribute = colon == std::string::npos ? -1 : AttributeOf(extra.substr(colon + 1));
        if (attribute < 0) {
            error = spec.set + ": unknown channel " + extra;
            return false;
        }
        // A frame that does not name the channel keeps the value before it.
        channels.push_back(
            {extra.substr(0, colon), RT_TRANSFORM, attribute, attribute == AA_VISIBLE, [extra](const Pose& p) {
                 auto v = p.extras.find(extra);
                 return v == p.extras.end() ? NAN : v->second;
             }});
    }

    CChunkWriter writer;
    AnimationSetRecord set;
    set.name = spec.set;
    for (const Channel& c : channels) {
        // A frame that does not name a room channel keeps the value before it
        // (the first value named, before any is).
        float held = NAN;
        for (const Pose& p : frames)
            if (!std::isnan(held = c.value(p)))
                break;
        std::vector<float> samples;
        for (const Pose& p : frames) {
            float v = c.value(p);
            if (!std::isnan(v))
                held = v;
            samples.push_back(held);
        }
        std::string base = spec.set + "_" + c.node + "_" + AttributeSuffix(c.attribute);
        AnimationDataRecord data;
        data.name = base;
        data.interpolation = AI_LINEAR;
        data.keys = MergeKeys(samples, c.stepped, 0.0015f);
        writer.Write(data);
        AnimatorRecord animator;
        animator.name = base + "A";
        animator.dataName = base;
        animator.targetName = c.node;
        animator.targetKind = c.kind;
        animator.attribute = c.attribute;
        writer.Write(animator);
        set.animatorNames.push_back(animator.name);
    }
    writer.Write(set);
    if (writer.Failed()) {
        error = spec.set + ": the chunk writer refused a record";
        return false;
    }
    bytes = writer.GetBytes();
    return true;
}
