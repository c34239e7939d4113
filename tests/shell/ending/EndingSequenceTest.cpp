// The ending's six states run against a recording stage: what each state
// does on entering and leaving, when the picture goes black and comes back,
// when the system is told to draw only, and when the ending is done.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "shell/ending/EndingSequence.h"
#include "shell/ending/EndingStage.h"

namespace {

// Records every call as a word in one log, keeps the visible flags and the
// mask's alpha, and plays a staff roll of a given length in milliseconds.
class RecordingStage : public IEndingStage {
public:
    void LockCamera(const Vec3& point, float distance) override {
        locked = true;
        lockPoint = point;
        lockDistance = distance;
        log.push_back("lock");
    }
    void UnlockCamera() override {
        locked = false;
        log.push_back("unlock");
    }
    void LoadMusic() override { log.push_back("load"); }
    void PlayMusic() override { log.push_back("play"); }
    void StopMusic() override { log.push_back("stop"); }
    void ResetSmoke() override { log.push_back("resetSmoke"); }
    void DrawSmoke() override { ++smokeDraws; }
    void SetRootVisible(bool visible) override { rootVisible = visible; }
    void SetMaskVisible(bool visible) override { maskVisible = visible; }
    void SetMaskAlpha(float alpha) override { maskAlpha = alpha; }
    void SetActorVisible(bool visible) override { actorVisible = visible; }
    void ScaleActor(float windowHeight) override { scaledHeight = windowHeight; }
    float GetWindowHeight() override { return 600.0f; }
    bool RequestEndRoll() override {
        log.push_back("request");
        rollPlayed = 0.0f;
        rollQueued = canQueue;
        return canQueue;
    }
    void UpdateEndRoll(float milliseconds) override {
        lastRollStep = milliseconds;
        if (rollQueued)
            rollPlayed += milliseconds;
    }
    bool IsEndRollPlaying() override { return rollQueued && rollPlayed < rollLength; }
    void ResetEndRoll() override {
        rollQueued = false;
        log.push_back("resetRoll");
    }

    std::vector<std::string> log;
    bool locked = false;
    Vec3 lockPoint;
    float lockDistance = 0.0f;
    int smokeDraws = 0;
    bool rootVisible = false;
    bool maskVisible = false;
    float maskAlpha = -1.0f;
    bool actorVisible = false;
    float scaledHeight = 0.0f;
    bool canQueue = true;
    bool rollQueued = false;
    float rollLength = 5570.0f; // 50 runs of 100 ms at 1.116 times
    float rollPlayed = 0.0f;
    float lastRollStep = 0.0f;
};

const float DT = 100.0f;

struct EndingSequenceTest : ::testing::Test {
    std::vector<std::string> TakeLog() {
        std::vector<std::string> taken;
        taken.swap(stage.log);
        return taken;
    }
    const char* StateName() const {
        CMachineState* state = sequence.GetCurrentState();
        return state ? state->GetName().c_str() : "";
    }
    // Runs until the current state is not `name` any more; the number of runs.
    int RunWhileIn(const char* name, int limit = 10000) {
        int runs = 0;
        while (std::string(StateName()) == name && runs < limit) {
            lastResult = sequence.Run(DT);
            ++runs;
        }
        return runs;
    }

