#include <gtest/gtest.h>

#include <cmath>

#include "character/act/ActCallback.h"
#include "character/act/ActFadeColor.h"
#include "character/act/ActMotion.h"
#include "character/act/ActMotionLinked.h"
#include "character/act/ActPlayer.h"
#include "character/act/ActWait.h"
#include "engine/core/FrameStamp.h"
#include "tests/character/support/CharacterRig.h"

namespace {

constexpr float FRAME_MS = 1.0f / 0.06f;

// Runs for a set number of updates and logs what the player calls.
struct ProbeAct : CAct {
    ProbeAct(const std::string& name, int updates, std::vector<std::string>* log)
        : CAct(name, nullptr, 0),
          updates(updates),
          log(log) {}
    const char* GetClassName() const override { return "ProbeAct"; }
    bool Start(const std::vector<std::string>& words) override {
        log->push_back("start " + m_name + (words.empty() ? "" : " " + words[0]));
        left = updates;
        return true;
    }
    void End() override { log->push_back("end " + m_name); }
    bool Update(float, bool, float) override {
        log->push_back("update " + m_name);
        return --left > 0;
    }
    int GetLength() override { return updates; }
    int GetTime() override { return updates - left; }
    int updates;
    int left = 0;
    std::vector<std::string>* log;
};

// A hook that detours as told and records what it was asked.
struct HookPlayer : CActPlayer {
    enum Mode {
        INSERT_ONCE,
        REPLACE_ONCE,
        INSERT_FOREVER
    };
    HookPlayer(Mode mode) : CActPlayer("hooked"), mode(mode) {}
    int OnRequest(CActRequest& out, const std::string& previous, const CActRequest& request) override {
        asked.push_back(previous + ">" + request.name);
        if (mode == INSERT_FOREVER) {
            out = CActRequest("a", "detour");
            return HOOK_INSERT;
        }
        if (request.name == "b" && !detoured) {
            detoured = true;
            out = CActRequest("a", mode == INSERT_ONCE ? "walk" : "rewritten");
            return mode == INSERT_ONCE ? HOOK_INSERT : HOOK_REPLACE;
        }
        return HOOK_START;
    }
    Mode mode;
    bool detoured = false;
    std::vector<std::string> asked;
};

TEST(ActPlayerHookTest, AnEndRunsOneUpdateLaterAfterTheNextStart) {
    std::vector<std::string> log;
    CActPlayer player("p");
    player.AddAction(new ProbeAct("a", 1, &log));
    player.AddAction(new ProbeAct("b", 2, &log));
    auto* namesake = new ProbeAct("a", 5, &log);
    EXPECT_FALSE(player.AddAction(namesake)) << "names are unique";
    delete namesake;
    EXPECT_FALSE(player.Request(CActRequest("c")));
    ASSERT_TRUE(player.Request(CActRequest("a", "x")));
    ASSERT_TRUE(player.Request(CActRequest("b")));
    for (int i = 0; i < 4; ++i)
        player.Update(FRAME_MS);
    // With nothing left to play the last end waits for the next request.
    EXPECT_EQ(log, (std::vector<std::string>{"start a x", "update a", "start b", "update b", "end a", "update b"}));
    player.Request(CActRequest("a"));
    player.Update(FRAME_MS);
    EXPECT_EQ(log.size(), 9u);
    EXPECT_EQ(log[6], "start a");
    EXPECT_EQ(log[8], "end b");
    EXPECT_EQ(player.FindAction("a")->GetLength(), 1) << "the first registration stays";
}

TEST(ActPlayerHookTest, InsertedDetourPlaysFirstAndTheHookIsAskedAgain) {
    std::vector<std::string> log;
    HookPlayer player(HookPlayer::INSERT_ONCE);
    player.AddAction(new ProbeAct("a", 1, &log));
    player.AddAction(new ProbeAct("b", 1, &log));
    player.Request(CActRequest("b", "go"));
    for (int i = 0; i < 3; ++i)
        player.Update(FRAME_MS);
    EXPECT_EQ(player.asked, (std::vector<std::string>{">b", ">a", "a>b"}));
    EXPECT_EQ(log, (std::vector<std::string>{"start a walk", "update a", "start b go", "update b", "end a"}));
}

TEST(ActPlayerHookTest, ReplacedRequestStartsWithItsNewNameAndWords) {
    std::vector<std::string> log;
    HookPlayer player(HookPlayer::REPLACE_ONCE);
    player.AddAction(new ProbeAct("a", 1, &log));
    player.AddAction(new ProbeAct("b", 1, &log));
    player.Request(CActRequest("b"));
    player.Update(FRAME_MS);
    EXPECT_EQ(player.asked, (std::vector<std::string>{">b", ">a"}));
    EXPECT_EQ(log, (std::vector<std::string>{"start a rewritten", "update a"}));
    EXPECT_TRUE(player.GetQueue().empty());
}

TEST(ActPlayerHookTest, TheHookSeesNoPreviousActionWhenAFadeTakesTheRequest) {
    std::vector<std::string> log;
    HookPlayer player(HookPlayer::REPLACE_ONCE);
    player.detoured = true; // asks only
    player.AddAction(new ProbeAct("a", 1, &log));
    player.AddAction(new ProbeAct("c", 1, &log));
    player.Request(CActRequest("a"));
    player.Request(CActRequest("c"));
    player.Request(CActRequest("a"));
    player.Request(CActRequest("blend", 0.0f, 4.0f));
    player.Request(CActRequest("c"));
    for (int i = 0; i < 8; ++i)
        player.Update(FRAME_MS);
    // The second "a" fades into the last "c": the fading action is not a
    // finished one.
    EXPECT_EQ(player.asked, (std::vector<std::string>{">a", "a>c", "c>a", ">c"}));
}

TEST(ActPlayerHookTest, AHookThatNeverStopsDetouringIsCutOff) {
    std::vector<std::string> log;
    HookPlayer player(HookPlayer::INSERT_FOREVER);
    player.AddAction(new ProbeAct("a", 1000, &log));
    player.AddAction(new ProbeAct("b", 1, &log));
    player.Request(CActRequest("b"));
    player.Update(FRAME_MS);
    EXPECT_EQ((int)player.asked.size(), CActPlayer::MAX_HOOK_DETOURS);
    EXPECT_EQ(player.GetCurrentActionName(), "a");
    // The detours not yet played and the request itself stay queued.
    EXPECT_EQ((int)player.GetQueue().size(), CActPlayer::MAX_HOOK_DETOURS);
    EXPECT_EQ(player.GetQueue().back().name, "b");
}

TEST(ActPlayerHookTest, StopAllEndsEachActionOnceAndResetEmptiesTheQueue) {
    std::vector<std::string> log;
    CActPlayer player("p");
    player.AddAction(new ProbeAct("a", 1, &log));
    player.AddAction(new ProbeAct("b", 10, &log));
    player.AddAction(new ProbeAct("c", 10, &log));
    player.Request(CActRequest("a"));
    player.Request(CActRequest("b"));
    player.Request(CActRequest("c"));
    player.Update(FRAME_MS); // a ends
    player.Update(FRAME_MS); // b starts; a's end
    log.clear();
    player.StopAll();
    EXPECT_EQ(log, std::vector<std::string>{"end b"});
    EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE);
    EXPECT_EQ(player.GetCurrentActionName(), "");
    EXPECT_EQ(player.GetQueue().size(), 1u);
    player.Reset();
    EXPECT_TRUE(player.GetQueue().empty());
    player.Update(FRAME_MS);
    EXPECT_EQ(player.GetCurrentActionName(), "");
}

