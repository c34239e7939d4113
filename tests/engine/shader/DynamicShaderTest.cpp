// The dynamic shader types skin their geometry on the CPU while the shape is
// queued: the working vertices follow the bones and reach the vertex
// buffer, other vertex layouts are left alone, and instances carry the
// solver state.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/camera/CameraResource.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/geometry/ShadingRecorder.h"
#include "engine/scene/Bone.h"
#include "engine/shader/ShaderPrograms.h"
#include "engine/shader/ShaderTypes.h"

namespace {

// The scene fixture with its camera at the origin and a bone.
class DynamicShaderTest : public SceneShadingTest {
protected:
    void SetUp() override {
        SceneShadingTest::SetUp();
        eye->SetTranslation(0, 0, 0);
        bone = new CBone("spine");
        bone->SetTranslation(1, 2, 3);
    }

    // Three vertices at x = 0, 1, 2 of a two-weight layout, wholly on bone 0.
    CIndexedGeometry* Geometry(uint32_t mask, int floatsPerVertex) {
        std::vector<float> v;
        for (int i = 0; i < 3; ++i) {
            std::vector<float> vertex(size_t(floatsPerVertex), 0.0f);
            vertex[0] = float(i);
            if (floatsPerVertex >= 14)
                vertex[5] = 1, vertex[6] = 1; // normal +z, weight 1 on index 0
            v.insert(v.end(), vertex.begin(), vertex.end());
        }
        std::vector<uint8_t> bytes = FloatBytes(v);
        CIndexedGeometry* g = new CIndexedGeometry("cloth", mask, 3, bytes.data());
        const uint16_t indices[] = {0, 1, 2};
        g->AddGroup(PT_TRIANGLE_LIST, 3, indices);
        return g;
    }
    const float* Working(CIndexedGeometry* g) { return reinterpret_cast<const float*>(g->GetWorkingVertices()); }

    CBone* bone = nullptr;
};

TEST_F(DynamicShaderTest, SkinsTheWorkingVerticesAndUploadsThem) {
    CIndexedGeometry* geometry = Geometry(ShaderVertexMask(ST_LAMBERT_2WS_DY), 14);
    CShader* shader = CreateShader("skirt", ST_LAMBERT_2WS_DY);
    shader->AddBone(bone);
    CShape* shape = new CShape("skirtShape");
    root->AddChild(shape);
    shape->AddPair(shader, geometry);
    CRecordingVertexBuffer& vb = *device().vertexBuffers[0];
    const int locks = vb.locks;

    Draw();
    EXPECT_TRUE(static_cast<CShaderLambertDynamic*>(shader)->GetSkin().IsInitialised());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(Working(geometry)[14 * i + 0], float(i) + 1);
        EXPECT_FLOAT_EQ(Working(geometry)[14 * i + 1], 2.0f);
        EXPECT_FLOAT_EQ(Working(geometry)[14 * i + 2], 3.0f);
    }
    EXPECT_EQ(reinterpret_cast<const float*>(geometry->GetSourceVertices())[14], 1.0f) << "the bind pose stays";
    EXPECT_GT(vb.locks, locks);
    EXPECT_EQ(std::memcmp(vb.bytes.data(), geometry->GetWorkingVertices(), 3 * 14 * 4), 0);
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].program, 0u) << "no light set";

    bone->SetTranslation(0, 0, 1);
    Draw();
    EXPECT_FLOAT_EQ(Working(geometry)[14 * 2 + 0], 2.0f);
    EXPECT_FLOAT_EQ(Working(geometry)[14 * 2 + 2], 1.0f);
}

TEST_F(DynamicShaderTest, AnotherVertexLayoutIsNotSkinned) {
    // The three-weight type on two-weight vertices, and a plain lit layout.
    struct Case {
        const char* what;
        int type;
        uint32_t mask;
        int floats;
    } cases[] = {
        {"two-weight vertices, three-weight shader", ST_LAMBERT_3WS_DY, ShaderVertexMask(ST_LAMBERT_2WS_DY), 14},
        {"lit vertices", ST_LAMBERT_4WS_DY, ShaderVertexMask(ST_LAMBERT), 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CIndexedGeometry* geometry = Geometry(c.mask, c.floats);
        std::vector<uint8_t> before(geometry->GetWorkingVertices(),
                                    geometry->GetWorkingVertices() + geometry->GetVertexSize() * 3);
        CShader* shader = CreateShader(c.what, c.type);
        shader->AddBone(bone);
        CShape* shape = new CShape(c.what);
        root->AddChild(shape);
        shape->AddPair(shader, geometry);
        const int locks = device().vertexBuffers.back()->locks;
        Draw();
        EXPECT_FALSE(static_cast<CShaderLambertDynamic*>(shader)->GetSkin().IsInitialised());
        EXPECT_EQ(std::memcmp(before.data(), geometry->GetWorkingVertices(), before.size()), 0);
        EXPECT_EQ(device().vertexBuffers.back()->locks, locks);
        root->RemoveChild(shape);
    }
}

TEST_F(DynamicShaderTest, AnInstanceCarriesTheSolverState) {
    CIndexedGeometry* geometry = Geometry(ShaderVertexMask(ST_LAMBERT_2WS_DY), 14);
    CShaderLambertDynamic* templ = static_cast<CShaderLambertDynamic*>(CreateShader("hair", ST_LAMBERT_2WS_DY));
    templ->AddBone(bone);
    templ->GetSkin().SetDynamicsBone(0);
    const int32_t links[] = {1, -1, 2, -1, -1};
    ASSERT_TRUE(templ->GetSkin().ReadLinkTable(links, 5));
    new CBone("spine::the");
    CShape* shape = new CShape("hairShape");
    root->AddChild(shape);
    shape->AddPair(templ, geometry);
    Draw();
    ASSERT_TRUE(templ->GetSkin().IsInitialised());

    CShaderLambertDynamic* instance = dynamic_cast<CShaderLambertDynamic*>(templ->Instance("::the"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->GetShaderType(), ST_LAMBERT_2WS_DY);
    EXPECT_TRUE(instance->GetSkin().IsInitialised());
    EXPECT_EQ(instance->GetSkin().GetDynamicsBone(), 0);
    EXPECT_EQ(instance->GetSkin().GetWeightCount(), 2);
    EXPECT_EQ(instance->GetBone(0)->GetName(), "spine::the");
}

} // namespace
