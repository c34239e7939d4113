#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "engine/anim/AnimAttribute.h"
#include "engine/core/FrameStamp.h"
#include "engine/scene/Bone.h"
#include "engine/scene/ParentSwap.h"
#include "tests/engine/scene/SceneTestNodes.h"

namespace {

void ExpectMatrixNear(const CMatrix& a, const CMatrix& b, float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a(r, c), b(r, c), tolerance) << "(" << r << "," << c << ")";
}

CMatrix Compose(float sx, float sy, float sz, float rx, float ry, float rz, float tx, float ty, float tz) {
    CMatrix s, x, y, z, t, out;
    D3DXMatrixScaling(&s, sx, sy, sz);
    D3DXMatrixRotationX(&x, rx);
    D3DXMatrixRotationY(&y, ry);
    D3DXMatrixRotationZ(&z, rz);
    D3DXMatrixTranslation(&t, tx, ty, tz);
    D3DXMatrixMultiply(&out, &s, &x);
    D3DXMatrixMultiply(&out, &out, &y);
    D3DXMatrixMultiply(&out, &out, &z);
    D3DXMatrixMultiply(&out, &out, &t);
    return out;
}

} // namespace

TEST(TransformTest, LocalMatrixIsScaleThenRotationsXYZThenTranslation) {
    SceneRegistry r;
    CTransform t("t");
    t.SetRotation(0.0f, 1.5707964f, 0.0f);
    Vec3 p(1.0f, 0.0f, 0.0f);
    p.TransformCoord(t.GetLocalMatrix());
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.z, -1.0f, 1e-6f);

    AdvanceFrameStamp();
    t.SetScale(2.0f, 0.5f, 3.0f);
    t.SetRotation(0.3f, -1.1f, 2.4f);
    t.SetTranslation(5.0f, -6.0f, 7.0f);
    ExpectMatrixNear(t.GetLocalMatrix(), Compose(2.0f, 0.5f, 3.0f, 0.3f, -1.1f, 2.4f, 5.0f, -6.0f, 7.0f));
}

TEST(TransformTest, ChannelsAndStartValues) {
    SceneRegistry r;
    CTransform t("t");
    for (int a = 0; a < ANIM_ATTRIBUTE_COUNT; ++a) {
        bool has = a <= AA_SCALE_Z || a == AA_VISIBLE;
        EXPECT_EQ(!t.GetChannel(a).IsNull(), has) << a;
    }
    EXPECT_TRUE(t.GetChannel(-1).IsNull());
    EXPECT_EQ(ChannelHandles().Resolve(t.GetChannel(AA_SCALE_Y))->m_value, 1.0f);
    EXPECT_EQ(ChannelHandles().Resolve(t.GetChannel(AA_VISIBLE))->m_value, 1.0f);
    EXPECT_EQ(ChannelHandles().Resolve(t.GetChannel(AA_ROTATION_X))->m_value, 0.0f);
    EXPECT_EQ(CChannel::GetNotifier(t.GetChannel(AA_TRANSLATION_Z)), static_cast<CChangeStamp*>(&t));
}

TEST(TransformTest, FirstMatrixRequestBuildsFromChannels) {
    SceneRegistry r;
    CTransform t("fresh");
    // A write that touches nothing: only the starting stamps make it show.
    ChannelHandles().Resolve(t.GetChannel(AA_TRANSLATION_X))->m_value = 5.0f;
    EXPECT_EQ(t.GetLocalMatrix()(3, 0), 5.0f);
    EXPECT_EQ(t.GetWorldMatrix()(3, 0), 5.0f);
}

TEST(TransformTest, SetLocalMatrixHoldsUntilALaterFrameWrite) {
    SceneRegistry r;
    CTransform t("t");
    CMatrix set;
    set.SetTranslation(1.0f, 2.0f, 3.0f);
    t.SetLocalMatrix(set);
    t.SetChannelValue(CTransform::TC_TRANSLATION_X, 9.0f);
    EXPECT_EQ(t.GetLocalMatrix()(3, 0), 1.0f);

    AdvanceFrameStamp();
    EXPECT_EQ(t.GetLocalMatrix()(3, 0), 1.0f);
    t.SetVisible(0.0f); // hiding keeps the set matrix
    EXPECT_EQ(t.GetLocalMatrix()(3, 0), 1.0f);
    t.SetChannelValue(CTransform::TC_TRANSLATION_Y, 4.0f);
    EXPECT_EQ(t.GetLocalMatrix()(3, 0), 9.0f);
    EXPECT_EQ(t.GetLocalMatrix()(3, 1), 4.0f);
}

