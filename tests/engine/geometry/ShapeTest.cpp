// Shapes queued into a draw list and drawn by it on the recording device:
// which pass draws which pair, the light-set kind and the billboard colour,
// clones and bounding spheres.
#include <gtest/gtest.h>

#include "engine/camera/CameraResource.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/light/Light.h"
#include "engine/light/LightSet.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/geometry/ShadingRecorder.h"
#include "engine/math/Vec3.h"
#include "engine/scene/Bone.h"
#include "engine/shader/ShaderPrograms.h"
#include "engine/shader/ShaderTypes.h"

namespace {

class ShapeTest : public SceneShadingTest {
protected:
    // A triangle of positions, normals and texture coordinates.
    CIndexedGeometry* Triangle(const char* name) {
        std::vector<float> v;
        for (int i = 0; i < 3; ++i)
            v.insert(v.end(), {float(i), float(i % 2), 0, 0, 0, 1, 0, 0});
        std::vector<uint8_t> bytes = FloatBytes(v);
        CIndexedGeometry* g = new CIndexedGeometry(name, ShaderVertexMask(ST_LAMBERT), 3, bytes.data());
        const uint16_t indices[] = {0, 1, 2};
        g->AddGroup(PT_TRIANGLE_LIST, 3, indices);
        return g;
    }
    CShader* Lambert(const char* name, float alpha) {
        CShader* shader = CreateShader(name, ST_LAMBERT);
        shader->SetColor(0.5f, 0.5f, 0.5f, alpha);
        return shader;
    }
    IDirect3DVertexBuffer8* BufferOf(int geometryIndex) { return device().vertexBuffers[geometryIndex].get(); }
};

TEST_F(ShapeTest, EachPassDrawsItsOwnPairs) {
    CIndexedGeometry* solid = Triangle("solid");
    CIndexedGeometry* glass = Triangle("glass");
    CShape* shape = new CShape("mixed");
    root->AddChild(shape);
    shape->AddPair(Lambert("opaque", 1.0f), solid);
    shape->AddPair(Lambert("seeThrough", 0.5f), glass);
    EXPECT_FALSE(shape->IsPairTranslucent(0));
    EXPECT_TRUE(shape->IsPairTranslucent(1));

    Draw();
    ASSERT_EQ(device().draws.size(), 2u);
    EXPECT_EQ(device().draws[0].stream, BufferOf(0));
    EXPECT_EQ(device().draws[0].zWrite, DWORD(TRUE)) << "the opaque pass";
    EXPECT_EQ(device().draws[1].stream, BufferOf(1));
    EXPECT_EQ(device().draws[1].zWrite, DWORD(FALSE)) << "the translucent pass";
    EXPECT_EQ(device().Count("SetVertexShader"), 4) << "both pairs are set up in both passes";
}

TEST_F(ShapeTest, ATranslucentGeometryDrawsOnlyInTheTranslucentPass) {
    CIndexedGeometry* geometry = Triangle("veil");
    geometry->SetTranslucent(true);
    CShape* shape = new CShape("veiled");
    root->AddChild(shape);
    CShader* shader = Lambert("opaqueShader", 1.0f);
    ASSERT_FALSE(shader->IsTranslucent());
    shape->AddPair(shader, geometry);
    Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].zWrite, DWORD(FALSE));
}

TEST_F(ShapeTest, TheLightSetChoosesTheProgramAndUploadsAfterTheShader) {
    CShape* shape = new CShape("lit");
    root->AddChild(shape);
    CShader* shader = Lambert("litShader", 1.0f);
    shader->SetMaterialAmbient(ColorRGBA(0.25f, 0.25f, 0.25f, 1.0f));
    shape->AddPair(shader, Triangle("litGeometry"));

    Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].program, 0u) << "no light set: LS_NON, for which a lit type has no program";

    CAmbientLight ambient;
    ambient.SetColor(ColorRGBA(0.5f, 0.5f, 0.5f, 0.0f));
    CTransform* lamp = new CTransform("lamp");
    CDirectionalLight* sun = new CDirectionalLight("sun");
    lamp->AddChild(sun);
    CLightSet set;
    set.SetAmbient(&ambient);
    set.SetLight(0, sun);
    root->SetLightSetTree(set.GetLightSetHandle());
    EXPECT_EQ(shape->GetLightSet(), set.GetLightSetHandle());
    Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].program, GetShaderProgram(ST_LAMBERT, LS_A1D1));
    EXPECT_NE(device().draws[0].program, 0u);
    // The ambient light took the shader's material ambient: Apply ran first.
    EXPECT_EQ(Constant(80), (std::array<float, 4>{0.75f, 0.75f, 0.75f, 1.0f}));
}

