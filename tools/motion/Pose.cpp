#include "tools/motion/Pose.h"

#include <cmath>

#include "engine/chunk/ChunkRecords.h"
#include "engine/math/Matrix.h"
#include "tools/content/SkeletonBuilder.h"
#include "tools/vesko/VeskoRig.h"

MeshPoint Pose::Bone(const std::string& name) const {
    auto b = bones.find(name);
    return b == bones.end() ? MeshPoint{0, 0, 0} : b->second;
}

Pose& Pose::Turn(const std::string& bone, float rx, float ry, float rz) {
    MeshPoint& b = bones[bone];
    b.x += rx, b.y += ry, b.z += rz;
    return *this;
}

Pose& Pose::Set(const std::string& bone, float rx, float ry, float rz) {
    bones[bone] = {rx, ry, rz};
    return *this;
}

static bool SteppedExtra(const std::string& channel) {
    return channel.size() > 4 && channel.compare(channel.size() - 4, 4, ":vis") == 0;
}

Pose Mix(const Pose& a, const Pose& b, float t) {
    Pose out;
    for (const auto& kv : a.bones)
        out.bones[kv.first] = kv.second;
    for (const auto& kv : b.bones)
        out.bones[kv.first];
    for (auto& kv : out.bones) {
        MeshPoint p = a.Bone(kv.first), q = b.Bone(kv.first);
        kv.second = {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
    }
    out.x = a.x + (b.x - a.x) * t;
    out.y = a.y + (b.y - a.y) * t;
    out.z = a.z + (b.z - a.z) * t;
    out.yaw = a.yaw + (b.yaw - a.yaw) * t;
    out.face = t < 0.5f ? a.face : b.face;
    out.extras = a.extras;
    for (const auto& kv : b.extras) {
        auto from = a.extras.find(kv.first);
        if (from == a.extras.end() || SteppedExtra(kv.first))
            out.extras[kv.first] = (from == a.extras.end() || t >= 0.5f) ? kv.second : from->second;
        else
            out.extras[kv.first] = from->second + (kv.second - from->second) * t;
    }
    return out;
}

Pose Add(const Pose& a, const Pose& delta, float k) {
    Pose out = a;
    for (const auto& kv : delta.bones)
        out.Turn(kv.first, kv.second.x * k, kv.second.y * k, kv.second.z * k);
    out.x += delta.x * k, out.y += delta.y * k, out.z += delta.z * k, out.yaw += delta.yaw * k;
    return out;
}

float Smooth(float t) {
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}

CTimeline& CTimeline::Key(float frame, const Pose& pose) {
    m_keys.emplace_back(frame, pose);
    return *this;
}

CTimeline& CTimeline::Hold(float frames) { return Key(End() + frames, Last()); }

CTimeline& CTimeline::Then(float frames, const Pose& pose) { return Key(End() + frames, pose); }

Pose CTimeline::At(float frame) const {
    if (m_keys.empty())
        return Pose();
    if (frame <= m_keys.front().first)
        return m_keys.front().second;
    for (size_t i = 1; i < m_keys.size(); ++i)
        if (frame <= m_keys[i].first) {
            float span = m_keys[i].first - m_keys[i - 1].first;
            float t = span > 0 ? (frame - m_keys[i - 1].first) / span : 1.0f;
            return Mix(m_keys[i - 1].second, m_keys[i].second, Smooth(t));
        }
    return m_keys.back().second;
}

MeshPoint RigWorldPosition(const Pose& pose, const std::string& node) {
    std::vector<const VeskoRigNode*> chain;
    for (const VeskoRigNode* n = FindVeskoRigNode(node); n; n = *n->parent ? FindVeskoRigNode(n->parent) : nullptr)
        chain.push_back(n);
    CMatrix world;
    for (size_t i = chain.size(); i-- > 0;) {
        const VeskoRigNode& n = *chain[i];
        TransformRecord t;
        for (int k = 0; k < 3; ++k) {
            t.translation[k] = n.translation[k];
            t.scale[k] = n.scale[k];
        }
        if (std::string(n.name) == VeskoNames::ROOT) {
            t.translation[0] = pose.x, t.translation[1] = pose.y, t.translation[2] = pose.z;
            t.rotation[1] = pose.yaw;
            t.scale[0] = t.scale[1] = t.scale[2] = VESKO_ROOT_SCALE;
        } else if (n.kind == VESKO_BONE) {
            MeshPoint r = pose.Bone(n.name);
            t.rotation[0] = r.x, t.rotation[1] = r.y, t.rotation[2] = r.z;
        }
        CMatrix local, product;
        ComputeRestMatrix(t, local);
        // world = local x parent world
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                float s = 0;
                for (int k = 0; k < 4; ++k)
                    s += local(r, k) * world(k, c);
                product(r, c) = s;
            }
        world = product;
    }
    return {world(3, 0), world(3, 1), world(3, 2)};
}
