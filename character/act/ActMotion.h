#pragma once
#include <string>
#include <vector>

#include "character/act/Act.h"
#include "engine/resource/Handle.h"

class CAnimationSet;

// Plays an animation set on the owner and carries its root placement over
// from the motion before, so the body does not snap back.
class CActMotion : public CAct {
public:
    CActMotion(const std::string& name, CBoneChainNode* owner, int fixedOrigin, const std::string& setName,
               const std::string& scope);
    ~CActMotion() override;

    const char* GetClassName() const override;
    // First word: a loop count, "infinit", "last" or milliseconds "<n>t";
    // then "continue" resumes where the last play stopped.
    bool Start(const std::vector<std::string>& words) override;
    void End() override;
    void PreUpdate(bool blending) override;
    bool Update(float step, bool blending, float weight) override;
    void PostUpdate(bool blending) override;
    int GetLength() override;
    int GetTime() override;

    float GetTimeFrames() const { return m_time; }
    int GetFrameCount() const { return m_frameCount; }
    float GetLoops() const { return m_loops; }
    float GetStartX() const { return m_startX; }
    float GetStartY() const { return m_startY; }
    float GetStartZ() const { return m_startZ; }
    float GetStartYaw() const { return m_startYaw; }
    // Null when the set was not loaded.
    CAnimationSet* GetAnimation() const { return m_animation; }

protected:
    float m_time;
    int m_frameCount;
    float m_loops;
    float m_startX, m_startY, m_startZ;
    float m_startYaw;
    CAnimationSet* m_animation;
    CHandle m_animationHandle = NULL_HANDLE;
};
