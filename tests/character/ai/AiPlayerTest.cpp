#include <gtest/gtest.h>

#include <sstream>

#include "character/act/ActWait.h"
#include "character/ai/AiPlayer.h"
#include "tests/character/ai/AiFixtures.h"

namespace {

// Counts what the AI asks its evaluators; proposes a fixed name.
struct RecordingProposer : IAiProposer {
    int* evaluations;
    std::string proposal;
    RecordingProposer(int* count, const std::string& name) : evaluations(count), proposal(name) {}
    void Serialize(CSavedState&, bool) override {}
    void Reset() override { ++resets; }
    std::string Evaluate(ISetting*, CWorld&, CAiPlayer&) override {
        ++*evaluations;
        return proposal;
    }
    int resets = 0;
};

struct RecordingAdjuster : IAiAdjuster {
    std::vector<std::string>* seen;
    explicit RecordingAdjuster(std::vector<std::string>* log) : seen(log) {}
    void Serialize(CSavedState&, bool) override {}
    void Reset() override {}
    std::string Evaluate(const std::string& proposal, ISetting*, CWorld&, CAiPlayer&) override {
        seen->push_back(proposal);
        return proposal;
    }
};

// An AI whose actions are waits: every known name expands to one wait of
// that name lasting the given milliseconds.
class WaitingAi : public CAiPlayer {
public:
    WaitingAi(int* evaluations, std::vector<std::string>* adjusted, const std::string& proposal = "need")
        : CAiPlayer("testai", new RecordingProposer(evaluations, proposal), new RecordingAdjuster(adjusted), nullptr,
                    600.0f) {
        for (const char* name : {"idle", "need", "pending"})
            AddAction(new CActWait(name, nullptr));
    }

    float ActionWeight(const std::string&) override { return 1.0f; }
    Vec3 GetPosition() override { return Vec3(); }
    void ExpandAction(std::vector<CActRequest>& plan, const std::string& name) override {
        if (FindAction(name))
            plan.push_back(CActRequest(name, lengths.count(name) ? lengths[name] : "100000t"));
    }
    void ChooseAction(std::string& name, CWorld&) override {
        ++choices;
        name = idle;
    }
    void UpdateStats(CWorld&) override { ++drifts; }
    void NotifyAction(CWorld&, const std::string& name) override { notified.push_back(name); }

    std::map<std::string, std::string> lengths;
    std::string idle = "idle";
    int choices = 0;
    int drifts = 0;
    std::vector<std::string> notified;
};

// A world at 18:00 running one world second per real second.
struct AiClock : ::testing::Test {
    CWorld world{"testworld"};
    void SetUp() override { world.HandleCommand(std::cout, "timeratio", {"1"}); }
    void Advance(float seconds) { world.AdvanceClock(seconds * 1000.0f); }
};

} // namespace

TEST_F(AiClock, FirstTimedRethinkComesSixHundredWorldSecondsAfterTheFirstUpdate) {
    int evaluations = 0;
    std::vector<std::string> adjusted;
    WaitingAi ai(&evaluations, &adjusted);
    ai.Update(nullptr, nullptr, world, 16.0f); // takes the stamp, starts the idle wait
    EXPECT_TRUE(ai.HasDecisionStamp());
    EXPECT_EQ(ai.GetDecisionStamp(), world.GetClockSeconds());
    EXPECT_EQ(ai.choices, 1);
    EXPECT_EQ(ai.GetCurrentActionName(), "idle");

    Advance(599.0f);
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.drifts, 0);
    EXPECT_EQ(evaluations, 0);

    Advance(1.0f);
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.drifts, 1);
    EXPECT_EQ(evaluations, 1);
    EXPECT_EQ(adjusted, std::vector<std::string>{"need"});
    // The proposal is queued behind the playing idle wait and counted.
    EXPECT_EQ(ai.GetQueue().size(), 1u);
    EXPECT_EQ(ai.GetQueue().front().name, "need");
    EXPECT_EQ(ai.notified, (std::vector<std::string>{"idle", "need"}));
    EXPECT_EQ(ai.GetHistory().Last(), "need");
    EXPECT_EQ(ai.GetDecisionStamp(), world.GetClockSeconds());

    // The next re-think is 600 seconds after this one, not after the first.
    Advance(599.0f);
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.drifts, 1);
    Advance(1.0f);
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.drifts, 2);
}

TEST_F(AiClock, ClockWrappingPastMidnightForcesARethinkAtOnce) {
    int evaluations = 0;
    std::vector<std::string> adjusted;
    WaitingAi ai(&evaluations, &adjusted);
    SetClock(world, 86100.0f); // 23:55
    ai.Update(nullptr, nullptr, world, 16.0f);
    Advance(400.0f); // 00:01:40, 400 s later but a negative elapsed time
    EXPECT_LT(world.SecondsSince(ai.GetDecisionStamp()), 0.0f);
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.drifts, 1);
    EXPECT_EQ(evaluations, 1);
    EXPECT_NEAR(ai.GetDecisionStamp(), 100.0f, 0.01f);
}

TEST_F(AiClock, IdleChoiceEveryUpdateOnlyWhileNothingPlaysOrWaits) {
    int evaluations = 0;
    std::vector<std::string> adjusted;
    WaitingAi ai(&evaluations, &adjusted);
    ai.lengths["idle"] = "50t";
    ai.Update(nullptr, nullptr, world, 16.0f); // chosen, queued, started
    EXPECT_EQ(ai.choices, 1);
    ai.Update(nullptr, nullptr, world, 16.0f); // playing with an empty queue
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.choices, 1);
    // 16 ms a step: the 50 ms wait ends in the fourth update.
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.GetCurrentActionName(), "");
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.choices, 2);

    // A name the character cannot expand changes nothing.
    ai.idle = "unknown";
    ai.Reset();
    const size_t before = ai.GetHistory().GetNames().size();
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.choices, 3);
    EXPECT_EQ(ai.GetHistory().GetNames().size(), before);
    EXPECT_TRUE(ai.GetQueue().empty());
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.choices, 4);
}

