#include "character/act/ActMotionMove.h"

#include <cmath>
#include <cstdlib>

#include "character/act/BoneChainNode.h"
#include "engine/math/Geometry2D.h"
#include "engine/scene/Transform.h"

CActMotionMove::CActMotionMove(const std::string& name, CBoneChainNode* owner, const std::string& setName,
                               const std::string& scope, float speed)
    : CActMotion(name, owner, 0, setName, scope),
      m_arrived(1),
      m_remaining(0.0f),
      m_speed(speed) {}

const char* CActMotionMove::GetClassName() const { return "CActMotionMove"; }

bool CActMotionMove::Start(const std::vector<std::string>& words) {
    if (words.size() < 2)
        return false;
    m_target = Vec3((float)std::atof(words[0].c_str()), 0.0f, (float)std::atof(words[1].c_str()));
    std::vector<std::string> motionWords{"infinit"};
    if (words.size() >= 3 && words[2] == "continue")
        motionWords.push_back("continue");
    CActMotion::Start(motionWords);
    m_arrived = 0;
    return true;
}

Vec3 CActMotionMove::BodyOffset() const {
    CMatrix chain;
    m_owner->GetChainMatrix(chain);
    CMatrix root;
    if (CTransform* rootNode = m_owner->GetRoot()) {
        CMatrix turn;
        turn.SetRotationXYZ(0.0f, rootNode->GetChannelValue(CTransform::TC_ROTATION_Y), 0.0f);
        CMatrix move;
        move.SetTranslation(rootNode->GetChannelValue(CTransform::TC_TRANSLATION_X),
                            rootNode->GetChannelValue(CTransform::TC_TRANSLATION_Y),
                            rootNode->GetChannelValue(CTransform::TC_TRANSLATION_Z));
        move.PreMultiply(root, turn); // turn, then move
    }
    CMatrix back;
    back.SetTranslation(-m_startX, -m_startY, -m_startZ);
    CMatrix body, offset;
    root.PreMultiply(body, chain);  // chain, then the root
    back.PreMultiply(offset, body); // then back by the start placement
    Vec3 p = MatrixPosition(offset);
    p.y = 0.0f;
    return p;
}

void CActMotionMove::PreUpdate(bool blending) {
    if (!m_arrived && m_owner) {
        Vec3 p = BodyOffset();
        Vec3 way(m_target.x - m_startX, m_target.y - m_startY, m_target.z - m_startZ);
        float length = way.Length();
        if (!(length > 0.0f) || !std::isfinite(length)) {
            // No way to go (already there, or a target that is not a
            // number): the walk is over.
            m_direction = Vec3();
            m_remaining = 0.0f;
            m_arrived = 1;
        } else {
            m_direction = Vec3(way.x / length, way.y / length, way.z / length);
            Vec3 left(way.x - p.x, way.y - p.y, way.z - p.z);
            m_remaining = Vec3::Dot(left, m_direction);
            if (!std::isfinite(m_remaining)) {
                m_remaining = 0.0f;
                m_arrived = 1;
            }
        }
    }
    CActMotion::PreUpdate(blending);
}

bool CActMotionMove::Update(float step, bool blending, float weight) {
    if (!m_arrived) {
        float d = step * m_speed;
        if (2.0f * d > m_remaining) {
            // The last step lands on the target.
            d = m_remaining > 0.0f ? m_remaining : 0.0f;
            m_arrived = 1;
        } else {
            float pitch = 0.0f;
            DirectionToPitchYaw(pitch, m_startYaw, m_direction);
        }
        m_startX += d * m_direction.x;
        m_startY += d * m_direction.y;
        m_startZ += d * m_direction.z;
    }
    CActMotion::Update(step, blending, weight);
    return !m_arrived;
}

int CActMotionMove::GetLength() {
    if (!m_owner || !(m_speed > 0.0f))
        return 0;
    Vec3 p = BodyOffset();
    Vec3 to(m_target.x - m_startX - p.x, 0.0f, m_target.z - m_startZ - p.z);
    return (int)(to.Length() / m_speed);
}
