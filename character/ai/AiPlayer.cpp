#include "character/ai/AiPlayer.h"

#include <sstream>

#include "character/act/Act.h"
#include "shell/world/World.h"

CAiPlayer::CAiPlayer(const std::string& name, IAiProposer* proposer, IAiAdjuster* adjuster, IAiWalkTest* walkTest,
                     float rethinkInterval)
    : CActPlayer(name),
      m_proposer(proposer),
      m_adjuster(adjuster),
      m_walkTest(walkTest),
      m_stopped(0),
      m_rethinkInterval(rethinkInterval),
      m_hasStamp(false),
      m_stamp(0.0f) {}

CAiPlayer::~CAiPlayer() {
    delete m_walkTest;
    delete m_adjuster;
    delete m_proposer;
}

bool CAiPlayer::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (IsWord(command, "ai")) {
        if (args.empty()) {
            out << "name ai command\n";
        } else if (IsWord(args[0], "stop")) {
            m_stopped = 1;
        } else if (IsWord(args[0], "start")) {
            m_stopped = 0;
        }
        return true;
    }
    if (IsWord(command, "action")) {
        if (args.empty())
            out << "name action command\n";
        else
            m_pendingAction = args[0];
        return true;
    }
    return CActPlayer::HandleCommand(out, command, args);
}

void CAiPlayer::Serialize(CSavedState& state, bool storing) {
    if (m_proposer)
        m_proposer->Serialize(state, storing);
    if (m_adjuster)
        m_adjuster->Serialize(state, storing);
    // Both sides hold the money as an unsigned 32-bit word, so any value the
    // file holds is kept as it is.
    if (storing)
        state.money = m_stats.mny;
    else
        m_stats.mny = state.money;
}

void CAiPlayer::AfterLoad() {
    if (m_proposer)
        m_proposer->Reset();
    if (m_adjuster)
        m_adjuster->Reset();
}

void CAiPlayer::Update(ISetting* setting, CRenderManager* renderManager, CWorld& world, float stepMs) {
    std::string chosen;
    if (GetQueue().empty()) {
        if (m_stopped) {
            chosen = m_pendingAction;
            m_pendingAction.clear();
        } else if (!GetCurrentAction()) {
            ChooseAction(chosen, world);
        }
    }
    if (!m_hasStamp) {
        m_stamp = world.GetClockSeconds();
        m_hasStamp = true;
    }
    const float elapsed = world.SecondsSince(m_stamp);
    // A negative elapsed time means the clock has passed midnight: re-think.
    const bool due = !(elapsed >= 0.0f && elapsed < m_rethinkInterval);
    if (chosen.empty() && due) {
        UpdateStats(world);
        if (!m_stopped) {
            if (m_proposer)
                chosen = m_proposer->Evaluate(setting, world, *this);
            if (m_adjuster)
                chosen = m_adjuster->Evaluate(chosen, setting, world, *this);
        }
        m_stamp = world.GetClockSeconds();
    }
    if (!chosen.empty()) {
        std::vector<CActRequest> plan;
        ExpandAction(plan, chosen);
        if (!plan.empty()) {
            NotifyAction(world, chosen);
            for (const CActRequest& request : plan)
                Request(request);
            m_history.Add(chosen);
        }
    }
    CActPlayer::Update(stepMs);
}

std::string CAiPlayer::DumpState() {
    std::ostringstream out;
    CAct* current = GetCurrentAction();
    out << "<" << GetName() << " STATE>\n";
    out << "[BODY] slp:" << m_stats.slp << " app:" << m_stats.app << " sex:" << m_stats.sex
        << " bsl:" << (m_stats.bsl ? 1 : 0) << " mny:" << m_stats.mny << "\n";
    out << "[INST]\n";
    out << "[REAS]\n";
    out << "[ACTI] req:" << GetQueue().size() << " act:" << (current ? current->GetName() : std::string("noting"))
        << "\n";
    return out.str();
}
