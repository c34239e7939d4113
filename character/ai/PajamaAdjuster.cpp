#include "character/ai/PajamaAdjuster.h"

#include "character/ai/AiPlayer.h"
#include "character/ai/WeightedChoice.h"
#include "shell/world/World.h"

void CPajamaAdjuster::Serialize(CSavedState&, bool) {}

void CPajamaAdjuster::Reset() {}

std::string CPajamaAdjuster::Evaluate(const std::string& proposal, ISetting*, CWorld& world, CAiPlayer& ai) {
    if (proposal.empty())
        return proposal;
    const int h = world.GetClock().hours;
    const bool pajama = ai.GetStats().pajama != 0;
    if ((proposal == "eat" && h >= 9 && h <= 14 && pajama) || (proposal == "sleep" && !pajama)) {
        WeightedChoice choice;
        choice.Add("change", 200);
        return choice.Pick();
    }
    return proposal;
}
