#pragma once
#include <string>

#include "engine/math/Vec3.h"
#include "engine/resource/Handle.h"
#include "engine/spring/SpringSystem.h"

// Her hair: one spring point per hair bone, strand roots pinned to where the
// animation put them, the rest falling and swinging; each turned bone then
// points at the next point of its strand. One rig serves the process; the
// character sets it up once her model is in place and steps it every update.
// Bones missing from the model are skipped (a strand whose root is missing is
// left out altogether).
class HairRig {
public:
    static constexpr int BONE_COUNT = 16;
    static constexpr int ROOT_COUNT = 7;
    static constexpr int LINK_COUNT = 9;
    static constexpr float DAMPING = 0.4f;

    HairRig();

    // Looks the bones up with the scope, records points and rest offsets and
    // builds the spring system; false (and nothing simulated) without the head.
    bool SetUp(const std::string& scope);
    // One simulation and aiming pass; allocates nothing.
    void Update();

    bool IsSetUp() const { return m_setUp; }
    // The bone's simulated point, in the order of the bone names.
    const Vec3& GetPoint(int bone) const { return m_points[bone]; }
    CHandle GetBone(int bone) const { return m_bones[bone]; }
    const CSpringSystem& GetSprings() const { return m_springs; }

    static const char* BoneName(int bone);

private:
    CHandle m_head;
    CHandle m_bones[BONE_COUNT];
    Vec3 m_roots[ROOT_COUNT];
    Vec3 m_points[BONE_COUNT];
    Vec3 m_rest[BONE_COUNT];
    bool m_missing[BONE_COUNT];
    CSpringSystem m_springs;
    bool m_setUp;
};

// The process's rig.
HairRig& CharacterHair();
