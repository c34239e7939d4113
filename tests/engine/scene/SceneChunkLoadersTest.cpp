#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/anim/AnimChunkLoaders.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/anim/AnimationSet.h"
#include "engine/anim/Animator.h"
#include "engine/anim/BlendPass.h"
#include "engine/anim/KeyframeData.h"
#include "engine/chunk/ChunkRecords.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/core/FrameStamp.h"
#include "engine/scene/Bone.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "tests/engine/scene/SceneTestNodes.h"

namespace {

// Builds chunk streams field by field, as the files store them.
struct StreamBuilder {
    std::vector<uint8_t> bytes;
    size_t open = 0;

    void L(int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t((uint32_t)v >> (8 * i)));
    }
    void F(float v) {
        int32_t bits;
        std::memcpy(&bits, &v, 4);
        L(bits);
    }
    void S(const std::string& s) {
        size_t stored = (s.size() / 4) * 4 + 4;
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.insert(bytes.end(), stored - s.size(), 0);
    }
    void Begin(int type) {
        open = bytes.size();
        L(type);
        L(0);
    }
    void End() {
        uint32_t size = uint32_t(bytes.size() - open);
        for (int i = 0; i < 4; ++i)
            bytes[open + 4 + i] = uint8_t(size >> (8 * i));
    }
    void TransformFields(const std::string& name, int visible, float tx, float ty, float tz, float ry = 0.0f) {
        S(name);
        L(visible);
        F(tx), F(ty), F(tz);
        F(0.0f), F(ry), F(0.0f);
        F(1.0f), F(1.0f), F(1.0f);
    }
    void Transform(const std::string& name, float tx, float ty, float tz) {
        Begin(RT_TRANSFORM);
        TransformFields(name, 1, tx, ty, tz);
        End();
    }
    void Bone(const std::string& name, float ty, float offsetY) {
        Begin(RT_BONE);
        TransformFields(name, 1, 0.0f, ty, 0.0f);
        // Column by column: x axis, y axis, z axis; row 3 holds the translation.
        const float columns[3][4] = {{1, 0, 0, 0}, {0, 1, 0, offsetY}, {0, 0, 1, 0}};
        for (const auto& column : columns)
            for (float v : column)
                F(v);
        End();
    }
    struct Tree {
        std::string name;
        int kind;
        std::vector<Tree> children;
    };
    void TreeFields(const Tree& tree) {
        S(tree.name);
        L(tree.kind);
        L((int32_t)tree.children.size());
        for (const Tree& child : tree.children)
            TreeFields(child);
    }
    void Hierarchy(const Tree& tree) {
        Begin(RT_HIERARCHY);
        TreeFields(tree);
        End();
    }
    void Data(const std::string& name, std::vector<std::array<float, 3>> keys, int interpolation = 0) {
        Begin(RT_ANIMATION_DATA);
        S(name);
        L(interpolation);
        L((int32_t)keys.size());
        for (const auto& k : keys)
            F(k[0]), F(k[1]), F(k[2]);
        End();
    }
    void Animator(const std::string& name, const std::string& data, const std::string& target, int kind,
                  int attribute) {
        Begin(RT_ANIMATOR);
        S(name), S(data), S(target);
        L(kind), L(attribute);
        End();
    }
    void Set(const std::string& name, const std::vector<std::string>& animators) {
        Begin(RT_ANIMATION_SET);
        S(name);
        L((int32_t)animators.size());
        for (const std::string& a : animators)
            S(a);
        End();
    }
};

int g_missing = 0;
void CountMissing(void*) { ++g_missing; }

