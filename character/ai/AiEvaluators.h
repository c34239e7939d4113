#pragma once
#include <string>

#include "engine/math/Vec3.h"
#include "shell/state/SavedState.h"

class CAiPlayer;
class CWorld;
class ISetting;

// The three evaluators beside an AI player. The character makes them and
// hands them to her AI player, which owns and deletes them.

// Proposes one need-driven action name at a timed re-think (empty: none).
class IAiProposer {
public:
    virtual ~IAiProposer() {}
    virtual void Serialize(CSavedState& state, bool storing) = 0;
    virtual void Reset() = 0;
    virtual std::string Evaluate(ISetting* context, CWorld& world, CAiPlayer& ai) = 0;
};

// May replace a proposal by another.
class IAiAdjuster {
public:
    virtual ~IAiAdjuster() {}
    virtual void Serialize(CSavedState& state, bool storing) = 0;
    virtual void Reset() = 0;
    virtual std::string Evaluate(const std::string& proposal, ISetting* context, CWorld& world, CAiPlayer& ai) = 0;
};

// Tells whether a straight walk must detour around an obstacle, and where.
class IAiWalkTest {
public:
    virtual ~IAiWalkTest() {}
    virtual bool Test(Vec3& detour, const Vec3& from, const Vec3& to) = 0;
};
