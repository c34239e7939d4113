#pragma once
#include "character/act/ActMotion.h"
#include "engine/math/Vec3.h"

// Walks the owner towards a target point (x, 0, z relative to where the walk
// starts), playing its animation the whole way; it ends on the step that lands
// on the target.
class CActMotionMove : public CActMotion {
public:
    CActMotionMove(const std::string& name, CBoneChainNode* owner, const std::string& setName, const std::string& scope,
                   float speed);

    const char* GetClassName() const override;
    // "x z [continue]"; false with fewer than two words.
    bool Start(const std::vector<std::string>& words) override;
    void PreUpdate(bool blending) override;
    bool Update(float step, bool blending, float weight) override;
    int GetLength() override;

    bool HasArrived() const { return m_arrived != 0; }
    float GetSpeed() const { return m_speed; }
    float GetRemainingDistance() const { return m_remaining; }
    const Vec3& GetDirection() const { return m_direction; }

private:
    // The body's position relative to the start placement, y 0.
    Vec3 BodyOffset() const;

    unsigned char m_arrived;
    Vec3 m_direction;
    float m_remaining;
    float m_speed;
    Vec3 m_target;
};