struct SceneChunkLoadersTest : ::testing::Test {
    void SetUp() override {
        RegisterSceneChunkHandlers();
        RegisterAnimChunkHandlers();
        SetMissingResourceHandler(CountMissing);
        g_missing = 0;
    }
    void TearDown() override { SetMissingResourceHandler(nullptr); }
    ChunkWalkResult Load(const StreamBuilder& s) {
        return LoadChunkStream(&registry.registry, s.bytes.data(), s.bytes.size(), CHUNK_MASK_ALL);
    }
    template <class T>
    T* Find(const char* name, int kind) {
        return dynamic_cast<T*>(registry.registry.Find(name, kind));
    }
    SceneRegistry registry;
};

// The model: "figure" > "hip" > "knee" > "ankle" (bones), the ankle 7 below the hip.
StreamBuilder FigureModel() {
    StreamBuilder s;
    s.Transform("figure", 0.0f, 10.0f, 0.0f);
    s.Bone("hip", 0.0f, 0.0f);
    s.Bone("knee", -4.0f, 4.0f);
    s.Bone("ankle", -3.0f, 7.0f);
    s.Hierarchy({"figure", RT_TRANSFORM, {{"hip", RT_BONE, {{"knee", RT_BONE, {{"ankle", RT_BONE, {}}}}}}}});
    return s;
}

// Two sets on the hip: "kick" swings it out along x, "rest" holds it still.
StreamBuilder FigureAnimation() {
    StreamBuilder s;
    s.Data("kickX", {{10.0f, 6.0f, 0.0f}, {10.0f, -6.0f, 6.0f}});
    s.Data("still", {{20.0f, 0.0f, 0.0f}});
    s.Data("bend", {{20.0f, 0.0f, 0.5f}});
    s.Animator("kickHipX", "kickX", "hip", RT_BONE, AA_TRANSLATION_X);
    s.Animator("restHipX", "still", "hip", RT_BONE, AA_TRANSLATION_X);
    s.Animator("restKneeRot", "bend", "knee", RT_BONE, AA_ROTATION_Z);
    s.Set("kick", {"kickHipX"});
    s.Set("rest", {"restHipX", "restKneeRot"});
    return s;
}

// Writes the model and the animation as the two entries of one scrambled
// archive in a private data folder.
struct FigureArchive {
    static constexpr uint32_t KEY = 0x5A3C9617u;
    FigureArchive() : saved(GetDataFolder()) {
        folder = std::filesystem::temp_directory_path() / "deskmate-scene-figure";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "model");
        std::vector<uint8_t> bytes = FigureModel().bytes;
        std::vector<uint8_t> anim = FigureAnimation().bytes;
        rows[0] = {0, (uint32_t)bytes.size(), "FIGURE"};
        rows[1] = {(uint32_t)bytes.size(), (uint32_t)anim.size(), "FIGUREKICK"};
        rows[2] = {0, 0, nullptr};
        bytes.insert(bytes.end(), anim.begin(), anim.end());
        DescrambleArchive(bytes.data(), bytes.size(), KEY);
        FILE* f = std::fopen((folder / "model/figure.bin").string().c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        SetDataFolder(folder.string());
    }
    ~FigureArchive() {
        SetDataFolder(saved);
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    std::string saved;
    std::filesystem::path folder;
    ArchiveEntryRow rows[3];
};

} // namespace

