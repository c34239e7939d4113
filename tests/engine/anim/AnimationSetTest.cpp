#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/anim/AnimationSet.h"
#include "engine/anim/Animator.h"
#include "engine/anim/BlendPass.h"
#include "engine/anim/KeyframeData.h"
#include "tests/engine/anim/AnimTestTarget.h"

namespace {

// One constant or ramp curve bound to one attribute of a target, in a set.
struct Track {
    Track(AnimTestTarget& target, int attribute, const char* name, float value, float length = 35.0f,
          float change = 0.0f)
        : data(new CKeyframeData(name)),
          animator(new CAnimator(name)),
          set(new CAnimationSet(name)) {
        data->AppendKey(length, change, value);
        animator->SetTarget(&target, attribute, data);
        set->AddAnimator(animator);
    }
    CKeyframeData* data;
    CAnimator* animator;
    CAnimationSet* set;
};

} // namespace

TEST(AnimationSetTest, WrapsTimeAtBothEnds) {
    AnimRegistry r;
    AnimTestTarget target("node");
    Track ramp(target, AA_TRANSLATION_X, "ramp", 0.0f, 35.0f, 35.0f); // value = time
    ASSERT_FLOAT_EQ(ramp.set->GetLength(), 35.0f);

    struct Case {
        float time, played;
    };
    const Case cases[] = {{-0.5f, 34.5f}, {35.0f, 0.0f}, {70.25f, 0.25f}, {-35.0f, 0.0f}, {12.0f, 12.0f}};
    for (const Case& c : cases) {
        EXPECT_EQ(ramp.set->Apply(c.time, 1.0f, AWT_OVER_WRITE), 1);
        EXPECT_NEAR(target.Value(AA_TRANSLATION_X), c.played, 1e-4f) << "t=" << c.time;
    }
    EXPECT_EQ(target.touches, 5);
}

TEST(AnimationSetTest, OverWriteScalesBySampleWeight) {
    AnimRegistry r;
    AnimTestTarget target("node");
    Track step(target, AA_FRAME_EXTENSION, "frames", 6.0f);
    step.set->Apply(0.0f, 0.5f, AWT_OVER_WRITE);
    EXPECT_FLOAT_EQ(target.Value(AA_FRAME_EXTENSION), 3.0f);
}

TEST(AnimationSetTest, BlendPassNormalisesWeights) {
    AnimRegistry r;
    AnimTestTarget target("node");
    Track a(target, AA_TRANSLATION_X, "a", 10.0f);
    Track b(target, AA_TRANSLATION_X, "b", 20.0f);
    Track rotA(target, AA_ROTATION_Y, "ra", 3.0f);
    Track rotB(target, AA_ROTATION_Y, "rb", -3.0f);

    BeginBlendPass();
    a.set->Apply(1.0f, 0.3f, AWT_BLEND);
    b.set->Apply(1.0f, 0.7f, AWT_BLEND);
    rotA.set->Apply(1.0f, 0.5f, AWT_BLEND);
    rotB.set->Apply(1.0f, 0.5f, AWT_BLEND);
    EXPECT_EQ(TouchedChannelList().size(), 2u);
    EndBlendPass();
    EXPECT_TRUE(TouchedChannelList().empty());
    EXPECT_NEAR(target.Value(AA_TRANSLATION_X), 17.0f, 1e-5f);
    EXPECT_NEAR(target.Value(AA_ROTATION_Y), 3.141592f, 1e-5f); // across pi, not 0

    // A lone weight is divided out, giving the plain sample.
    BeginBlendPass();
    b.set->Apply(1.0f, 0.5f, AWT_BLEND);
    EndBlendPass();
    EXPECT_FLOAT_EQ(target.Value(AA_TRANSLATION_X), 20.0f);

    // A weight reset per pass: the previous pass's weight is not carried over.
    BeginBlendPass();
    a.set->Apply(1.0f, 0.25f, AWT_BLEND);
    EndBlendPass();
    EXPECT_FLOAT_EQ(target.Value(AA_TRANSLATION_X), 10.0f);
}

