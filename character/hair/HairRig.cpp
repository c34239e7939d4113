#include "character/hair/HairRig.h"

#include "engine/math/Matrix.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

namespace {

const char* const BONE_NAMES[HairRig::BONE_COUNT] = {
    "hairMomiL",  "hairMomiLm",  "hairMomiLe", "hairMomiR",   "hairMomiRm", "hairMomiRe",  "hairBackLA", "hairBackLAe",
    "hairBackRA", "hairBackRAe", "hairBackLB", "hairBackLBe", "hairBackRB", "hairBackRBe", "hairBackC",  "hairBackCe",
};

// A strand: its bones are consecutive in BONE_NAMES, the first is its root,
// and every bone but the last is turned towards the next.
struct Strand {
    int first;
    int count;
};
const Strand STRANDS[HairRig::ROOT_COUNT] = {{0, 3}, {3, 3}, {6, 2}, {8, 2}, {10, 2}, {12, 2}, {14, 2}};

CHandle FindBone(const std::string& name) {
    if (!CurrentResourceManager)
        return NULL_HANDLE;
    auto* bone = dynamic_cast<CTransform*>(CurrentResourceManager->Find(name.c_str(), RT_BONE));
    return bone ? bone->GetTransformHandle() : NULL_HANDLE;
}

CTransform* Resolve(CHandle handle) { return TransformHandles().Resolve(handle); }

Vec3 Translation(const CMatrix& m) { return Vec3(m(3, 0), m(3, 1), m(3, 2)); }

Vec3 Difference(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }

} // namespace

HairRig::HairRig() : m_head(NULL_HANDLE), m_setUp(false) {
    for (int i = 0; i < BONE_COUNT; ++i) {
        m_bones[i] = NULL_HANDLE;
        m_missing[i] = true;
    }
}

const char* HairRig::BoneName(int bone) { return bone >= 0 && bone < BONE_COUNT ? BONE_NAMES[bone] : nullptr; }

bool HairRig::SetUp(const std::string& scope) {
    m_setUp = false;
    m_springs.Release();
    m_head = FindBone("head" + scope);
    for (int i = 0; i < BONE_COUNT; ++i) {
        m_bones[i] = FindBone(BONE_NAMES[i] + scope);
        m_points[i] = Vec3();
        m_rest[i] = Vec3();
        m_missing[i] = Resolve(m_bones[i]) == nullptr;
        if (CTransform* bone = Resolve(m_bones[i])) {
            m_points[i] = Translation(bone->GetWorldMatrix());
            m_rest[i] = Translation(bone->GetLocalMatrix());
        }
    }
    if (!Resolve(m_head))
        return false;
    m_springs.Allocate(BONE_COUNT, LINK_COUNT);
    m_springs.SetDamping(DAMPING);
    // Points keep the bone order; a missing bone still takes its slot (its
    // point is never linked or read) so that indices stay those of the names.
    for (int i = 0; i < BONE_COUNT; ++i)
        m_springs.AddPoint(&m_points[i].x);
    for (const Strand& strand : STRANDS) {
        for (int i = strand.first; i + 1 < strand.first + strand.count; ++i) {
            if (Resolve(m_bones[i]) && Resolve(m_bones[i + 1]))
                m_springs.AddLink(i, i + 1, 1.0f);
        }
    }
    m_setUp = true;
    return true;
}

void HairRig::Update() {
    CTransform* head = m_setUp ? Resolve(m_head) : nullptr;
    if (!head)
        return;
    const CMatrix headWorld = head->GetWorldMatrix();
    for (int s = 0; s < ROOT_COUNT; ++s) {
        if (CTransform* root = Resolve(m_bones[STRANDS[s].first]))
            m_roots[s] = Translation(root->GetWorldMatrix());
        else
            m_roots[s] = m_points[STRANDS[s].first];
    }
    for (int step = 0; step < m_springs.GetSubsteps(); ++step) {
        for (int s = 0; s < ROOT_COUNT; ++s)
            m_points[STRANDS[s].first] = m_roots[s];
        // The point of a missing bone is held still rather than left falling.
        for (int i = 0; i < BONE_COUNT; ++i) {
            if (m_missing[i])
                m_points[i] = Vec3();
        }
        m_springs.Integrate();
        m_springs.RelaxLinks();
        m_springs.SnapShortLinks();
    }
    CMatrix toHead;
    headWorld.GetInverse(toHead);
    for (const Strand& strand : STRANDS) {
        for (int i = strand.first; i + 1 < strand.first + strand.count; ++i) {
            CTransform* bone = Resolve(m_bones[i]);
            if (!bone || !Resolve(m_bones[i + 1]))
                continue;
            Vec3 current = Difference(m_points[i + 1], m_points[i]);
            current.TransformNormal(toHead);
            current.Normalize();
            Vec3 rest = i == strand.first ? m_rest[i + 1] : m_rest[i];
            rest.Normalize();
            if (current.Length() == 0.0f || rest.Length() == 0.0f)
                continue;
            CMatrix local;
            local.SetRotationArc(rest, current);
            local(3, 0) = m_rest[i].x;
            local(3, 1) = m_rest[i].y;
            local(3, 2) = m_rest[i].z;
            bone->SetLocalMatrix(local);
        }
    }
}

HairRig& CharacterHair() {
    static HairRig rig;
    return rig;
}