TEST_F(SceneChunkLoadersTest, ModelAndAnimationLoadInstantiateAndBlend) {
    CTransform* root = CreateRootTransform();
    FigureArchive files;
    CDataArchive archive({"model/figure.bin", FigureArchive::KEY, files.rows});
    ASSERT_EQ(archive.GetEntryCount(), 2u);
    ChunkWalkResult model = LoadModelFromArchive(&registry.registry, &archive, "model/vesko/figure.hgm");
    EXPECT_EQ(model.accepted, 5);
    EXPECT_TRUE(model.complete);
    ChunkWalkResult anim = LoadModelFromArchive(&registry.registry, &archive, "animation/figureKick.hga");
    EXPECT_EQ(anim.accepted, 8);
    EXPECT_EQ(g_missing, 0);

    auto* figure = Find<CTransform>("figure", RT_TRANSFORM);
    auto* knee = Find<CBone>("knee", RT_BONE);
    ASSERT_NE(figure, nullptr);
    ASSERT_NE(knee, nullptr);
    EXPECT_EQ(figure->GetParent(), root);
    EXPECT_EQ(knee->GetOffsetMatrix()(3, 1), 4.0f);
    EXPECT_EQ(knee->GetOffsetMatrix()(1, 1), 1.0f);
    EXPECT_EQ(knee->GetOffsetMatrix()(0, 3), 0.0f);
    EXPECT_EQ(knee->GetChannelValue(CTransform::TC_TRANSLATION_Y), -4.0f);
    std::vector<std::string> names;
    CollectNames(figure, names);
    EXPECT_EQ(names, (std::vector<std::string>{"figure", "  hip", "    knee", "      ankle"}));

    auto* kick = Find<CAnimationSet>("kick", RT_ANIMATION_SET);
    auto* rest = Find<CAnimationSet>("rest", RT_ANIMATION_SET);
    ASSERT_NE(kick, nullptr);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(kick->GetLength(), 20.0f);

    CModelInstanceNode instance("figure", "figure", RT_TRANSFORM, "::the");
    CurrentResourceManager = &registry.registry;
    CAnimationSet* kickThe = kick->Instantiate("::the");
    CAnimationSet* restThe = rest->Instantiate("::the");
    auto* ankleThe = Find<CBone>("ankle::the", RT_BONE);
    ASSERT_NE(ankleThe, nullptr);
    instance.GetRoot()->SetTranslation(100.0f, 0.0f, 0.0f);

    // At time 25 (wrapped to 5) "kick" gives x = 3; blended 0.25 / 0.75 with
    // "rest" the hip is at x = 0.75; the knee turns by 0.5 alone (weight 0.75,
    // divided out).
    AdvanceFrameStamp();
    BeginBlendPass();
    kickThe->Apply(25.0f, 0.25f, AWT_BLEND);
    restThe->Apply(25.0f, 0.75f, AWT_BLEND);
    EndBlendPass();

    // Ankle: 3 below the knee, turned with it by 0.5 about z.
    const CMatrix& world = ankleThe->GetWorldMatrix();
    EXPECT_NEAR(world(3, 0), 100.0f + 0.75f + 3.0f * std::sin(0.5f), 1e-4f);
    EXPECT_NEAR(world(3, 1), 10.0f - 4.0f - 3.0f * std::cos(0.5f), 1e-4f);
    // The loaded model stays where it was.
    EXPECT_NEAR(Find<CBone>("ankle", RT_BONE)->GetWorldMatrix()(3, 1), 3.0f, 1e-5f);
}

TEST_F(SceneChunkLoadersTest, MissingNamesAreReportedAndLeftOut) {
    SetDefaultParent(nullptr);
    StreamBuilder s;
    s.Transform("top", 0.0f, 0.0f, 0.0f);
    s.Transform("child", 0.0f, 0.0f, 0.0f);
    s.Transform("grandchild", 0.0f, 0.0f, 0.0f);
    // "ghost" is not loaded: its child is not attached under it, the
    // grandchild still goes under its own parent.
    s.Hierarchy({"top",
                 RT_TRANSFORM,
                 {{"ghost", RT_TRANSFORM, {{"child", RT_TRANSFORM, {{"grandchild", RT_TRANSFORM, {}}}}}}}});
    s.Data("curve", {{5.0f, 1.0f, 0.0f}});
    s.Data("cubic", {{5.0f, 1.0f, 0.0f}}, 1);
    s.Animator("noTarget", "curve", "nobody", RT_TRANSFORM, AA_TRANSLATION_X);
    s.Animator("noData", "cubic", "top", RT_TRANSFORM, AA_TRANSLATION_X);
    s.Set("set", {"missingAnimator", "noTarget", "noData"});
    ChunkWalkResult result = Load(s);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(g_missing, 4); // ghost, nobody, cubic, missingAnimator

    auto* top = Find<CTransform>("top", RT_TRANSFORM);
    auto* child = Find<CTransform>("child", RT_TRANSFORM);
    auto* grandchild = Find<CTransform>("grandchild", RT_TRANSFORM);
    EXPECT_TRUE(top->GetChildren().empty());
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(grandchild->GetParent(), child);
    EXPECT_EQ(registry.registry.Find("cubic", RT_ANIMATION_DATA), nullptr);

    auto* set = Find<CAnimationSet>("set", RT_ANIMATION_SET);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetAnimators().size(), 2u);
    EXPECT_EQ(set->GetLength(), CAnimationSet::LENGTH_UNSET); // no member has data
    EXPECT_EQ(set->Apply(1.0f, 1.0f, AWT_OVER_WRITE), 2);
    EXPECT_EQ(top->GetChannelValue(CTransform::TC_TRANSLATION_X), 0.0f);
}

