#pragma once
#include "character/ai/AiEvaluators.h"

// Replaces a proposal by a change of clothes when she would go to sleep out
// of her pyjamas, or eat breakfast or lunch still in them. Keeps no state.
class CPajamaAdjuster : public IAiAdjuster {
public:
    CPajamaAdjuster() {}

    void Serialize(CSavedState& state, bool storing) override;
    void Reset() override;
    std::string Evaluate(const std::string& proposal, ISetting* context, CWorld& world, CAiPlayer& ai) override;
};