TEST(BoneChainNodeTest, ChainRunsBelowTheRootDownToTheTip) {
    CharacterRig rig;
    rig.Build();
    const auto& chain = rig.body->GetChain();
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_EQ(chain[0]->GetName(), "veskoRoot::the");
    EXPECT_EQ(chain[1]->GetName(), "koshi::the");
    EXPECT_TRUE(rig.body->IsChainComplete());
    ASSERT_NE(rig.body->GetExtraNode(), nullptr);
    EXPECT_EQ(rig.body->GetExtraNode()->GetName(), "veskoRoot::the");

    // The tip adds its offset but not its turn.
    rig.Scoped("veskoRoot")->SetTranslation(1.0f, 2.0f, 3.0f);
    rig.Scoped("veskoRoot")->SetRotation(0.0f, 1.5707963f, 0.0f);
    rig.Scoped("koshi", RT_BONE)->SetTranslation(0.0f, 4.0f, 5.0f);
    rig.Scoped("koshi", RT_BONE)->SetRotation(0.9f, 0.0f, 0.0f);
    CMatrix chainMatrix;
    rig.body->GetChainMatrix(chainMatrix);
    Vec3 tip(0.0f, 0.0f, 0.0f);
    tip.TransformCoord(chainMatrix);
    EXPECT_NEAR(tip.x, 1.0f + 5.0f, 1e-5f);
    EXPECT_NEAR(tip.y, 2.0f + 4.0f, 1e-5f);
    EXPECT_NEAR(tip.z, 3.0f, 1e-5f);
    Vec3 up(0.0f, 1.0f, 0.0f);
    up.TransformNormal(chainMatrix);
    EXPECT_NEAR(up.y, 1.0f, 1e-5f) << "the tip's own rotation is left out";

    // A root that is not above the tip: the walk keeps what it met.
    BoneChainDesc lost;
    lost.root = {"kotatsu", RT_TRANSFORM};
    lost.tip = {"koshi", RT_BONE};
    CBoneChainNode stray("stray", lost, CharacterRig::SCOPE);
    EXPECT_FALSE(stray.IsChainComplete());
    EXPECT_EQ(stray.GetExtraNode(), nullptr);
}