TEST_F(SceneChunkLoadersTest, HierarchyThatWouldCloseACycleIsRefused) {
    SetDefaultParent(nullptr);
    StreamBuilder s;
    s.Transform("a", 0.0f, 0.0f, 0.0f);
    s.Transform("b", 0.0f, 0.0f, 0.0f);
    s.Hierarchy({"a", RT_TRANSFORM, {{"b", RT_TRANSFORM, {}}}});
    s.Hierarchy({"b", RT_TRANSFORM, {{"a", RT_TRANSFORM, {}}}});
    s.Hierarchy({"a", RT_TRANSFORM, {{"a", RT_TRANSFORM, {}}}});
    Load(s);
    auto* a = Find<CTransform>("a", RT_TRANSFORM);
    auto* b = Find<CTransform>("b", RT_TRANSFORM);
    EXPECT_EQ(b->GetParent(), a);
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(a->GetChildren().size(), 1u);
    a->RenderTree(); // finishes
    (void)b->GetWorldMatrix();
}

// A chain of transforms, the first name on top, each one 1 above its parent.
StreamBuilder::Tree Chain(const std::vector<std::string>& names) {
    StreamBuilder::Tree tree{names.back(), RT_TRANSFORM, {}};
    for (size_t i = names.size() - 1; i-- > 0;)
        tree = StreamBuilder::Tree{names[i], RT_TRANSFORM, {tree}};
    return tree;
}

std::vector<std::string> Names(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

TEST_F(SceneChunkLoadersTest, HierarchyAtTheDepthBoundLoadsAndOnePastIsRefused) {
    SetDefaultParent(nullptr);
    StreamBuilder s;
    std::vector<std::string> fits = Names("fit", MAX_HIERARCHY_DEPTH);
    std::vector<std::string> deep = Names("deep", MAX_HIERARCHY_DEPTH + 1);
    for (const auto* names : {&fits, &deep})
        for (const std::string& name : *names)
            s.Transform(name, 0.0f, 1.0f, 0.0f);
    s.Hierarchy(Chain(fits));
    s.Hierarchy(Chain(deep));
    ChunkWalkResult result = Load(s);
    EXPECT_EQ(result.refused, 1);

    auto* bottom = Find<CTransform>(fits.back().c_str(), RT_TRANSFORM);
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(bottom->GetParent(), Find<CTransform>(fits[fits.size() - 2].c_str(), RT_TRANSFORM));
    AdvanceFrameStamp();
    EXPECT_FLOAT_EQ(bottom->GetWorldMatrix()(3, 1), float(MAX_HIERARCHY_DEPTH));
    // The refused record attached nothing.
    for (const std::string& name : deep) {
        auto* node = Find<CTransform>(name.c_str(), RT_TRANSFORM);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->GetParent(), nullptr) << name;
        EXPECT_TRUE(node->GetChildren().empty()) << name;
    }
}

