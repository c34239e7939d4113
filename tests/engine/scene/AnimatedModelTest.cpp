#include <gtest/gtest.h>

#include <cmath>

#include "engine/anim/AnimationSet.h"
#include "engine/anim/Animator.h"
#include "engine/anim/BlendPass.h"
#include "engine/anim/KeyframeData.h"
#include "engine/core/FrameStamp.h"
#include "engine/scene/Bone.h"
#include "engine/scene/ModelInstanceNode.h"
#include "tests/engine/scene/SceneTestNodes.h"

namespace {

// A set named name that drives one attribute of one node with a constant.
CAnimationSet* ConstantSet(const char* name, CResource* target, int attribute, float value) {
    auto* data = new CKeyframeData(name);
    data->AppendKey(30.0f, 0.0f, value);
    auto* animator = new CAnimator(name);
    animator->SetTarget(target, attribute, data);
    auto* set = new CAnimationSet(name);
    set->AddAnimator(animator);
    return set;
}

} // namespace

// A three-level bone chain instantiated under "::the" and driven by two
// blended sets: the instance moves, the loaded model does not.
TEST(AnimatedModelTest, InstanceBlendsTwoSetsIntoWorldMatrices) {
    SceneRegistry r;
    CTransform* root = CreateRootTransform();
    auto* top = new CTransform("figure");
    auto* hip = new CBone("hip");
    auto* knee = new CBone("knee");
    auto* ankle = new CBone("ankle");
    top->AddChild(hip);
    hip->AddChild(knee);
    knee->AddChild(ankle);
    knee->SetTranslation(0.0f, -4.0f, 0.0f);
    ankle->SetTranslation(0.0f, -3.0f, 0.0f);

    CAnimationSet* walk = ConstantSet("walk", hip, AA_ROTATION_Z, 1.5707964f);
    CAnimationSet* stand = ConstantSet("stand", hip, AA_ROTATION_Z, 0.0f);
    CAnimationSet* lift = ConstantSet("lift", knee, AA_TRANSLATION_X, 2.0f);
    CAnimator* extra = new CAnimator("liftHip");
    extra->SetTarget(hip, AA_TRANSLATION_Y,
                     AnimationDataHandles().Resolve(AnimatorHandles().Resolve(lift->GetAnimators()[0])->GetData()));
    lift->AddAnimator(extra);

    CModelInstanceNode figure("figure", "figure", RT_TRANSFORM, "::the");
    EXPECT_EQ(figure.GetRoot()->GetParent(), root);
    CAnimationSet* walkThe = walk->Instantiate("::the");
    CAnimationSet* standThe = stand->Instantiate("::the");
    CAnimationSet* liftThe = lift->Instantiate("::the");
    auto* ankleThe = dynamic_cast<CBone*>(CurrentResourceManager->Find("ankle::the", RT_BONE));
    ASSERT_NE(ankleThe, nullptr);

    AdvanceFrameStamp();
    BeginBlendPass();
    walkThe->Apply(5.0f, 0.5f, AWT_BLEND);
    standThe->Apply(5.0f, 0.5f, AWT_BLEND);
    liftThe->Apply(5.0f, 1.0f, AWT_OVER_WRITE);
    EndBlendPass();

    // Hip turned by pi/4 (the blend), lifted by 2; knee moved out by 2.
    // The ankle sits at (2, -7) in the hip's frame.
    const CMatrix& world = ankleThe->GetWorldMatrix();
    float angle = 0.7853982f;
    // (px, py) x RotationZ(a) = (px cos a - py sin a, px sin a + py cos a).
    float x = 2.0f * std::cos(angle) + 7.0f * std::sin(angle);
    float y = 2.0f * std::sin(angle) - 7.0f * std::cos(angle) + 2.0f;
    EXPECT_NEAR(world(3, 0), x, 1e-4f);
    EXPECT_NEAR(world(3, 1), y, 1e-4f);

    // The loaded model is untouched.
    EXPECT_FLOAT_EQ(ankle->GetWorldMatrix()(3, 1), -7.0f);
    EXPECT_EQ(hip->GetChannelValue(CTransform::TC_ROTATION_Z), 0.0f);
}
