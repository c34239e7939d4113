#include <gtest/gtest.h>

#include "character/act/ActMotion.h"
#include "character/act/ActPlayer.h"
#include "tests/character/support/CharacterRig.h"

namespace {

constexpr float FRAME_MS = 1.0f / 0.06f;

// "step" moves the body's root node 0 -> 6 along x over its six frames;
// "stand" holds it at 0; "doorIn00" is played where its animation puts her,
// 10 along x.
struct RootFixture : ::testing::Test {
    RootFixture() {
        rig.AddSet("veskoStep", 6.0f, {{"veskoRoot", AA_TRANSLATION_X, 0.0f, 1.0f}});
        rig.AddSet("veskoStand01", 60.0f, {{"veskoRoot", AA_TRANSLATION_X, 0.0f, 0.0f}});
        rig.AddSet("veskoDoorIn00", 60.0f, {{"veskoRoot", AA_TRANSLATION_X, 10.0f, 0.0f}});
        rig.Build();
        player.AddAction(new CActMotion("step", rig.body, 0, "veskoStep", CharacterRig::SCOPE));
        player.AddAction(new CActMotion("stand", rig.body, 0, "veskoStand01", CharacterRig::SCOPE));
        player.AddAction(new CActMotion("doorIn00", rig.body, 1, "veskoDoorIn00", CharacterRig::SCOPE));
        // Building a motion shows its first frame; she starts from her rest pose.
        rig.Scoped("veskoRoot")->SetTranslation(0.0f, 0.0f, 0.0f);
    }
    float RootX() { return rig.BodyRoot()->GetChannelValue(CTransform::TC_TRANSLATION_X); }
    float NodeX() { return rig.Scoped("veskoRoot")->GetChannelValue(CTransform::TC_TRANSLATION_X); }

    CharacterRig rig;
    CActPlayer player{"vesko"};
};

TEST_F(RootFixture, NextMotionStartsWhereTheLastLeftTheBody) {
    rig.BodyRoot()->SetTranslation(2.0f, 0.0f, 1.0f);
    player.Request(CActRequest("step"));
    player.Request(CActRequest("stand"));
    for (int i = 0; i < 5; ++i)
        player.Update(FRAME_MS);
    ASSERT_EQ(player.GetState(), CActPlayer::STATE_IDLE);
    EXPECT_FLOAT_EQ(NodeX(), 5.0f);
    EXPECT_FLOAT_EQ(RootX(), 2.0f);
    player.Update(FRAME_MS);
    EXPECT_EQ(player.GetCurrentActionName(), "stand");
    // The body stays at 2 + 5: the stand's pose is moved there.
    EXPECT_FLOAT_EQ(NodeX(), 0.0f);
    EXPECT_FLOAT_EQ(RootX(), 7.0f);
    EXPECT_FLOAT_EQ(rig.BodyRoot()->GetChannelValue(CTransform::TC_TRANSLATION_Z), 1.0f);
}

TEST_F(RootFixture, CrossFadeBlendsTheRootPlacementsOnce) {
    player.Request(CActRequest("stand", "last"));
    player.Request(CActRequest("blend", 0.0f, 5.0f));
    player.Request(CActRequest("doorIn00"));
    player.Update(FRAME_MS);
    ASSERT_EQ(player.GetState(), CActPlayer::STATE_CROSS_FADING);
    // Weights 1/5 .. 3/5 of the way to 10, all of it on the body's root and
    // none left on its root node.
    for (int t = 1; t <= 3; ++t) {
        player.Update(FRAME_MS);
        EXPECT_NEAR(RootX(), 10.0f * t / 5.0f, 1e-4f) << t;
        EXPECT_FLOAT_EQ(NodeX(), 0.0f) << t;
    }
    player.Update(FRAME_MS);
    // The fixed-origin motion then plays at its own place.
    EXPECT_EQ(player.GetCurrentActionName(), "doorIn00");
    EXPECT_FLOAT_EQ(RootX(), 0.0f);
    EXPECT_FLOAT_EQ(NodeX(), 10.0f);
}

} // namespace
