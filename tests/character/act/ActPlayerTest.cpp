#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "character/act/ActMotion.h"
#include "character/act/ActMotionMove.h"
#include "character/act/ActPlayer.h"
#include "character/act/ActWait.h"
#include "tests/character/support/CharacterRig.h"

namespace {

// One frame of 1/60 s per update.
constexpr float FRAME_MS = 1.0f / 0.06f;

// The head x offset tells the sets apart: "stand" holds it at 0, "dance" at 10,
// "box00" follows the frame number.
struct PlayerFixture : ::testing::Test {
    PlayerFixture() {
        rig.AddSet("veskoStand01", 60.0f, {{"head", AA_TRANSLATION_X, 0.0f, 0.0f}});
        rig.AddSet("veskoDance", 30.0f, {{"head", AA_TRANSLATION_X, 10.0f, 0.0f}});
        rig.AddSet("veskoBox00", 60.0f, {{"head", AA_TRANSLATION_X, 0.0f, 1.0f}});
        rig.AddSet("veskoBox01", 25.0f, {{"head", AA_TRANSLATION_X, 0.0f, 1.0f}});
        rig.AddSet("veskoEmpty", 0.0f, {});
        rig.AddSet("veskoWalk04", 40.0f, {{"head", AA_TRANSLATION_X, 3.0f, 0.0f}});
        rig.Build();
        player.AddAction(new CActMotion("stand", rig.body, 0, "veskoStand01", CharacterRig::SCOPE));
        player.AddAction(new CActMotion("dance", rig.body, 0, "veskoDance", CharacterRig::SCOPE));
        player.AddAction(new CActMotion("box00", rig.body, 0, "veskoBox00", CharacterRig::SCOPE));
        player.AddAction(new CActMotion("box01", rig.body, 0, "veskoBox01", CharacterRig::SCOPE));
        player.AddAction(new CActMotion("empty", rig.body, 0, "veskoEmpty", CharacterRig::SCOPE));
        player.AddAction(new CActMotionMove("walk", rig.body, "veskoWalk04", CharacterRig::SCOPE, 1.0f));
        player.AddAction(new CActWait("wait", rig.body));
    }

    CActRequest Words(const std::string& name, std::vector<std::string> words) {
        CActRequest request(name);
        request.words = std::move(words);
        return request;
    }
    // Updates until the player is idle with nothing current; answers how many.
    int RunToIdle(float ms, int limit = 100000) {
        int updates = 0;
        do {
            player.Update(ms);
            ++updates;
        } while (player.GetState() != CActPlayer::STATE_IDLE && updates < limit);
        return updates;
    }

    CharacterRig rig;
    CActPlayer player{"vesko"};
};

TEST_F(PlayerFixture, StandBlendDanceCrossFadesWithRisingWeights) {
    ASSERT_TRUE(player.Request(CActRequest("stand")));
    ASSERT_TRUE(player.Request(CActRequest("blend", 0.0f, 10.0f)));
    ASSERT_TRUE(player.Request(CActRequest("dance")));

    // "stand" reaches its last frame (59) on the 59th update and the fade
    // begins in that same update.
    for (int i = 1; i < 59; ++i) {
        player.Update(FRAME_MS);
        ASSERT_EQ(player.GetState(), CActPlayer::STATE_PLAYING) << i;
    }
    player.Update(FRAME_MS);
    EXPECT_EQ(player.GetState(), CActPlayer::STATE_CROSS_FADING);
    EXPECT_EQ(player.GetCurrentActionName(), "stand");
    EXPECT_FLOAT_EQ(rig.HeadProbe(), 0.0f);

    // Weights t/10 for t = 1, 2, ... 8; at 9 the fade is over.
    for (int t = 1; t <= 8; ++t) {
        player.Update(FRAME_MS);
        EXPECT_NEAR(rig.HeadProbe(), (float)t, 1e-3f) << "t = " << t;
        EXPECT_EQ(player.GetCurrentActionName(), t < 8 ? "stand" : "");
    }
    EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE);
    player.Update(FRAME_MS);
    EXPECT_EQ(player.GetCurrentActionName(), "dance");
    EXPECT_FLOAT_EQ(rig.HeadProbe(), 10.0f);
    EXPECT_FLOAT_EQ(player.GetCrossFadeLength(), 10.0f);
    EXPECT_TRUE(player.GetQueue().empty());
}