// Records that each put their own chain on top of the last record's tree
// stack up to MAX_SCENE_DEPTH levels and no further, and every walk of the
// tallest tree finishes.
TEST_F(SceneChunkLoadersTest, StackedHierarchiesStopAtTheSceneDepthBound) {
    SetDefaultParent(nullptr);
    StreamBuilder s;
    std::vector<std::string> all = Names("n", MAX_SCENE_DEPTH + 1);
    for (const std::string& name : all)
        s.Transform(name, 0.0f, 1.0f, 0.0f);
    // Each record: fresh nodes, then the previous record's top as the last
    // link, so the old tree hangs below the new chain.
    size_t next = 0;
    std::string previousTop;
    int levels = 0;
    auto stack = [&](int fresh) {
        std::vector<std::string> names(all.begin() + next, all.begin() + next + fresh);
        next += fresh;
        std::string top = names.front();
        if (!previousTop.empty())
            names.push_back(previousTop);
        s.Hierarchy(Chain(names));
        previousTop = top;
        levels += fresh;
    };
    stack(MAX_HIERARCHY_DEPTH);
    while (levels + MAX_HIERARCHY_DEPTH - 1 <= MAX_SCENE_DEPTH)
        stack(MAX_HIERARCHY_DEPTH - 1);
    stack(MAX_SCENE_DEPTH - levels);
    ASSERT_EQ(levels, MAX_SCENE_DEPTH);
    std::string tallest = previousTop;
    stack(1); // one level more: refused
    Load(s);

    auto* top = Find<CTransform>(tallest.c_str(), RT_TRANSFORM);
    auto* bottom = Find<CTransform>(all[MAX_HIERARCHY_DEPTH - 1].c_str(), RT_TRANSFORM);
    auto* refusedTop = Find<CTransform>(all[MAX_SCENE_DEPTH].c_str(), RT_TRANSFORM);
    ASSERT_TRUE(top && bottom && refusedTop);
    EXPECT_EQ(top->GetParent(), nullptr);
    EXPECT_TRUE(refusedTop->GetChildren().empty());
    AdvanceFrameStamp();
    EXPECT_FLOAT_EQ(bottom->GetWorldMatrix()(3, 1), float(MAX_SCENE_DEPTH));

    ProbeShape leaf("leaf");
    leaf.centre = Vec3(0.0f, 0.5f, 0.0f);
    leaf.radius = 0.5f;
    bottom->AddChild(&leaf);
    Vec3 centre;
    float radius = 0.0f;
    top->ComputeBoundingSphere(centre, radius);
    EXPECT_NEAR(centre.y, float(MAX_SCENE_DEPTH) + 0.5f, 1e-3f);
    top->SetLightSetTree(CHandle{7, 1});
    EXPECT_EQ(leaf.lightSet, (CHandle{7, 1}));
    top->RenderTree();
    CTransform* copy = top->Clone("Copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(Find<CNode>((std::string("leaf") + "Copy").c_str(), RT_SHAPE), nullptr);
}

TEST_F(SceneChunkLoadersTest, VisibleFieldBecomesZeroOrOne) {
    SetDefaultParent(nullptr);
    StreamBuilder s;
    for (auto [name, visible] : {std::pair<const char*, int>{"shown", 7}, {"hidden", 0}, {"negative", -1}}) {
        s.Begin(RT_TRANSFORM);
        s.TransformFields(name, visible, 0.0f, 0.0f, 0.0f, 1.5707964f);
        s.End();
    }
    Load(s);
    EXPECT_EQ(Find<CTransform>("shown", RT_TRANSFORM)->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
    EXPECT_EQ(Find<CTransform>("hidden", RT_TRANSFORM)->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
    EXPECT_EQ(Find<CTransform>("negative", RT_TRANSFORM)->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
    EXPECT_NEAR(Find<CTransform>("shown", RT_TRANSFORM)->GetLocalMatrix()(0, 2), -1.0f, 1e-6f);
}
