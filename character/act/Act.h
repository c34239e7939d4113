#pragma once
#include <string>
#include <vector>

#include "engine/math/Matrix.h"

class CBoneChainNode;

// Frames of 1/60 s per millisecond: the player hands its actions steps in
// frames, waits and fades count milliseconds again.
constexpr float FRAMES_PER_MILLISECOND = 0.06f;

// Base of every action. Actions are prototypes: made once, registered in a
// player under their name and started again for each request that names
// them, so they keep their fields from one play to the next.
class CAct {
public:
    // Motions take the owner's chain matrix as their reference when built.
    CAct(const std::string& name, CBoneChainNode* owner, int fixedOrigin);
    virtual ~CAct();

    virtual const char* GetClassName() const = 0;
    // Prepares a play from the request's words; false when they do not suffice.
    virtual bool Start(const std::vector<std::string>& words) = 0;
    // Once, when the action is dropped after ending or at a stop.
    virtual void End() = 0;
    virtual void PreUpdate(bool blending);
    // True while the action still runs. step is in frames.
    virtual bool Update(float step, bool blending, float weight) = 0;
    virtual void PostUpdate(bool blending);
    // Length and elapsed time of the current play: frames, or milliseconds
    // for waits and fades.
    virtual int GetLength() = 0;
    virtual int GetTime() = 0;

    std::string GetName() const { return m_name; }
    int GetFixedOrigin() const { return m_fixedOrigin; }
    CBoneChainNode* GetOwner() const { return m_owner; }
    // The owner's chain matrix when the motion was built (identity otherwise).
    const CMatrix& GetReferenceChainMatrix() const { return m_referenceChain; }

    CAct(const CAct&) = delete;
    CAct& operator=(const CAct&) = delete;

protected:
    std::string m_name;
    int m_fixedOrigin;
    CBoneChainNode* m_owner;
    CMatrix m_referenceChain;
};