TEST_F(PlayerFixture, SameActionTwiceNeverCrossFades) {
    for (bool withBlend : {false, true}) {
        player.Reset();
        ASSERT_TRUE(player.Request(CActRequest("dance")));
        if (withBlend) {
            ASSERT_TRUE(player.Request(CActRequest("blend", 0.0f, 10.0f)));
        }
        ASSERT_TRUE(player.Request(CActRequest("dance")));
        auto* dance = static_cast<CActMotion*>(player.FindAction("dance"));
        // The first play ends at frame 29 on update 29; the second starts on
        // update 30 and is one frame in after it.
        for (int i = 1; i <= 29; ++i) {
            player.Update(FRAME_MS);
            ASSERT_NE(player.GetState(), CActPlayer::STATE_CROSS_FADING) << withBlend << " " << i;
        }
        EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE) << withBlend;
        player.Update(FRAME_MS);
        EXPECT_EQ(player.GetState(), CActPlayer::STATE_PLAYING) << withBlend;
        EXPECT_EQ(player.GetCurrentActionName(), "dance");
        EXPECT_FLOAT_EQ(dance->GetTimeFrames(), 1.0f) << withBlend;
        EXPECT_TRUE(player.GetQueue().empty());
    }
}

TEST_F(PlayerFixture, CrossFadeOfLengthZeroOrOneHandsOverAtOnce) {
    for (float length : {0.0f, 1.0f, -3.0f}) {
        player.Reset();
        player.Request(Words("stand", {"last"}));
        player.Request(CActRequest("blend", 0.0f, length));
        player.Request(CActRequest("dance"));
        player.Update(FRAME_MS); // "stand" shows its last frame and ends
        ASSERT_EQ(player.GetState(), CActPlayer::STATE_CROSS_FADING) << length;
        player.Update(FRAME_MS);
        EXPECT_TRUE(std::isfinite(rig.HeadProbe())) << length;
        EXPECT_FLOAT_EQ(rig.HeadProbe(), 10.0f) << length;
        EXPECT_TRUE(std::isfinite(rig.BodyRoot()->GetChannelValue(CTransform::TC_TRANSLATION_X))) << length;
        EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE) << length;
        player.Update(FRAME_MS);
        EXPECT_EQ(player.GetCurrentActionName(), "dance") << length;
    }
}

TEST_F(PlayerFixture, LoopWordsSetHowLongAMotionPlays) {
    struct Case {
        const char* action;
        std::vector<std::string> words;
        float ms;      // per update
        int updates;   // until it ends
        int lastFrame; // where it stops
        int length;    // GetLength at the start
        int frames;    // of the set; shown frames wrap
    };
    const Case cases[] = {
        {"box00", {}, FRAME_MS, 59, 59, 60, 60},        {"box00", {"2"}, FRAME_MS, 119, 119, 120, 60},
        {"box00", {"last"}, FRAME_MS, 1, 59, 60, 60},   {"box00", {"5000t"}, 100.0f, 50, 299, 300, 60},
        {"box01", {"5000t"}, 100.0f, 50, 299, 300, 25}, {"box00", {"0.5"}, FRAME_MS, 29, 29, 30, 60},
    };
    for (const Case& c : cases) {
        player.Reset();
        ASSERT_TRUE(player.Request(Words(c.action, c.words)));
        auto* motion = static_cast<CActMotion*>(player.FindAction(c.action));
        player.Update(c.ms);
        EXPECT_EQ(motion->GetLength(), c.length) << c.action << " " << (c.words.empty() ? "" : c.words[0]);
        int updates = 1;
        while (player.GetState() == CActPlayer::STATE_PLAYING && updates < 100000) {
            player.Update(c.ms);
            ++updates;
        }
        EXPECT_EQ(updates, c.updates) << c.action << " " << (c.words.empty() ? "" : c.words[0]);
        EXPECT_EQ(motion->GetTime(), c.lastFrame);
        EXPECT_FLOAT_EQ(rig.HeadProbe(), (float)(c.lastFrame % c.frames));
    }

    player.Reset();
    player.Request(Words("box00", {"infinit"}));
    player.Update(FRAME_MS);
    EXPECT_EQ(player.FindAction("box00")->GetLength(), 60000);
}