TEST(BoneChainNodeTest, RootBlendAveragesPlacementsAndTurnsTheShortWay) {
    CharacterRig rig;
    rig.Build();
    CTransform* root = rig.BodyRoot();
    root->SetTranslation(0.0f, 7.0f, 0.0f);
    rig.body->BeginRootBlend();
    rig.body->BeginRootBlend();
    rig.body->AccumulateRootBlend(0.25f, 0.0f, 1.0f, 0.0f, 3.0f);
    rig.body->AccumulateRootBlend(0.75f, 4.0f, 1.0f, 8.0f, -3.0f);
    rig.body->EndRootBlend();
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_X), 0.0f) << "only the outer end writes";
    rig.body->EndRootBlend();
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_X), 3.0f);
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_Y), 7.0f) << "the height stays";
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_Z), 6.0f);
    // -3 is taken as -3 + 6.283184 next to 3.
    EXPECT_NEAR(root->GetChannelValue(CTransform::TC_ROTATION_Y), 0.25f * 3.0f + 0.75f * 3.283184f, 1e-5f);

    struct Case {
        float yaw;
        float expected;
    };
    for (const Case& c : {Case{0.7f, 0.7f}, Case{-2.5f, -2.5f}, Case{0.0f, 0.0f}}) {
        CMatrix m;
        m.SetRotationXYZ(0.0f, c.yaw, 0.0f);
        m(3, 0) = 9.0f;
        EXPECT_NEAR(MatrixYaw(m), c.expected, 1e-5f) << c.yaw;
        EXPECT_FLOAT_EQ(MatrixPosition(m).x, 9.0f);
    }
}

