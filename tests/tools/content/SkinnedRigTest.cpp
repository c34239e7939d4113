#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/chunk/VertexSize.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/MeshBuilder.h"
#include "tools/content/SkeletonBuilder.h"

#include "tests/tools/content/ModelRegistry.h"
#include "tests/tools/content/ShapeStandIn.h"

namespace {

ModelReadBack g_read;

float ReadFloat(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

MeshPoint Transformed(MeshPoint p, const CMatrix& m) {
    D3DXVECTOR3 v{p.x, p.y, p.z};
    D3DXVec3TransformCoord(&v, &v, &m);
    return {v.x, v.y, v.z};
}

float Distance(MeshPoint a, MeshPoint b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

void ExpectMatrixNear(const CMatrix& a, const CMatrix& b, float tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a(r, c), b(r, c), tolerance) << "(" << r << ", " << c << ")";
}

const char* const BONES[] = {"rigTestHip", "rigTestKnee", "rigTestAnkle"};

// A three-bone leg under a turned, scaled top transform, with a capsule
// skinned to it by distance.
struct Rig {
    CSkeletonBuilder skeleton;
    CMeshBuilder mesh;
    BuiltGeometry geometry;

    Rig() {
        skeleton.AddTransform("rigTestRoot", "", {1, 0, 5}, {0, 0.3f, 0}, {2, 2, 2});
        skeleton.AddBone(BONES[0], "rigTestRoot", {0, 0, 0});
        skeleton.AddBone(BONES[1], BONES[0], {0, 2, 0}, {0.1f, 0, 0});
        skeleton.AddBone(BONES[2], BONES[1], {0, 2, 0}, {-0.1f, 0, 0});
        skeleton.AddLeaf("rigTestLegShape", RT_SHAPE, "rigTestRoot");
        // The capsule from y = 0 to 6 in the top's space: laid out in the rig's rest space.
        CMatrix up, placement;
        D3DXMatrixTranslation(&up, 0, 3, 0);
        D3DXMatrixMultiply(&placement, &up, &skeleton.Node(0).world);
        mesh.AddCapsule(0.5f, 5, 4, 12, 10, placement);
        std::vector<SkinSegment> segments;
        for (int i = 0; i < 3; ++i)
            segments.push_back(skeleton.Segment(skeleton.Find(BONES[i]), i, {0, 2, 0}));
        mesh.WeightByDistance(0, segments, 2);
    }
};

TEST(SkinnedRig, WeightsSumToOneWithinThePalette) {
    Rig rig;
    ASSERT_FALSE(rig.skeleton.Failed());
    ASSERT_GT(rig.mesh.VertexCount(), 0);
    int onEach[3] = {0, 0, 0};
    for (const MeshVertex& v : rig.mesh.Vertices()) {
        ASSERT_GE(v.skin.count, 1);
        ASSERT_LE(v.skin.count, 2);
        float sum = 0;
        for (int k = 0; k < v.skin.count; ++k) {
            EXPECT_GE(v.skin.bones[k], 0);
            EXPECT_LT(v.skin.bones[k], 3);
            EXPECT_GT(v.skin.weights[k], 0.0f);
            if (k > 0)
                EXPECT_GE(v.skin.weights[k - 1], v.skin.weights[k]);
            sum += v.skin.weights[k];
        }
        EXPECT_NEAR(sum, 1.0f, 1e-6f);
        ++onEach[v.skin.bones[0]];
    }
    for (int count : onEach)
        EXPECT_GT(count, 0);

    ASSERT_TRUE(BuildGeometry(rig.mesh, "rigTestLegGeometry", VERTEX_FORMAT_SKIN_2, false, rig.geometry));
    const int size = GetVertexSize(VERTEX_FORMAT_SKIN_2);
    ASSERT_EQ(size, 56);
    ASSERT_EQ(rig.geometry.vertexBytes.size(), size_t(size) * size_t(rig.mesh.VertexCount()));
    for (int i = 0; i < rig.mesh.VertexCount(); ++i) {
        const uint8_t* p = rig.geometry.vertexBytes.data() + size_t(i) * size_t(size);
        const MeshSkin& skin = rig.mesh.Vertices()[size_t(i)].skin;
        // position, normal, two weights, four indices as 3 x palette index, texcoord
        EXPECT_FLOAT_EQ(ReadFloat(p + 24) + ReadFloat(p + 28), 1.0f);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(ReadFloat(p + 32 + 4 * k), k < skin.count ? float(3 * skin.bones[k]) : 0.0f);
        EXPECT_EQ(ReadFloat(p + 48), rig.mesh.Vertices()[size_t(i)].u);
    }
}

TEST(SkinnedRig, SkinnedLayoutsRefuseWhatTheyCannotHold) {
    EXPECT_EQ(GetVertexSize(VERTEX_FORMAT_SKIN_3), 60);
    EXPECT_EQ(GetVertexSize(VERTEX_FORMAT_SKIN_4), 64);
    EXPECT_EQ(ShaderVertexMask(ST_LAMBERT_3WS_DY), VERTEX_FORMAT_SKIN_3);
    EXPECT_EQ(ShaderVertexMask(ST_LAMBERT_4WS), VERTEX_FORMAT_SKIN_4);
    EXPECT_EQ(ShaderVertexMask(ST_LAMBERT_VB), VERTEX_FORMAT_LAMBERT_VB);
    EXPECT_EQ(ShaderVertexMask(SHADER_TYPE_COUNT), 0u);

    struct Case {
        const char* name;
        MeshSkin skin;
        uint32_t format;
        bool built;
    };
    const Case cases[] = {
        {"two of three", {2, {1, 4, 0, 0}, {0.75f, 0.25f, 0, 0}}, VERTEX_FORMAT_SKIN_3, true},
        {"last palette entry", {1, {19, 0, 0, 0}, {1, 0, 0, 0}}, VERTEX_FORMAT_SKIN_2, true},
        {"four of four", {4, {0, 1, 2, 3}, {0.4f, 0.3f, 0.2f, 0.1f}}, VERTEX_FORMAT_SKIN_4, true},
        {"three into two", {3, {0, 1, 2, 0}, {0.5f, 0.3f, 0.2f, 0}}, VERTEX_FORMAT_SKIN_2, false},
        {"past the palette", {1, {20, 0, 0, 0}, {1, 0, 0, 0}}, VERTEX_FORMAT_SKIN_2, false},
        {"negative bone", {1, {-1, 0, 0, 0}, {1, 0, 0, 0}}, VERTEX_FORMAT_SKIN_2, false},
        {"short of one", {2, {0, 1, 0, 0}, {0.5f, 0.3f, 0, 0}}, VERTEX_FORMAT_SKIN_2, false},
        {"negative weight", {2, {0, 1, 0, 0}, {1.5f, -0.5f, 0, 0}}, VERTEX_FORMAT_SKIN_2, false},
        {"no skin", {}, VERTEX_FORMAT_SKIN_2, false},
        {"no skin, unskinned layout", {}, VERTEX_FORMAT_LAMBERT, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMeshBuilder mesh;
        mesh.SetSkin(c.skin);
        mesh.AddBox({0, 0, 0}, {1, 1, 1});
        BuiltGeometry out;
        EXPECT_EQ(BuildGeometry(mesh, "box", c.format, false, out), c.built);
    }

    CMeshBuilder mesh;
    mesh.AddBox({0, 0, 0}, {1, 1, 1});
    EXPECT_FALSE(mesh.WeightByDistance(0, {{20, {0, 0, 0}, {0, 1, 0}}}, 2));
    EXPECT_FALSE(mesh.WeightByDistance(0, {}, 2));
    EXPECT_FALSE(mesh.WeightByDistance(0, {{0, {0, 0, 0}, {0, 1, 0}}}, 5));
}

TEST(SkinnedRig, SkeletonRefusesBrokenTrees) {
    CSkeletonBuilder skeleton;
    EXPECT_EQ(skeleton.AddBone("a", "", {0, 0, 0}), 0);
    EXPECT_FALSE(skeleton.Failed());
    EXPECT_EQ(skeleton.AddBone("a", "", {0, 0, 0}), -1);
    EXPECT_TRUE(skeleton.Failed());

    CSkeletonBuilder orphan;
    EXPECT_EQ(orphan.AddBone("b", "nowhere", {0, 0, 0}), -1);
    EXPECT_TRUE(orphan.Failed());

    CSkeletonBuilder underLeaf;
    underLeaf.AddTransform("t", "", {0, 0, 0});
    EXPECT_EQ(underLeaf.AddLeaf("s", RT_SHAPE, "t"), 1);
    EXPECT_EQ(underLeaf.AddBone("c", "s", {0, 0, 0}), -1);
    EXPECT_EQ(underLeaf.AddLeaf("h", RT_HIERARCHY, "t"), -1);

    CSkeletonBuilder flat;
    EXPECT_EQ(flat.AddBone("d", "", {0, 0, 0}, {0, 0, 0}, {1, 0, 1}), -1);
    EXPECT_TRUE(flat.Failed());
}

class SkinnedRigStream : public ::testing::Test, protected ModelRegistry {
protected:
    void SetUp() override {
        OpenRegistry();
        g_read = ModelReadBack();
        SetMissingResourceHandler([](void*) { ++g_read.missing; });
        SetChunkHandler([](const GeometryRecord& r) { g_read.geometries.push_back(r); });
        SetChunkHandler([](const ShaderRecord& r) { g_read.shaders.push_back(r); });
        SetChunkHandler([](const ShapeRecord& r) {
            g_read.shapes.push_back(r);
            new CShapeStandIn(r.name.c_str());
        });
    }
    void TearDown() override { CloseRegistry(); }
};

TEST_F(SkinnedRigStream, LoadsBackWithTheRestAndBindMatrices) {
    Rig rig;
    ASSERT_TRUE(BuildGeometry(rig.mesh, "rigTestLegGeometry", VERTEX_FORMAT_SKIN_2, false, rig.geometry));
    CChunkWriter writer;
    rig.skeleton.WriteNodes(writer);
    ShaderRecord shader;
    shader.name = "rigTestLegSkin";
    shader.shaderType = ST_LAMBERT_2WS;
    shader.textureName = NO_TEXTURE_NAME;
    shader.colour[0] = shader.colour[1] = shader.colour[2] = shader.colour[3] = 1;
    shader.boneNames.assign(std::begin(BONES), std::end(BONES));
    writer.Write(shader);
    writer.Write(rig.geometry.record);
    ShapeRecord shape;
    shape.name = "rigTestLegShape";
    shape.pairs = {{shader.name, rig.geometry.record.name}};
    writer.Write(shape);
    rig.skeleton.WriteHierarchy(writer);
    ASSERT_FALSE(writer.Failed());

    const std::vector<uint8_t>& bytes = writer.GetBytes();
    ChunkWalkResult walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
    EXPECT_TRUE(walk.complete);
    EXPECT_EQ(walk.refused, 0);
    EXPECT_EQ(walk.empty, 0);
    EXPECT_EQ(g_read.missing, 0);
    ASSERT_EQ(g_read.geometries.size(), 1u);
    EXPECT_EQ(g_read.geometries[0].vertexFormat, VERTEX_FORMAT_SKIN_2);
    EXPECT_EQ(g_read.geometries[0].vertexCount, rig.mesh.VertexCount());
    ASSERT_EQ(g_read.shaders.size(), 1u);
    EXPECT_EQ(g_read.shaders[0].boneNames, shader.boneNames);

    CTransform* top = dynamic_cast<CTransform*>(registry.Find("rigTestRoot", RT_TRANSFORM));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetParent(), root);
    CNode* shapeNode = dynamic_cast<CNode*>(registry.Find("rigTestLegShape", RT_SHAPE));
    ASSERT_NE(shapeNode, nullptr);
    EXPECT_EQ(shapeNode->GetParent(), top);
    CBone* bones[3];
    CTransform* parent = top;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(BONES[i]);
        bones[i] = dynamic_cast<CBone*>(registry.Find(BONES[i], RT_BONE));
        ASSERT_NE(bones[i], nullptr);
        EXPECT_EQ(bones[i]->GetParent(), parent);
        parent = bones[i];
        const SkeletonNode& node = rig.skeleton.Node(rig.skeleton.Find(BONES[i]));
        ExpectMatrixNear(bones[i]->GetWorldMatrix(), node.world, 1e-5f);
        // At rest the palette matrix (offset x world) is the identity.
        CMatrix palette;
        D3DXMatrixMultiply(&palette, &bones[i]->GetOffsetMatrix(), &bones[i]->GetWorldMatrix());
        ExpectMatrixNear(palette, CMatrix(), 1e-5f);
    }
    // The ankle sits 4 units up the leg, turned and scaled with the top.
    MeshPoint ankle = Transformed({0, 0, 0}, bones[2]->GetWorldMatrix());
    MeshPoint expected = Transformed({0, 2 * std::cos(0.1f) + 2, 2 * std::sin(0.1f)}, top->GetWorldMatrix());
    EXPECT_NEAR(Distance(ankle, expected), 0.0f, 1e-4f);

    // Bend the knee: the foot follows it rigidly, the hip end stays put.
    AdvanceFrameStamp();
    bones[1]->SetRotation(1.0f, 0, 0);
    MeshPoint knee = Transformed({0, 0, 0}, bones[1]->GetWorldMatrix());
    CMatrix palettes[3];
    for (int i = 0; i < 3; ++i)
        D3DXMatrixMultiply(&palettes[i], &bones[i]->GetOffsetMatrix(), &bones[i]->GetWorldMatrix());
    const MeshVertex* bottom = nullptr;
    const MeshVertex* tip = nullptr;
    for (const MeshVertex& v : rig.mesh.Vertices()) {
        if (!bottom || v.position.y < bottom->position.y)
            bottom = &v;
        if (!tip || v.position.y > tip->position.y)
            tip = &v;
    }
    auto Skin = [&](const MeshVertex& v) {
        MeshPoint out{0, 0, 0};
        for (int k = 0; k < v.skin.count; ++k) {
            MeshPoint p = Transformed(v.position, palettes[v.skin.bones[k]]);
            out = {out.x + v.skin.weights[k] * p.x, out.y + v.skin.weights[k] * p.y, out.z + v.skin.weights[k] * p.z};
        }
        return out;
    };
    ASSERT_EQ(bottom->skin.bones[0], 0);
    ASSERT_EQ(tip->skin.bones[0], 2);
    EXPECT_NEAR(Distance(Skin(*bottom), bottom->position), 0.0f, 1e-4f);
    MeshPoint restKnee = rig.skeleton.RestPoint(rig.skeleton.Find(BONES[1]), {0, 0, 0});
    EXPECT_NEAR(Distance(knee, restKnee), 0.0f, 1e-4f);
    EXPECT_NEAR(Distance(Skin(*tip), knee), Distance(tip->position, restKnee), 1e-3f);
    EXPECT_GT(Distance(Skin(*tip), tip->position), 1.0f);
}

} // namespace