TEST_F(PlayerFixture, ContinueResumesWhereTheLastPlayStopped) {
    player.Request(Words("box00", {"infinit"}));
    for (int i = 0; i < 37; ++i)
        player.Update(FRAME_MS);
    auto* box = static_cast<CActMotion*>(player.FindAction("box00"));
    ASSERT_FLOAT_EQ(box->GetTimeFrames(), 37.0f);
    player.Reset();

    player.Request(Words("box00", {"1", "continue"}));
    player.Update(FRAME_MS);
    EXPECT_FLOAT_EQ(box->GetTimeFrames(), 38.0f);
    EXPECT_FLOAT_EQ(rig.HeadProbe(), 38.0f);
    // One more whole play after frame 37: it stops at frame 96.
    int updates = 1 + RunToIdle(FRAME_MS);
    EXPECT_EQ(updates, 59);
    EXPECT_EQ(box->GetTime(), 96);
}

TEST_F(PlayerFixture, NothingToPlayEndsWithoutShowingFrameMinusOne) {
    // A loop count of 0 (or below), and a set of no frames whatever the
    // words: the play ends in its first update and the pose is left alone.
    struct Case {
        const char* action;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"box00", {"0"}},
        {"box00", {"-2"}},
        {"box00", {"0t"}},
        {"empty", {}},
        {"empty", {"5000t"}},
        {"empty", {"last"}},
        {"empty", {"1", "continue"}},
    };
    for (const Case& c : cases) {
        player.Reset();
        rig.Scoped("head", RT_BONE)->SetChannelValue(CTransform::TC_TRANSLATION_X, 42.0f);
        ASSERT_TRUE(player.Request(Words(c.action, c.words)));
        player.Update(FRAME_MS);
        std::string label = std::string(c.action) + " " + (c.words.empty() ? "" : c.words[0]);
        EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE) << label;
        EXPECT_FLOAT_EQ(rig.HeadProbe(), 42.0f) << label;
        EXPECT_EQ(player.FindAction(c.action)->GetTime(), 0) << label;
        EXPECT_TRUE(std::isfinite(static_cast<CActMotion*>(player.FindAction(c.action))->GetLoops())) << label;
    }
    // A zero-frame motion ahead of a blend does not break the fade.
    player.Reset();
    player.Request(CActRequest("empty"));
    player.Request(CActRequest("blend", 0.0f, 4.0f));
    player.Request(CActRequest("dance"));
    for (int i = 0; i < 6; ++i)
        player.Update(FRAME_MS);
    EXPECT_EQ(player.GetCurrentActionName(), "dance");
    EXPECT_FLOAT_EQ(rig.HeadProbe(), 10.0f);
}

TEST_F(PlayerFixture, WalkTurnsAndLandsOnTheTarget) {
    ASSERT_TRUE(player.Request(CActRequest("walk", 10.0f, 20.0f)));
    player.Update(FRAME_MS);
    auto* walk = static_cast<CActMotionMove*>(player.FindAction("walk"));
    CTransform* root = rig.BodyRoot();
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_ROTATION_Y), std::atan2(10.0f, 20.0f), 1e-5f);
    const float distance = std::sqrt(500.0f);
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_TRANSLATION_X), 10.0f / distance, 1e-4f);
    EXPECT_EQ(walk->GetLength(), (int)(distance - 1.0f));

    int updates = 1;
    while (!walk->HasArrived() && updates < 1000) {
        player.Update(FRAME_MS);
        ++updates;
    }
    // Steps of one unit until twice the next would pass the target: 21 of
    // them, then a last one of the 1.36 units left.
    EXPECT_EQ(updates, 22);
    EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE) << "ends in the update it lands";
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_TRANSLATION_X), 10.0f, 1e-4f);
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_TRANSLATION_Y), 0.0f, 1e-6f);
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_TRANSLATION_Z), 20.0f, 1e-4f);
    EXPECT_EQ(walk->GetLength(), 0);

    // A later motion starts where the walk left her.
    player.Request(CActRequest("stand"));
    player.Update(FRAME_MS);
    player.Update(FRAME_MS);
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_TRANSLATION_X), 10.0f, 1e-4f);
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_TRANSLATION_Z), 20.0f, 1e-4f);
}

