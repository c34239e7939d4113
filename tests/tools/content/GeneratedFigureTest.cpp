#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/anim/AnimChunkLoaders.h"
#include "engine/anim/AnimationSet.h"
#include "engine/anim/BlendPass.h"
#include "tests/engine/archive/ArchiveFixture.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/SkeletonBuilder.h"
#include "tools/packer/ArchivePacker.h"

// The whole pipeline for an animated model: the skeleton builder and the
// chunk writer make a model and an animation file, the packer puts them into
// the character's model and animation archives, and the engine loads them
// back through the packed directories, instantiates the model under "::the"
// and blends two sets onto the instance.
namespace {

AnimationDataRecord Curve(const std::string& name, std::vector<AnimationKey> keys) {
    AnimationDataRecord record;
    record.name = name;
    record.interpolation = AI_LINEAR;
    record.keys = std::move(keys);
    return record;
}

AnimatorRecord Drive(const std::string& name, const std::string& data, const std::string& bone, int attribute) {
    AnimatorRecord record;
    record.name = name;
    record.dataName = data;
    record.targetName = bone;
    record.targetKind = RT_BONE;
    record.attribute = attribute;
    return record;
}

// "figure" (a transform 10 up) > "hip" > "knee" (4 below) > "ankle" (3 below).
std::vector<uint8_t> FigureModel() {
    CSkeletonBuilder skeleton;
    skeleton.AddTransform("figure", "", {0, 10, 0});
    skeleton.AddBone("hip", "figure", {0, 0, 0});
    skeleton.AddBone("knee", "hip", {0, -4, 0});
    skeleton.AddBone("ankle", "knee", {0, -3, 0});
    CChunkWriter writer;
    skeleton.WriteNodes(writer);
    skeleton.WriteHierarchy(writer);
    EXPECT_FALSE(skeleton.Failed());
    EXPECT_FALSE(writer.Failed());
    return writer.GetBytes();
}

// "swing" turns the hip about z from 0 up to 1 and back over 20; "stand"
// holds the hip straight and moves the knee out by 2.
std::vector<uint8_t> FigureAnimation() {
    CChunkWriter writer;
    writer.Write(Curve("swingCurve", {{10, 1, 0}, {10, -1, 1}}));
    writer.Write(Curve("zeroCurve", {{20, 0, 0}}));
    writer.Write(Curve("outCurve", {{20, 0, 2}}));
    writer.Write(Drive("swingHip", "swingCurve", "hip", AA_ROTATION_Z));
    writer.Write(Drive("standHip", "zeroCurve", "hip", AA_ROTATION_Z));
    writer.Write(Drive("standKnee", "outCurve", "knee", AA_TRANSLATION_X));
    AnimationSetRecord swing;
    swing.name = "swing";
    swing.animatorNames = {"swingHip"};
    writer.Write(swing);
    AnimationSetRecord stand;
    stand.name = "stand";
    stand.animatorNames = {"standHip", "standKnee"};
    writer.Write(stand);
    EXPECT_FALSE(writer.Failed());
    return writer.GetBytes();
}

int g_missing = 0;

struct GeneratedFigure : DataFolderTest {
    void SetUp() override {
        DataFolderTest::SetUp();
        saved = CurrentResourceManager;
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        root = CreateRootTransform();
        SetDefaultParent(root);
        ClearChunkHandlers();
        RegisterSceneChunkHandlers();
        RegisterAnimChunkHandlers();
        g_missing = 0;
        SetMissingResourceHandler([](void*) { ++g_missing; });
    }
    void TearDown() override {
        SetMissingResourceHandler(nullptr);
        ClearChunkHandlers();
        SetDefaultParent(nullptr);
        CurrentResourceManager = saved;
        DataFolderTest::TearDown();
    }
    // Packs one file into the archive and opens it through its directory.
    CDataArchive* Pack(const char* archiveFile, const std::string& path, std::vector<uint8_t> bytes,
                       PackedArchive& packed, std::vector<ArchiveEntryRow>& rows) {
        std::string error;
        EXPECT_TRUE(PackArchive(archiveFile, ChooseArchiveKey(archiveFile), {{path, std::move(bytes)}}, packed, error))
            << error;
        EXPECT_TRUE(WriteArchiveFile(folder.string(), packed, error)) << error;
        rows = DirectoryRows(packed);
        return new CDataArchive({packed.fileName.c_str(), packed.key, rows.data()});
    }