TEST(ActMotionLinkedTest, PropsMoveAtTheStartOrAtTheEnd) {
    CharacterRig rig;
    rig.AddSet("veskoKotatsu08", 3.0f, {});
    rig.AddSet("veskoKotatsu09", 3.0f, {});
    rig.Build();
    CActPlayer player("p");
    player.AddAction(new CActMotionLinked("kotatsu08", rig.body, "veskoKotatsu08", CharacterRig::SCOPE,
                                          {"vesko_mdl_root", RT_TRANSFORM}, {"kotatsuBody", RT_TRANSFORM}, 1));
    player.AddAction(new CActWait("wait", rig.body));
    player.AddAction(new CActMotionLinked("kotatsu09", rig.body, "veskoKotatsu09", CharacterRig::SCOPE,
                                          {"kotatsu", RT_TRANSFORM}, {"kotatsuBody", RT_TRANSFORM}, 0));
    EXPECT_STREQ(player.FindAction("kotatsu08")->GetClassName(), "CActMotion");
    CTransform* body = rig.Scoped("kotatsuBody");
    ASSERT_NE(body, nullptr);
    body->SetTranslation(1.0f, 1.0f, 1.0f);
    body->SetRotation(0.5f, 0.5f, 0.5f);

    player.Request(CActRequest("kotatsu08"));
    player.Request(CActRequest("wait", "50"));
    player.Update(FRAME_MS);
    EXPECT_EQ(body->GetParent(), rig.Scoped("kotatsu")) << "attach-at-end waits";
    player.Update(FRAME_MS); // its last frame
    player.Update(FRAME_MS); // the wait starts, then its end
    EXPECT_EQ(body->GetParent(), rig.BodyRoot());
    for (int slot = CTransform::TC_TRANSLATION_X; slot <= CTransform::TC_ROTATION_Z; ++slot)
        EXPECT_FLOAT_EQ(body->GetChannelValue(slot), 0.0f) << slot;

    player.Request(CActRequest("kotatsu09"));
    for (int i = 0; i < 10 && player.GetCurrentActionName() != "kotatsu09"; ++i)
        player.Update(FRAME_MS);
    ASSERT_EQ(player.GetCurrentActionName(), "kotatsu09");
    EXPECT_EQ(body->GetParent(), rig.Scoped("kotatsu")) << "attach at the start";
}

// Her skeleton is scaled up (16.66); a good taken into her hand keeps the size
// it has in the room, and has it again once it is put back.
TEST(ActMotionLinkedTest, MovedNodeKeepsItsWorldSize) {
    CharacterRig rig;
    rig.AddSet("veskoTake", 3.0f, {});
    rig.AddSet("veskoPutBack", 3.0f, {});
    rig.Build();
    rig.Scoped("veskoRoot")->SetScale(16.66f, 16.66f, 16.66f);
    CActPlayer player("p");
    player.AddAction(new CActMotionLinked("take", rig.body, "veskoTake", CharacterRig::SCOPE,
                                          {"veskoHandlingR", RT_TRANSFORM}, {"kotatsuBody", RT_TRANSFORM}, 0));
    player.AddAction(new CActMotionLinked("putBack", rig.body, "veskoPutBack", CharacterRig::SCOPE,
                                          {"kotatsu", RT_TRANSFORM}, {"kotatsuBody", RT_TRANSFORM}, 0));
    CTransform* good = rig.Scoped("kotatsuBody");
    ASSERT_NE(good, nullptr);
    auto worldScale = [&] {
        AdvanceFrameStamp();
        const CMatrix& m = good->GetWorldMatrix();
        return std::sqrt(m(0, 0) * m(0, 0) + m(0, 1) * m(0, 1) + m(0, 2) * m(0, 2));
    };
    EXPECT_NEAR(worldScale(), 1.0f, 1e-5f);
    AdvanceFrameStamp();
    player.Request(CActRequest("take"));
    player.Update(FRAME_MS);
    ASSERT_EQ(good->GetParent(), rig.Scoped("veskoHandlingR"));
    EXPECT_NEAR(worldScale(), 1.0f, 1e-4f);
    EXPECT_NEAR(good->GetChannelValue(CTransform::TC_SCALE_X), 1.0f / 16.66f, 1e-5f);
    player.Request(CActRequest("putBack"));
    for (int i = 0; i < 10 && good->GetParent() != rig.Scoped("kotatsu"); ++i)
        player.Update(FRAME_MS);
    ASSERT_EQ(good->GetParent(), rig.Scoped("kotatsu"));
    EXPECT_NEAR(worldScale(), 1.0f, 1e-4f);
    EXPECT_NEAR(good->GetChannelValue(CTransform::TC_SCALE_Y), 1.0f, 1e-4f);
}

TEST(ActWaitTest, WaitsItsMillisecondsWhateverTheStep) {
    struct Case {
        const char* word;
        float ms;
        int updates;
        int length;
    };
    const Case cases[] = {
        {"2000", FRAME_MS, 120, 2000}, {"2000", 2.0f * FRAME_MS, 60, 2000},
        {"10000t", 500.0f, 20, 10000}, {"0", FRAME_MS, 1, 0},
        {"99.9", 50.0f, 2, 99},
    };
    for (const Case& c : cases) {
        CActWait wait("wait", nullptr);
        ASSERT_TRUE(wait.Start({c.word}));
        EXPECT_EQ(wait.GetLength(), c.length) << c.word;
        int updates = 1;
        while (wait.Update(c.ms * 0.06f, false, 1.0f) && updates < 100000)
            ++updates;
        EXPECT_NEAR(updates, c.updates, 1) << c.word << " at " << c.ms;
        EXPECT_EQ(wait.GetTime(), c.length) << c.word;
    }
    CActWait wait("wait", nullptr);
    EXPECT_FALSE(wait.Start({}));
}