    RecordingStage stage;
    CEndingSequence sequence{"ending", &stage};
    int lastResult = -1;
};

using Log = std::vector<std::string>;

TEST_F(EndingSequenceTest, EntryAndTheFirstInitUpdateShareOneRun) {
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_STREQ(StateName(), "Init");
    EXPECT_EQ(TakeLog(), (Log{"lock", "resetSmoke", "load"}));
    EXPECT_TRUE(stage.locked);
    EXPECT_FLOAT_EQ(stage.lockPoint.x, 0.0f);
    EXPECT_FLOAT_EQ(stage.lockPoint.y, 100.0f);
    EXPECT_FLOAT_EQ(stage.lockPoint.z, -100.0f);
    EXPECT_FLOAT_EQ(stage.lockDistance, 1000.0f);
    EXPECT_EQ(stage.smokeDraws, 1);
    EXPECT_FALSE(stage.rootVisible);
}

TEST_F(EndingSequenceTest, SmokeRisesFor21SecondsAndFadeOutBeginsOneRunLater) {
    sequence.Run(DT);
    // 209 more runs bring the counter to 21000; that run still stays in Init.
    for (int i = 0; i < 209; ++i)
        EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_STREQ(StateName(), "Init");
    EXPECT_EQ(stage.smokeDraws, 210);
    TakeLog();
    sequence.Run(DT);
    EXPECT_STREQ(StateName(), "FadeOut");
    EXPECT_EQ(TakeLog(), (Log{"play"}));
    EXPECT_TRUE(stage.rootVisible);
    EXPECT_TRUE(stage.maskVisible);
    EXPECT_FLOAT_EQ(stage.maskAlpha, 0.0f);
    EXPECT_EQ(stage.smokeDraws, 211);
}

TEST_F(EndingSequenceTest, FadeOutDarkensBetweenThreeAndTenSeconds) {
    sequence.Run(DT);
    RunWhileIn("Init");
    // Now one FadeOut update (100 ms) has run.
    struct Case {
        int runsAfter; // further runs of 100 ms
        float alpha;
    };
    const Case cases[] = {
        {28, 0.0f},                // 2.9 s: still clear (untouched since Enter)
        {1, 0.0f},                 // 3.0 s: the ramp starts at 0
        {35, 0.5f},                // 6.5 s: half way
        {34, 1.0f - 1.0f / 70.0f}, // 9.9 s
    };
    for (const Case& c : cases) {
        for (int i = 0; i < c.runsAfter; ++i)
            EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
        EXPECT_STREQ(StateName(), "FadeOut");
        EXPECT_NEAR(stage.maskAlpha, c.alpha, 1e-5f) << "after " << c.runsAfter;
    }
    int smoke = stage.smokeDraws;
    TakeLog();
    // 10 s: black, and the staff roll enters and makes its first update.
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_STREQ(StateName(), "EndRoll");
    EXPECT_FLOAT_EQ(stage.maskAlpha, 1.0f);
    EXPECT_TRUE(stage.maskVisible);
    EXPECT_TRUE(stage.actorVisible);
    EXPECT_EQ(stage.smokeDraws, smoke + 1);
    EXPECT_EQ(TakeLog(), (Log{"request"}));
    EXPECT_FLOAT_EQ(stage.scaledHeight, 600.0f);
    EXPECT_NEAR(stage.lastRollStep, 111.6f, 1e-4f);
}

TEST_F(EndingSequenceTest, StaffRollHidesTheMaskAndSkipsTheWorldFromItsFourthUpdate) {
    sequence.Run(DT);
    RunWhileIn("Init");
    RunWhileIn("FadeOut");
    // The run that entered EndRoll was its first update.
    EXPECT_EQ(lastResult, ENDING_GO_ON);
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_TRUE(stage.maskVisible);
    EXPECT_EQ(sequence.Run(DT), ENDING_DRAW_ONLY);
    EXPECT_FALSE(stage.maskVisible);
    int drawOnly = 1;
    TakeLog();
    while (std::string(StateName()) == "EndRoll") {
        if (sequence.Run(DT) == ENDING_DRAW_ONLY)
            ++drawOnly;
    }
    // 5570 ms of roll at 111.6 ms an update ends at the 50th update; the last one hands
    // over to FadeIn and answers draw-only still.
    EXPECT_EQ(drawOnly, 47);
    EXPECT_STREQ(StateName(), "FadeIn");
    EXPECT_EQ(TakeLog(), (Log{"resetRoll", "stop"}));
    EXPECT_FALSE(stage.actorVisible);
    EXPECT_TRUE(stage.maskVisible);
    EXPECT_FLOAT_EQ(stage.maskAlpha, 1.0f);
    EXPECT_TRUE(stage.rootVisible);
}

TEST_F(EndingSequenceTest, FadeInBringsTheRoomBackThenTheCameraIsReleasedAndTheEndingIsDone) {
    sequence.Run(DT);
    RunWhileIn("Init");
    RunWhileIn("FadeOut");
    RunWhileIn("EndRoll");
    // FadeIn's first update (100 ms) ran with the hand-over.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_FLOAT_EQ(stage.maskAlpha, 1.0f); // 0.9 s
    for (int i = 0; i < 16; ++i)
        sequence.Run(DT);
    EXPECT_NEAR(stage.maskAlpha, 0.5f, 1e-5f); // 2.5 s
    for (int i = 0; i < 14; ++i)
        sequence.Run(DT);
    EXPECT_STREQ(StateName(), "FadeIn");
    TakeLog();
    // 4 s: clear, the root hidden, and Exit counts its first update.
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_STREQ(StateName(), "Exit");
    EXPECT_FLOAT_EQ(stage.maskAlpha, 0.0f);
    EXPECT_FALSE(stage.rootVisible);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_TRUE(stage.locked);
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(sequence.Run(DT), ENDING_FINISHED);
    EXPECT_EQ(TakeLog(), (Log{"unlock"}));
    EXPECT_FALSE(stage.locked);
    // Once done it stays done, and nothing more is called.
    EXPECT_EQ(sequence.Run(DT), ENDING_FINISHED);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(EndingSequenceTest, AStaffRollThatCannotBeQueuedEndsAtItsFirstUpdate) {
    stage.canQueue = false;
    sequence.Run(DT);
    RunWhileIn("Init");
    RunWhileIn("FadeOut");
    EXPECT_STREQ(StateName(), "FadeIn");
    EXPECT_EQ(lastResult, ENDING_GO_ON);
    EXPECT_FALSE(stage.actorVisible);
}

TEST_F(EndingSequenceTest, RestartLeavesTheStateAndBeginsAgainWithTheCameraLockedAndTheMusicReloaded) {
    sequence.Run(DT);
    RunWhileIn("Init");
    RunWhileIn("FadeOut");
    sequence.Run(DT);
    TakeLog();
    sequence.Restart();
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_STREQ(StateName(), "Init");
    EXPECT_EQ(TakeLog(), (Log{"resetRoll", "stop", "lock", "resetSmoke", "load"}));
    // A restart after the end runs the whole sequence again.
    RunWhileIn("Init");
    RunWhileIn("FadeOut");
    RunWhileIn("EndRoll");
    RunWhileIn("FadeIn");
    RunWhileIn("Exit");
    EXPECT_EQ(lastResult, ENDING_FINISHED);
    sequence.Restart();
    EXPECT_EQ(sequence.Run(DT), ENDING_GO_ON);
    EXPECT_STREQ(StateName(), "Init");
}

TEST_F(EndingSequenceTest, TunedTimesTakeEffectAndAnEmptyRampIsDoneAtOnce) {
    std::ostringstream out;
    CConsoleObject* init = ConsoleObjectRegistry().find("ending_init")->second;
    CConsoleObject* fadeOut = ConsoleObjectRegistry().find("ending_fadeout")->second;
    EXPECT_TRUE(init->HandleCommand(out, "counterConst", {"500"}));
    EXPECT_TRUE(fadeOut->HandleCommand(out, "maskStartTime", {"200"}));
    EXPECT_TRUE(fadeOut->HandleCommand(out, "maskEndTime", {"200"}));
    EXPECT_TRUE(fadeOut->HandleCommand(out, "endTime", {"400"}));
    sequence.Run(DT);
    EXPECT_EQ(RunWhileIn("Init"), 5);
    sequence.Run(DT); // 200 ms: the ramp of no length is black at once
    EXPECT_FLOAT_EQ(stage.maskAlpha, 1.0f);
    EXPECT_STREQ(StateName(), "FadeOut");
    EXPECT_EQ(RunWhileIn("FadeOut"), 2);
}

TEST_F(EndingSequenceTest, StatesAnswerTheirKeywordsByName) {
    struct Case {
        const char* object;
        const char* keyword;
        const char* printed;
    };
    const Case cases[] = {
        {"ending_init", "cameraDist", "1000\n"},       {"ending_init", "counterConst", "21000\n"},
        {"ending_fadeout", "maskStartTime", "3000\n"}, {"ending_fadeout", "maskEndTime", "10000\n"},
        {"ending_fadeout", "endTime", "10000\n"},      {"ending_endroll", "animParam", "1.116\n"},
        {"ending_fadein", "maskStartTime", "1000\n"},  {"ending_fadein", "maskEndTime", "4000\n"},
    };
    for (const Case& c : cases) {
        auto found = ConsoleObjectRegistry().find(c.object);
        ASSERT_NE(found, ConsoleObjectRegistry().end()) << c.object;
        std::ostringstream out;
        EXPECT_TRUE(found->second->HandleCommand(out, c.keyword, {}));
        EXPECT_EQ(out.str(), c.printed) << c.object << " " << c.keyword;
    }
    std::ostringstream out;
    EXPECT_TRUE(ConsoleObjectRegistry().find("ending_fadein")->second->HandleCommand(out, "what", {}));
    EXPECT_EQ(out.str(), "maskStartTime maskEndTime \n");
}

} // namespace