    CResourceManager* saved = nullptr;
    CResourceManager registry;
    CTransform* root = nullptr;
};

TEST_F(GeneratedFigure, LoadsFromPackedArchivesInstantiatesAndBlends) {
    PackedArchive models, animations;
    std::vector<ArchiveEntryRow> modelRows, animationRows;
    std::unique_ptr<CDataArchive> modelArchive(
        Pack("model/model04.bin", "model/vesko/figure.hgm", FigureModel(), models, modelRows));
    std::unique_ptr<CDataArchive> animationArchive(Pack("animation/animation00.bin", "animation/vesko/figureSwing.hga",
                                                        FigureAnimation(), animations, animationRows));
    ASSERT_EQ(modelArchive->GetEntryCount(), 1u);
    ASSERT_EQ(animationArchive->GetEntryCount(), 1u);

    ChunkWalkResult model = LoadModelFromArchive(&registry, modelArchive.get(), "model/vesko/figure.hgm");
    EXPECT_TRUE(model.complete);
    EXPECT_EQ(model.refused, 0);
    EXPECT_EQ(model.accepted, 5); // a transform, three bones, the hierarchy
    ChunkWalkResult anim = LoadModelFromArchive(&registry, animationArchive.get(), "animation/vesko/figureSwing.hga");
    EXPECT_TRUE(anim.complete);
    EXPECT_EQ(anim.accepted, 8);
    EXPECT_EQ(g_missing, 0);

    auto* figure = dynamic_cast<CTransform*>(registry.Find("figure", RT_TRANSFORM));
    auto* ankle = dynamic_cast<CBone*>(registry.Find("ankle", RT_BONE));
    auto* swing = dynamic_cast<CAnimationSet*>(registry.Find("swing", RT_ANIMATION_SET));
    auto* stand = dynamic_cast<CAnimationSet*>(registry.Find("stand", RT_ANIMATION_SET));
    ASSERT_TRUE(figure && ankle && swing && stand);
    EXPECT_EQ(figure->GetParent(), root);
    EXPECT_EQ(ankle->GetParent(), registry.Find("knee", RT_BONE));
    EXPECT_EQ(swing->GetLength(), 20.0f);

    CModelInstanceNode instance("figure", "figure", RT_TRANSFORM, "::the");
    ASSERT_NE(instance.GetRoot(), nullptr);
    EXPECT_EQ(instance.GetRoot()->GetName(), "figure_root::the");
    instance.GetRoot()->SetTranslation(100, 0, 0);
    CAnimationSet* swingThe = swing->Instantiate("::the");
    CAnimationSet* standThe = stand->Instantiate("::the");
    auto* hipThe = dynamic_cast<CBone*>(registry.Find("hip::the", RT_BONE));
    auto* ankleThe = dynamic_cast<CBone*>(registry.Find("ankle::the", RT_BONE));
    ASSERT_TRUE(hipThe && ankleThe);
    EXPECT_EQ(ankleThe->GetParent(), registry.Find("knee::the", RT_BONE));

    // Time 25 wraps to 5, where "swing" turns the hip by 0.5. Blended 0.25
    // with "stand" at 0.75 the hip turns by 0.125; the knee is moved only by
    // "stand", whose lone weight is divided out.
    AdvanceFrameStamp();
    BeginBlendPass();
    swingThe->Apply(25, 0.25f, AWT_BLEND);
    standThe->Apply(25, 0.75f, AWT_BLEND);
    EndBlendPass();
    EXPECT_FLOAT_EQ(hipThe->GetChannelValue(CTransform::TC_ROTATION_Z), 0.125f);

    // The ankle sits at (2, -7) in the hip's frame, turned by the hip, then
    // raised with the figure and moved with the instance's root.
    const float a = 0.125f;
    const CMatrix& world = ankleThe->GetWorldMatrix();
    EXPECT_NEAR(world(3, 0), 100 + 2 * std::cos(a) + 7 * std::sin(a), 1e-4f);
    EXPECT_NEAR(world(3, 1), 10 + 2 * std::sin(a) - 7 * std::cos(a), 1e-4f);
    EXPECT_NEAR(world(3, 2), 0, 1e-5f);
    EXPECT_NEAR(world(0, 0), std::cos(a), 1e-5f);
    EXPECT_NEAR(world(0, 1), std::sin(a), 1e-5f);

    // The loaded model itself does not move.
    EXPECT_NEAR(ankle->GetWorldMatrix()(3, 0), 0, 1e-5f);
    EXPECT_NEAR(ankle->GetWorldMatrix()(3, 1), 3, 1e-5f);
}

} // namespace