struct ColourProbe : IModulateColorTarget {
    void SetModulateColor(const ColorRGBA& c) override {
        last = c;
        ++calls;
    }
    ColorRGBA last;
    int calls = 0;
};

TEST(ActFadeColorTest, FadesBetweenItsColoursAndEndsOnTheLast) {
    ColourProbe renderer;
    CActFadeColor fade("fadeColor", nullptr, &renderer);
    EXPECT_FALSE(fade.Start({"0", "0", "0", "1", "1"}));
    ASSERT_TRUE(fade.Start({"0", "0.2", "1", "1", "0.6", "0", "1000"}));
    EXPECT_TRUE(fade.Update(250.0f * 0.06f, false, 1.0f));
    EXPECT_NEAR(renderer.last.r, 0.25f, 1e-5f);
    EXPECT_NEAR(renderer.last.g, 0.3f, 1e-5f);
    EXPECT_NEAR(renderer.last.b, 0.75f, 1e-5f);
    EXPECT_FLOAT_EQ(renderer.last.a, 1.0f);
    EXPECT_FALSE(fade.Update(800.0f * 0.06f, false, 1.0f));
    EXPECT_NEAR(renderer.last.r, 1.0f, 1e-5f);
    EXPECT_NEAR(renderer.last.g, 0.6f, 1e-5f);
    EXPECT_EQ(fade.GetTime(), 1000);

    // No length: the end colour at once, no division by it.
    ASSERT_TRUE(fade.Start({"1", "1", "1", "0", "0", "0", "0"}));
    EXPECT_FALSE(fade.Update(1.0f, false, 1.0f));
    EXPECT_FLOAT_EQ(renderer.last.r, 0.0f);
    EXPECT_FALSE(std::isnan(renderer.last.g));
}

struct CallbackProbe : IActCallbackTarget {
    void ChangeAccessory(const std::vector<std::string>& w) override { calls.push_back("acce" + Join(w)); }
    void ChangeCloth(const std::vector<std::string>& w) override { calls.push_back("cloth" + Join(w)); }
    void RoomOut(const std::vector<std::string>& w) override { calls.push_back("room" + Join(w)); }
    void Eaten(const std::vector<std::string>& w) override { calls.push_back("eaten" + Join(w)); }
    void OnShowCallback(const std::vector<std::string>& w) override { calls.push_back("show" + Join(w)); }
    void OnEndingCallback(const std::vector<std::string>& w) override { calls.push_back("ending" + Join(w)); }
    static std::string Join(const std::vector<std::string>& w) {
        std::string s;
        for (const auto& x : w)
            s += " " + x;
        return s;
    }
    std::vector<std::string> calls;
};

TEST(ActCallbackTest, StartCallsTheTargetAndTheActionEndsAtOnce) {
    CallbackProbe character;
    CActPlayer player("p");
    player.AddAction(new CActCallback("roomOut", nullptr, &character, &IActCallbackTarget::RoomOut));
    player.AddAction(new CActCallback("eaten", nullptr, &character, &IActCallbackTarget::Eaten));
    player.Request(CActRequest("roomOut", "out"));
    player.Request(CActRequest("eaten", "milk"));
    player.Update(FRAME_MS);
    EXPECT_EQ(character.calls, std::vector<std::string>{"room out"});
    EXPECT_EQ(player.GetState(), CActPlayer::STATE_IDLE);
    player.Update(FRAME_MS);
    EXPECT_EQ(character.calls, (std::vector<std::string>{"room out", "eaten milk"}));
    EXPECT_EQ(player.FindAction("eaten")->GetFixedOrigin(), 1);
    EXPECT_STREQ(player.FindAction("eaten")->GetClassName(), "CActCallback");
}

} // namespace
