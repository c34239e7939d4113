#pragma once
#include "character/ai/AiEvaluators.h"

class CItemRegistry;

// The character's proposer: at a timed re-think it weighs her needs by the
// hour, what she owns and what she did last, and picks one action name (or
// nothing) by a weighted choice. The TV show is offered through the AI
// player's ITvItemSource when it has one. Keeps no state.
class CNeedsProposer : public IAiProposer {
public:
    explicit CNeedsProposer(CItemRegistry* items);

    void Serialize(CSavedState& state, bool storing) override;
    void Reset() override;
    std::string Evaluate(ISetting* context, CWorld& world, CAiPlayer& ai) override;

private:
    bool Owns(const char* name) const;

    CItemRegistry* m_items;
};