TEST_F(AiClock, StoppedAiTakesThePendingActionOnceAndStillDrifts) {
    int evaluations = 0;
    std::vector<std::string> adjusted;
    WaitingAi ai(&evaluations, &adjusted);
    std::ostringstream out;
    EXPECT_TRUE(ai.HandleCommand(out, "ai", {"stop"}));
    EXPECT_TRUE(ai.IsStopped());
    EXPECT_TRUE(ai.HandleCommand(out, "action", {"pending"}));
    EXPECT_EQ(out.str(), "");
    ai.lengths["pending"] = "20t";

    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.choices, 0);
    EXPECT_EQ(ai.notified, std::vector<std::string>{"pending"});
    EXPECT_EQ(ai.GetCurrentActionName(), "pending");
    EXPECT_EQ(ai.GetPendingAction(), "");
    for (int i = 0; i < 4; ++i)
        ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.notified.size(), 1u);
    EXPECT_EQ(ai.GetHistory().Count("pending"), 1);

    // The timer still lets the values drift; the evaluators stay silent.
    Advance(600.0f);
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.drifts, 1);
    EXPECT_EQ(evaluations, 0);
    EXPECT_TRUE(adjusted.empty());

    EXPECT_TRUE(ai.HandleCommand(out, "ai", {"start"}));
    EXPECT_FALSE(ai.IsStopped());
    ai.Update(nullptr, nullptr, world, 16.0f);
    EXPECT_EQ(ai.choices, 1);
}

TEST(AiPlayerCommands, UsageLinesAndUnknownWords) {
    struct Case {
        const char* command;
        std::vector<std::string> args;
        const char* output;
        bool stopped;
    };
    const Case cases[] = {
        {"ai", {}, "name ai command\n", false},
        {"ai", {"pause"}, "", false},
        {"ai", {"stop", "now"}, "", true},
        {"action", {}, "name action command\n", false},
        {"act", {}, "\"testai\" can't act \"\".\n", false},
    };
    for (const Case& c : cases) {
        int evaluations = 0;
        std::vector<std::string> adjusted;
        WaitingAi ai(&evaluations, &adjusted);
        std::ostringstream out;
        EXPECT_TRUE(ai.HandleCommand(out, c.command, c.args)) << c.command;
        EXPECT_EQ(out.str(), c.output) << c.command;
        EXPECT_EQ(ai.IsStopped(), c.stopped) << c.command;
        EXPECT_EQ(ai.GetPendingAction(), "") << c.command;
    }
}

TEST(AiPlayerState, SavesAndLoadsTheMoneyOnly) {
    int evaluations = 0;
    std::vector<std::string> adjusted;
    WaitingAi ai(&evaluations, &adjusted);
    CBodyStats& s = ai.GetStats();
    s.slp = 40.0f;
    s.app = 30.0f;
    s.sex = 20.0f;
    s.bsl = 1;
    s.pajama = 1;
    s.mny = 123456u;
    CSavedState state;
    ai.Serialize(state, true);
    EXPECT_EQ(state.money, 123456u);

    // The whole unsigned range is kept.
    state.money = 4294967295u;
    ai.Serialize(state, false);
    EXPECT_EQ(s.mny, 4294967295u);
    EXPECT_EQ(s.slp, 40.0f);
    EXPECT_EQ(s.app, 30.0f);
    EXPECT_EQ(s.sex, 20.0f);
    EXPECT_EQ(s.bsl, 1);
    EXPECT_EQ(s.pajama, 1);
}

TEST(AiPlayerState, DumpsFiveLines) {
    int evaluations = 0;
    std::vector<std::string> adjusted;
    WaitingAi ai(&evaluations, &adjusted);
    CBodyStats& s = ai.GetStats();
    s.slp = 12.5f;
    s.app = 3.0f;
    s.sex = 0.25f;
    s.bsl = 1;
    s.mny = 50000u;
    EXPECT_EQ(
        ai.DumpState(),
        "<testai STATE>\n[BODY] slp:12.5 app:3 sex:0.25 bsl:1 mny:50000\n[INST]\n[REAS]\n[ACTI] req:0 act:noting\n");
    CWorld world("dumpworld");
    ai.Request(CActRequest("need", "100t"));
    ai.Update(nullptr, nullptr, world, 16.0f);
    ai.Request(CActRequest("need", "100t"));
    ai.Request(CActRequest("idle", "100t"));
    const std::string dump = ai.DumpState();
    EXPECT_NE(dump.find("[ACTI] req:2 act:need\n"), std::string::npos) << dump;
}

TEST(AiPlayerState, AfterLoadResetsTheEvaluators) {
    int evaluations = 0;
    RecordingProposer* proposer = new RecordingProposer(&evaluations, "");
    std::vector<std::string> adjusted;
    struct Ai : CAiPlayer {
        Ai(IAiProposer* p, IAiAdjuster* a) : CAiPlayer("resetai", p, a, nullptr, 600.0f) {}
        float ActionWeight(const std::string&) override { return 1.0f; }
        Vec3 GetPosition() override { return Vec3(); }
        void ExpandAction(std::vector<CActRequest>&, const std::string&) override {}
        void ChooseAction(std::string&, CWorld&) override {}
        void UpdateStats(CWorld&) override {}
        void NotifyAction(CWorld&, const std::string&) override {}
    } ai(proposer, new RecordingAdjuster(&adjusted));
    ai.AfterLoad();
    EXPECT_EQ(proposer->resets, 1);
}
