#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "character/act/ActPlayer.h"
#include "character/ai/ActionHistory.h"
#include "character/ai/AiEvaluators.h"
#include "character/ai/BodyStats.h"
#include "shell/state/SavedState.h"

class CRenderManager;
class CWorld;
class ISetting;

// An action player that chooses its own actions. When its queue runs dry it
// makes an idle choice; every re-think interval of world time it lets the body
// values drift and asks its proposer (then its adjuster) for a need-driven
// action. A chosen name is expanded into requests, its effects applied and
// the requests queued. What a name means is left to the derived character.
// Owns its three evaluators.
class CAiPlayer : public CActPlayer {
public:
    CAiPlayer(const std::string& name, IAiProposer* proposer, IAiAdjuster* adjuster, IAiWalkTest* walkTest,
              float rethinkInterval);
    ~CAiPlayer() override;

    // "ai start|stop" and "action <name>"; other words go to the player.
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // The AI's share of the state file: the money only.
    virtual void Serialize(CSavedState& state, bool storing);
    virtual void AfterLoad();
    // One frame: choose, expand and queue, then play. The render manager is
    // not read here.
    virtual void Update(ISetting* setting, CRenderManager* renderManager, CWorld& world, float stepMs);
    // How strongly recent use discourages a name, 0..1.
    virtual float ActionWeight(const std::string& name) = 0;
    // Five lines: name, body values, two empty sections, queue and action.
    virtual std::string DumpState();
    virtual Vec3 GetPosition() = 0;
    virtual void ExpandAction(std::vector<CActRequest>& plan, const std::string& name) = 0;
    // The idle choice when nothing else is due.
    virtual void ChooseAction(std::string& name, CWorld& world) = 0;
    // The drift of the body values with the hour.
    virtual void UpdateStats(CWorld& world) = 0;
    // The effects of a chosen action whose plan is not empty.
    virtual void NotifyAction(CWorld& world, const std::string& name) = 0;

    CBodyStats& GetStats() { return m_stats; }
    const CBodyStats& GetStats() const { return m_stats; }
    ActionHistory& GetHistory() { return m_history; }
    const ActionHistory& GetHistory() const { return m_history; }
    IAiWalkTest* GetWalkTest() const { return m_walkTest; }
    bool IsStopped() const { return m_stopped != 0; }
    const std::string& GetPendingAction() const { return m_pendingAction; }
    bool HasDecisionStamp() const { return m_hasStamp; }
    float GetDecisionStamp() const { return m_stamp; }
    float GetRethinkInterval() const { return m_rethinkInterval; }

private:
    IAiProposer* m_proposer;
    IAiAdjuster* m_adjuster;
    IAiWalkTest* m_walkTest;
    CBodyStats m_stats;
    ActionHistory m_history;
    unsigned char m_stopped;
    float m_rethinkInterval;
    bool m_hasStamp;
    float m_stamp;
    std::string m_pendingAction;
};