TEST(AnimationSetTest, SteppedAttributeSwitchesAtHalfWeight) {
    AnimRegistry r;
    AnimTestTarget target("node");
    Track outgoing(target, AA_FRAME_EXTENSION, "out", 2.0f);
    Track incoming(target, AA_FRAME_EXTENSION, "in", 5.0f);
    struct Case {
        float outWeight, inWeight, shown;
    };
    const Case cases[] = {{0.7f, 0.3f, 2.0f}, {0.4f, 0.6f, 5.0f}};
    for (const Case& c : cases) {
        target.SetValue(AA_FRAME_EXTENSION, 2.0f);
        BeginBlendPass();
        outgoing.set->Apply(0.0f, c.outWeight, AWT_BLEND);
        incoming.set->Apply(0.0f, c.inWeight, AWT_BLEND);
        EXPECT_TRUE(TouchedChannelList().empty());
        EndBlendPass();
        EXPECT_FLOAT_EQ(target.Value(AA_FRAME_EXTENSION), c.shown) << c.inWeight;
    }
}

TEST(AnimationSetTest, MoreThanReservedChannelsAreAllNormalised) {
    AnimRegistry r;
    const int count = TOUCHED_CHANNEL_RESERVE + 100;
    std::vector<std::unique_ptr<AnimTestTarget>> targets;
    CKeyframeData data("shared");
    data.AppendKey(1.0f, 0.0f, 8.0f);
    CAnimationSet set("many");
    for (int i = 0; i < count; ++i) {
        targets.emplace_back(new AnimTestTarget("t"));
        CAnimator* animator = new CAnimator("a");
        animator->SetTarget(targets.back().get(), AA_TRANSLATION_Z, &data);
        set.AddAnimator(animator);
    }
    BeginBlendPass();
    EXPECT_EQ(set.Apply(0.0f, 0.5f, AWT_BLEND), count);
    EXPECT_EQ(TouchedChannelList().size(), (size_t)count);
    EndBlendPass();
    for (const auto& t : targets)
        ASSERT_FLOAT_EQ(t->Value(AA_TRANSLATION_Z), 8.0f);
}

TEST(AnimationSetTest, UnboundAndStaleAnimatorsWriteNothing) {
    AnimRegistry r;
    AnimTestTarget keep("keep");
    CKeyframeData* data = new CKeyframeData("d");
    data->AppendKey(4.0f, 0.0f, 9.0f);

    CAnimator* noTarget = new CAnimator("noTarget");
    noTarget->SetTarget(nullptr, AA_TRANSLATION_X, data);
    CAnimator* noData = new CAnimator("noData");
    noData->SetTarget(&keep, AA_TRANSLATION_X, nullptr);
    CAnimator* noChannel = new CAnimator("noChannel");
    noChannel->SetTarget(&keep, 99, data);

    auto* gone = new AnimTestTarget("gone");
    CAnimator* staleTarget = new CAnimator("stale");
    staleTarget->SetTarget(gone, AA_TRANSLATION_X, data);
    delete gone;

    CAnimationSet set("set");
    set.AddAnimator(noTarget); // no data: the length stays unset
    set.AddAnimator(noData);
    EXPECT_EQ(set.GetLength(), CAnimationSet::LENGTH_UNSET);
    set.AddAnimator(noChannel);
    EXPECT_EQ(set.GetLength(), 4.0f);
    set.AddAnimator(staleTarget);
    set.AddAnimator(nullptr);

    for (int type : {AWT_OVER_WRITE, AWT_BLEND}) {
        BeginBlendPass();
        EXPECT_EQ(set.Apply(1.0f, 1.0f, type), 4);
        EndBlendPass();
    }
    EXPECT_EQ(keep.Value(AA_TRANSLATION_X), 0.0f);
    EXPECT_EQ(keep.touches, 0);

    // A deleted animator in the set is skipped.
    delete noChannel;
    EXPECT_EQ(set.Apply(1.0f, 1.0f, AWT_OVER_WRITE), 4);
}