TEST_F(PlayerFixture, WalkWithNoWayToGoEnds) {
    // A target where she stands, a target word that is not a number (the
    // Windows C library reads "nan" as 0), and a body whose own place is not a
    // number: each walk ends in its first update.
    const float nan = std::nanf("");
    struct Case {
        std::vector<std::string> words;
        float rootX;
        bool finiteAfter;
    };
    const Case cases[] = {{{"0", "0"}, 0.0f, true}, {{"nan", "nan"}, 0.0f, true}, {{"4", "3"}, nan, false}};
    for (const Case& c : cases) {
        player.Reset();
        rig.BodyRoot()->SetTranslation(c.rootX, 0.0f, 0.0f);
        ASSERT_TRUE(player.Request(Words("walk", c.words)));
        player.Update(FRAME_MS);
        EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE) << c.words[0] << " " << c.rootX;
        if (c.finiteAfter) {
            for (int slot : {CTransform::TC_TRANSLATION_X, CTransform::TC_TRANSLATION_Z, CTransform::TC_ROTATION_Y})
                EXPECT_TRUE(std::isfinite(rig.BodyRoot()->GetChannelValue(slot))) << c.words[0] << " " << slot;
        }
    }
    // Too few words: the start is refused and the walk runs with what it had.
    auto* walk = static_cast<CActMotionMove*>(player.FindAction("walk"));
    EXPECT_FALSE(walk->Start({"3"}));
}

TEST_F(PlayerFixture, ActCommandQueuesOrWritesItsRefusal) {
    struct Case {
        std::vector<std::string> args;
        std::string output;
        size_t queued;
    };
    const Case cases[] = {
        {{"stand", "2"}, "", 1},
        {{"nosuch"}, "\"vesko\" can't act \"nosuch\".\n", 0},
        {{}, "\"vesko\" can't act \"\".\n", 0},
        {{"blend", "0"}, "\"vesko\" can't act \"blend\".\n", 0},
        {{"blend", "0", "10"}, "", 1},
    };
    for (const Case& c : cases) {
        player.Reset();
        std::ostringstream out;
        EXPECT_TRUE(player.HandleCommand(out, "act", c.args));
        EXPECT_EQ(out.str(), c.output);
        ASSERT_EQ(player.GetQueue().size(), c.queued);
        if (c.queued) {
            EXPECT_EQ(player.GetQueue().front().name, c.args[0]);
            EXPECT_EQ(player.GetQueue().front().words, std::vector<std::string>(c.args.begin() + 1, c.args.end()));
        }
    }
    std::ostringstream out;
    EXPECT_TRUE(player.HandleCommand(out, "select", {}));
    EXPECT_FALSE(player.HandleCommand(out, "actx", {"stand"}));
}

TEST(ActRequestTest, NumbersBecomeSixDecimalWords) {
    CActRequest one("wait", 2000.0f);
    EXPECT_EQ(one.words, std::vector<std::string>{"2000.000000"});
    CActRequest two("walk", -1.5f, 20.0f);
    EXPECT_EQ(two.words, (std::vector<std::string>{"-1.500000", "20.000000"}));
    CActRequest word("stand", "1t");
    EXPECT_EQ(word.words, std::vector<std::string>{"1t"});
    EXPECT_TRUE(CActRequest("stand").words.empty());
}

} // namespace