TEST(TransformTest, WorldMatrixIsCachedOncePerFrame) {
    SceneRegistry r;
    CTransform parent("parent");
    CTransform child("child");
    parent.AddChild(&child);
    parent.SetTranslation(10.0f, 0.0f, 0.0f);
    parent.SetScale(2.0f, 2.0f, 2.0f);
    child.SetTranslation(1.0f, 0.0f, 0.0f);

    int before = WorldMatrixComputations;
    EXPECT_FLOAT_EQ(child.GetWorldMatrix()(3, 0), 12.0f); // local first, then the parent
    EXPECT_EQ(WorldMatrixComputations - before, 1);       // the parent has no parent: not cached
    EXPECT_FLOAT_EQ(child.GetWorldMatrix()(3, 0), 12.0f);
    EXPECT_EQ(WorldMatrixComputations - before, 1);

    // A write after the matrices were read in this frame shows in the next,
    // even when nothing is written then.
    parent.SetTranslation(20.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(child.GetWorldMatrix()(3, 0), 12.0f);
    AdvanceFrameStamp();
    EXPECT_FLOAT_EQ(child.GetWorldMatrix()(3, 0), 22.0f);
    EXPECT_EQ(WorldMatrixComputations - before, 2);
    AdvanceFrameStamp();
    child.SetTranslation(2.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(child.GetWorldMatrix()(3, 0), 24.0f);
    child.SetTranslation(3.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(child.GetLocalMatrix()(3, 0), 3.0f);
    AdvanceFrameStamp();
    EXPECT_FLOAT_EQ(child.GetWorldMatrix()(3, 0), 26.0f);
}

TEST(TransformTest, DefaultParentAndRoot) {
    SceneRegistry r;
    CTransform* root = CreateRootTransform();
    EXPECT_EQ(root->GetName(), "rootTrans");
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(GetDefaultParent(), root);
    EXPECT_EQ(CreateRootTransform(), root);

    CTransform a("a");
    EXPECT_EQ(a.GetParent(), root);
    {
        CTransform group("group");
        SetDefaultParent(&group);
        CTransform b("b");
        EXPECT_EQ(b.GetParent(), &group);
    }
    EXPECT_EQ(GetDefaultParent(), nullptr); // the group has gone
    CTransform c("c");
    EXPECT_EQ(c.GetParent(), nullptr);
}

TEST(TransformTest, ReparentingMovesAndRefusesCycles) {
    SceneRegistry r;
    CTransform a("a"), b("b"), c("c"), other("other");
    ASSERT_TRUE(a.AddChild(&b));
    ASSERT_TRUE(b.AddChild(&c));
    ASSERT_TRUE(other.AddChild(&c)); // moves
    EXPECT_TRUE(b.GetChildren().empty());
    EXPECT_EQ(other.GetChildren(), std::vector<CHandle>{c.GetNodeHandle()});
    EXPECT_EQ(c.GetParent(), &other);
    ASSERT_TRUE(b.AddChild(&c));

    EXPECT_FALSE(c.AddChild(&a)); // a is c's grandparent
    EXPECT_FALSE(c.AddChild(&b));
    EXPECT_FALSE(a.AddChild(&a));
    EXPECT_FALSE(c.SetParent(&c));
    EXPECT_FALSE(a.AddChild(nullptr));
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_EQ(c.GetParent(), &b);
    EXPECT_EQ(b.GetChildren().size(), 1u);

    // Re-adding a current child leaves one entry.
    EXPECT_TRUE(b.AddChild(&c));
    EXPECT_EQ(b.GetChildren().size(), 1u);
    std::ostringstream out;
    a.Print(out, 0); // finishes: no cycle
    EXPECT_EQ(out.str(), "a[RT_TRANSFORM]\n  b[RT_TRANSFORM]\n    c[RT_TRANSFORM]\n");
}

TEST(TransformTest, DestroyingDetachesBothWays) {
    SceneRegistry r;
    CTransform parent("parent");
    auto* middle = new CTransform("middle");
    CTransform child("child");
    auto* leaf = new ProbeShape("leaf");
    parent.AddChild(middle);
    middle->AddChild(&child);
    parent.AddChild(leaf);
    delete leaf;
    EXPECT_EQ(parent.GetChildren(), std::vector<CHandle>{middle->GetNodeHandle()});
    delete middle;
    EXPECT_TRUE(parent.GetChildren().empty());
    EXPECT_EQ(child.GetParent(), nullptr);
    EXPECT_EQ(child.GetWorldMatrix()(3, 3), 1.0f);
}

TEST(TransformTest, VisibilityZeroHidesSubtree) {
    SceneRegistry r;
    std::vector<std::string> log;
    CTransform top("top"), hidden("hidden"), half("half");
    ProbeShape a("a", &log), b("b", &log), c("c", &log);
    top.AddChild(&a);
    top.AddChild(&hidden);
    hidden.AddChild(&b);
    top.AddChild(&half);
    half.AddChild(&c);
    hidden.SetVisible(0.0f);
    half.SetVisible(0.5f);
    top.RenderTree();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));

    struct Hook : CRenderHook {
        void OnPreRender(CNode& node) override { log->push_back("hook " + node.GetName()); }
        std::vector<std::string>* log;
    } hook;
    hook.log = &log;
    log.clear();
    c.SetRenderHook(&hook);
    half.RenderTree();
    EXPECT_EQ(log, (std::vector<std::string>{"hook c", "c"}));
}

TEST(TransformTest, ScopedCloneOfThreeLevels) {
    SceneRegistry r;
    CTransform holder("holder");
    CTransform top("top");
    holder.AddChild(&top);
    auto* hip = new CBone("hip");
    auto* knee = new CBone("knee");
    auto* foot = new ProbeShape("foot");
    top.AddChild(hip);
    hip->AddChild(knee);
    knee->AddChild(foot);
    CMatrix offset;
    offset.SetTranslation(0.0f, -3.0f, 0.0f);
    knee->SetOffsetMatrix(offset);
    knee->SetTranslation(0.0f, -5.0f, 0.0f);
    knee->SetVisible(0.0f);
    top.SetTranslation(1.0f, 2.0f, 3.0f);
    (void)top.GetWorldMatrix();
    SetDefaultParent(&top); // clones must not attach here

    CTransform* clone = top.Clone("::the");
    std::vector<std::string> names;
    CollectNames(clone, names);
    EXPECT_EQ(names, (std::vector<std::string>{"top::the", "  hip::the", "    knee::the", "      foot::the"}));
    std::vector<std::string> sourceNames;
    CollectNames(&top, sourceNames);
    EXPECT_EQ(sourceNames, (std::vector<std::string>{"top", "  hip", "    knee", "      foot"}));

    // The top clone starts under the source's parent.
    EXPECT_EQ(clone->GetParent(), &holder);
    EXPECT_EQ(holder.GetChildren().size(), 2u);

    auto* kneeClone = dynamic_cast<CBone*>(CurrentResourceManager->Find("knee::the", RT_BONE));
    ASSERT_NE(kneeClone, nullptr);
    EXPECT_NE(kneeClone->GetBoneHandle(), knee->GetBoneHandle());
    EXPECT_EQ(BoneHandles().Resolve(kneeClone->GetBoneHandle()), kneeClone);
    EXPECT_EQ(kneeClone->GetOffsetMatrix()(3, 1), -3.0f);
    EXPECT_EQ(kneeClone->GetChannelValue(CTransform::TC_TRANSLATION_Y), -5.0f);
    EXPECT_EQ(kneeClone->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);

    // Moved elsewhere in the same frame, the clone computes its own world matrix.
    SetDefaultParent(nullptr);
    CTransform elsewhere("elsewhere");
    elsewhere.SetTranslation(100.0f, 0.0f, 0.0f);
    elsewhere.AddChild(clone);
    EXPECT_FLOAT_EQ(clone->GetWorldMatrix()(3, 0), 101.0f);
    EXPECT_FLOAT_EQ(kneeClone->GetWorldMatrix()(3, 1), -3.0f);
}

TEST(TransformTest, ParentSwapRestoresOrFallsBackToRoot) {
    SceneRegistry r;
    CTransform* root = CreateRootTransform();
    SetDefaultParent(nullptr);
    auto* home = new CTransform("home");
    CTransform stage("stage");
    CTransform item("item");
    home->AddChild(&item);

    CParentSwap swap(&item, &stage);
    EXPECT_EQ(item.GetParent(), &stage);
    swap.Restore();
    EXPECT_EQ(item.GetParent(), home);
    EXPECT_TRUE(stage.GetChildren().empty());

    CParentSwap again(&item, &stage);
    delete home;
    again.Restore();
    EXPECT_EQ(item.GetParent(), root);
}

TEST(TransformTest, LightSetReachesEveryShape) {
    SceneRegistry r;
    CTransform top("top");
    auto* bone = new CBone("bone");
    ProbeShape near("near"), deep("deep");
    top.AddChild(&near);
    top.AddChild(bone);
    bone->AddChild(&deep);
    CHandle set = {7, 9};
    top.SetLightSetTree(set);
    EXPECT_EQ(near.lightSet, set);
    EXPECT_EQ(deep.lightSet, set);
}

TEST(TransformTest, BoundingSphereScalesByRowLengthsAndKeepsSentinels) {
    SceneRegistry r;
    CTransform t("t");
    t.SetScale(2.0f, 1.0f, 1.0f);
    t.SetRotation(0.0f, 0.0f, 0.7853982f); // column lengths are 1.58, row lengths 2, 1, 1
    t.SetTranslation(10.0f, 0.0f, 0.0f);
    ProbeShape shape("s");
    t.AddChild(&shape);
    Vec3 c;
    float radius = 0.0f;
    t.ComputeBoundingSphere(c, radius);
    EXPECT_NEAR(radius, 2.0f, 1e-5f);
    EXPECT_NEAR(c.x, 10.0f, 1e-5f);

    shape.radius = -2.0f; // empty: ignored, not scaled into something else
    t.ComputeBoundingSphere(c, radius);
    EXPECT_EQ(radius, -2.0f);

    ProbeShape other("o");
    other.radius = 1.0f;
    t.AddChild(&other);
    shape.radius = -1.0f; // unbounded wins over everything
    t.ComputeBoundingSphere(c, radius);
    EXPECT_EQ(radius, -1.0f);
    EXPECT_EQ(c.x, 0.0f);
}

TEST(TransformTest, BoundingSphereMergesBoxesOfChildren) {
    SceneRegistry r;
    CTransform top("top");
    CTransform empty("empty");
    Vec3 c;
    float radius = 0.0f;
    top.ComputeBoundingSphere(c, radius);
    EXPECT_EQ(radius, -2.0f);

    ProbeShape a("a");
    a.centre = Vec3(-1.0f, 0.0f, 0.0f);
    a.radius = 1.0f;
    CTransform sub("sub");
    ProbeShape b("b");
    b.centre = Vec3(3.0f, 0.0f, 0.0f);
    b.radius = 1.0f;
    sub.AddChild(&b);
    top.AddChild(&a);
    top.AddChild(&empty);
    top.AddChild(&sub);
    top.ComputeBoundingSphere(c, radius);
    EXPECT_FLOAT_EQ(c.x, 1.0f); // box -2..4 on x
    EXPECT_FLOAT_EQ(radius, 3.0f);
}

TEST(TransformTest, BoundingSphereOfDeeperShapeIsInTheSameSpace) {
    SceneRegistry r;
    // The same shape straight under a moved, scaled parent and one identity
    // transform lower must give the same sphere in the parent's parent space.
    CTransform direct("direct"), nested("nested"), identity("identity");
    for (CTransform* t : {&direct, &nested}) {
        t->SetTranslation(5.0f, -2.0f, 1.0f);
        t->SetScale(2.0f, 2.0f, 2.0f);
    }
    ProbeShape near("near"), far("far");
    near.centre = far.centre = Vec3(1.0f, 0.0f, 0.0f);
    near.radius = far.radius = 0.5f;
    direct.AddChild(&near);
    nested.AddChild(&identity);
    identity.AddChild(&far);

    Vec3 a, b;
    float ra = 0.0f, rb = 0.0f;
    direct.ComputeBoundingSphere(a, ra);
    nested.ComputeBoundingSphere(b, rb);
    EXPECT_NEAR(a.x, 7.0f, 1e-5f);
    EXPECT_NEAR(a.y, -2.0f, 1e-5f);
    EXPECT_NEAR(a.z, 1.0f, 1e-5f);
    EXPECT_NEAR(ra, 1.0f, 1e-5f);
    EXPECT_NEAR(b.x, a.x, 1e-5f);
    EXPECT_NEAR(b.y, a.y, 1e-5f);
    EXPECT_NEAR(b.z, a.z, 1e-5f);
    EXPECT_NEAR(rb, ra, 1e-5f);

    // Moving the inner transform moves the sphere by that much, times the
    // outer scale.
    identity.SetTranslation(0.0f, 1.0f, 0.0f);
    nested.ComputeBoundingSphere(b, rb);
    EXPECT_NEAR(b.y, 0.0f, 1e-5f);
    EXPECT_NEAR(b.x, 7.0f, 1e-5f);
}