// Set lengths and times that cannot wrap must not divide by zero or hang.
TEST(AnimationSetTest, HostileLengthsAndTimesPlayWhatTheyMust) {
    AnimRegistry r;
    AnimTestTarget target("node");
    Track track(target, AA_TRANSLATION_X, "t", 1.0f, 2.0f, 2.0f); // value = 1 + time, the line extended
    // Only a positive, finite length wraps a finite time into [0, length);
    // any other length plays the time as it is, and infinities and NaN pass
    // through the curve.
    struct Case {
        float length, time, played;
    };
    const float lengths[] = {0.0f, -5.0f, CAnimationSet::LENGTH_UNSET, INF, NOT_A_NUMBER};
    std::vector<Case> cases = {
        {2.0f, 0.0f, 1.0f},
        {2.0f, -1.0f, 2.0f},
        {2.0f, 1e30f, 1.0f},
        {2.0f, -1e30f, 1.0f},
        {2.0f, INF, INF},
        {2.0f, -INF, -INF},
        {2.0f, NOT_A_NUMBER, NOT_A_NUMBER},
    };
    for (float length : lengths)
        for (float time : {0.0f, -1.0f, 1e30f, -1e30f, INF, -INF, NOT_A_NUMBER})
            cases.push_back({length, time, 1.0f + time});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length << ", time " << c.time);
        track.set->SetLength(c.length);
        auto expect = [&](float got, float want) {
            if (std::isnan(want))
                EXPECT_TRUE(std::isnan(got)) << got;
            else
                EXPECT_EQ(got, want);
        };
        target.SetValue(AA_TRANSLATION_X, -7.0f);
        EXPECT_EQ(track.set->Apply(c.time, 1.0f, AWT_OVER_WRITE), 1);
        expect(target.Value(AA_TRANSLATION_X), c.played);

        // Blended alone with half weight, the pass normalises back to the sample.
        target.SetValue(AA_TRANSLATION_X, -7.0f);
        BeginBlendPass();
        track.set->Apply(c.time, 0.5f, AWT_BLEND);
        EndBlendPass();
        expect(target.Value(AA_TRANSLATION_X), c.played);

        // A NaN weight makes the accumulated weight NaN, and the normalised value with it.
        BeginBlendPass();
        track.set->Apply(c.time, 0.5f, AWT_BLEND);
        track.set->Apply(c.time, NOT_A_NUMBER, AWT_BLEND);
        EndBlendPass();
        EXPECT_TRUE(std::isnan(target.Value(AA_TRANSLATION_X)));
    }
    track.set->SetLength(2.0f);
    track.set->Apply(-1.0f, 1.0f, AWT_OVER_WRITE);
    EXPECT_FLOAT_EQ(target.Value(AA_TRANSLATION_X), 2.0f);
}

TEST(AnimationSetTest, InstantiateRebindsToScopedTargets) {
    AnimRegistry r;
    AnimTestTarget plain("arm");
    AnimTestTarget scoped("arm::the");
    AnimTestTarget texture("skin", RT_TEXTURE);
    CKeyframeData* data = new CKeyframeData("wave");
    data->AppendKey(10.0f, 10.0f, 0.0f);
    CAnimationSet* set = new CAnimationSet("waveSet");
    for (auto [target, attribute] : {std::pair<AnimTestTarget*, int>{&plain, AA_ROTATION_Z},
                                     {&texture, AA_TRANSLATION_U},
                                     {&plain, AA_TRANSLATION_Y}}) {
        CAnimator* animator = new CAnimator("anim");
        animator->SetTarget(target, attribute, data);
        set->AddAnimator(animator);
    }
    CAnimator* missing = new CAnimator("lost");
    AnimTestTarget onlyPlain("leg");
    missing->SetTarget(&onlyPlain, AA_TRANSLATION_X, data);
    set->AddAnimator(missing);

    CAnimationSet* instance = set->Instantiate("::the");
    EXPECT_EQ(instance->GetName(), "waveSet::the");
    EXPECT_EQ(instance->GetLength(), 10.0f);
    EXPECT_EQ(CurrentResourceManager->Find("anim::the", RT_ANIMATOR) != nullptr, true);

    instance->Apply(4.0f, 1.0f, AWT_OVER_WRITE);
    EXPECT_FLOAT_EQ(scoped.Value(AA_ROTATION_Z), 4.0f);
    EXPECT_FLOAT_EQ(scoped.Value(AA_TRANSLATION_Y), 4.0f);
    EXPECT_FLOAT_EQ(texture.Value(AA_TRANSLATION_U), 4.0f); // textures keep their plain name
    EXPECT_EQ(plain.Value(AA_ROTATION_Z), 0.0f);
    EXPECT_EQ(onlyPlain.Value(AA_TRANSLATION_X), 0.0f); // "leg::the" does not exist

    auto bindings = instance->GetChannelBindings(&scoped);
    for (int a = 0; a < ANIM_ATTRIBUTE_COUNT; ++a) {
        bool bound = a == AA_ROTATION_Z || a == AA_TRANSLATION_Y;
        EXPECT_EQ(bindings[a], bound ? data->GetDataHandle() : NULL_HANDLE) << a;
    }
    EXPECT_EQ(set->GetChannelBindings(&scoped)[AA_ROTATION_Z], NULL_HANDLE);
    EXPECT_EQ(set->GetChannelBindings(nullptr)[AA_ROTATION_Z], NULL_HANDLE);
}