TEST_F(ShapeTest, ABillboardTakesItsQueuedColourInTheTranslucentPass) {
    CShape* shape = new CShape("sign");
    root->AddChild(shape);
    CShader* shader = Lambert("signShader", 0.5f);
    shape->AddPair(shader, Triangle("signGeometry"));
    shape->SetBillboard(true);
    // The colour changes after queueing: the shader uploads the new one, the
    // billboard the one it was queued with, last.
    Draw([&] { shader->SetColor(0.9f, 0.1f, 0.1f, 0.5f); });
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(Constant(78), (std::array<float, 4>{0.5f, 0.5f, 0.5f, 0.5f}));
    int writes = 0;
    for (DWORD reg : device().constantOrder)
        writes += reg == 78;
    EXPECT_EQ(writes, 2);
}

TEST_F(ShapeTest, QueueingHappensInTheFirstUpdateOnly) {
    CShape* shape = new CShape("once");
    root->AddChild(shape);
    shape->AddPair(Lambert("onceShader", 1.0f), Triangle("onceGeometry"));
    list->AddTree(root, camera, true); // outside any update
    EXPECT_EQ(list->GetItemCount(), 0);
    Draw();
    EXPECT_EQ(device().draws.size(), 1u);
}

TEST_F(ShapeTest, AClonePairsInstancesAndStartsAsNoBillboard) {
    CBone* bone = new CBone("arm");
    new CBone("arm::copy");
    CShader* skinned = CreateShader("sleeve", ST_LAMBERT_2WS);
    skinned->AddBone(bone);
    CShader* plain = Lambert("button", 1.0f);
    CIndexedGeometry* geometry = Triangle("cloth");
    CShape* shape = new CShape("coat");
    root->AddChild(shape);
    shape->AddPair(skinned, geometry);
    shape->AddPair(plain, geometry);
    shape->SetBillboard(true);
    shape->SetBillboardRotation(1.5f);
    CLightSet set;
    shape->SetLightSet(set.GetLightSetHandle());

    CShape* clone = shape->Clone("::copy");
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetName(), "coat::copy");
    EXPECT_EQ(clone->GetParent(), root);
    EXPECT_NE(clone->GetShapeHandle(), shape->GetShapeHandle());
    EXPECT_EQ(clone->GetLightSet(), set.GetLightSetHandle());
    EXPECT_FALSE(clone->IsBillboard());
    EXPECT_EQ(clone->GetBillboardRotation(), 0.0f);
    ASSERT_EQ(clone->GetPairCount(), 2);
    EXPECT_NE(clone->GetPairShader(0), skinned);
    EXPECT_EQ(clone->GetPairShader(0)->GetName(), "sleeve::copy");
    EXPECT_EQ(static_cast<CShaderSkinned*>(clone->GetPairShader(0))->GetBone(0)->GetName(), "arm::copy");
    EXPECT_EQ(clone->GetPairShader(1), plain);
    EXPECT_EQ(clone->GetPairGeometry(0), geometry);
    EXPECT_EQ(clone->GetPairGeometry(1), geometry);
}

TEST_F(ShapeTest, PairsThatNoLongerResolveAreNotDrawn) {
    CShape* shape = new CShape("fading");
    root->AddChild(shape);
    CShader* shader = Lambert("goneShader", 1.0f);
    CIndexedGeometry* kept = Triangle("kept");
    shape->AddPair(shader, Triangle("goneGeometry"));
    shape->AddPair(shader, kept);
    shape->AddPair(nullptr, kept);
    EXPECT_EQ(shape->GetPairCount(), 2) << "a pair needs both members";
    delete shape->GetPairGeometry(0);
    EXPECT_EQ(shape->GetPairGeometry(0), nullptr);
    Draw();
    ASSERT_EQ(device().draws.size(), 1u);
}

TEST_F(ShapeTest, BoundingSphereMergesTheGeometryBoxes) {
    CIndexedGeometry* a = Triangle("a");
    CIndexedGeometry* b = Triangle("b");
    CIndexedGeometry* unbounded = Triangle("unbounded");
    a->SetBoundingSphere(1, 0, 0, 0);
    b->SetBoundingSphere(2, 4, 0, 1);
    CShader* shader = Lambert("boundShader", 1.0f);
    Vec3 centre;
    float radius = 0;

    CShape empty("empty");
    ASSERT_TRUE(empty.GetBoundingSphere(centre, radius));
    EXPECT_EQ(radius, -1.0f);

    CShape two("two");
    two.AddPair(shader, a);
    two.AddPair(shader, b);
    ASSERT_TRUE(two.GetBoundingSphere(centre, radius));
    // x -1..6, y -2..2, z -1..3
    EXPECT_FLOAT_EQ(centre.x, 2.5f);
    EXPECT_FLOAT_EQ(centre.y, 0.0f);
    EXPECT_FLOAT_EQ(centre.z, 1.0f);
    EXPECT_FLOAT_EQ(radius, 3.5f);

    two.AddPair(shader, unbounded);
    ASSERT_TRUE(two.GetBoundingSphere(centre, radius));
    EXPECT_EQ(radius, -1.0f);
    EXPECT_EQ(centre.x, 0.0f);
}

} // namespace
