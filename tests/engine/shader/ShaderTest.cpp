// Shaders on the recording device: the programs each type shares, colour and
// translucency, the translucency channel, what Apply and SetVertexShader
// hand the device, and skinned instances bound to scoped bones.
#include <gtest/gtest.h>

#include <set>

#include "engine/anim/AnimAttribute.h"
#include "engine/camera/CameraResource.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/geometry/ShadingRecorder.h"
#include "engine/scene/Bone.h"
#include "engine/vertexprogram/VertexPrograms.h"
#include "engine/shader/ShaderPrograms.h"
#include "engine/shader/ShaderTypes.h"

namespace {

// Distinct programs a type has over the light-set kinds.
int ProgramsOfType(int type) {
    std::set<int> ids;
    for (int kind = 0; kind < LIGHT_SET_KIND_COUNT; ++kind)
        if (FindVertexProgram(type, kind) >= 0)
            ids.insert(FindVertexProgram(type, kind));
    return (int)ids.size();
}

using ShaderTest = ShadingTest;

TEST_F(ShaderTest, ProgramsLiveWhileAShaderOfTheTypeDoes) {
    for (int type = 0; type < SHADER_TYPE_COUNT; ++type) {
        SCOPED_TRACE(type);
        ASSERT_EQ(GetShaderTypeReferenceCount(type), 0);
        const int programs = ProgramsOfType(type);
        ASSERT_GT(programs, 0);
        device().programsMade = device().programsDeleted = 0;

        CShader* first = CreateShader("first", type);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->GetShaderType(), type);
        EXPECT_EQ(device().programsMade, programs);
        CShader* second = CreateShader("second", type);
        EXPECT_EQ(device().programsMade, programs) << "the second shader shares the first one's programs";
        EXPECT_EQ(GetShaderTypeReferenceCount(type), 2);

        delete first;
        EXPECT_EQ(device().programsDeleted, 0);
        delete second;
        EXPECT_EQ(device().programsDeleted, programs) << "the last shader of the type deletes them";
        EXPECT_EQ(GetShaderTypeReferenceCount(type), 0);

        CShader* again = CreateShader("again", type);
        EXPECT_EQ(device().programsMade, 2 * programs) << "a new shader makes them again";
        delete again;
        EXPECT_TRUE(device().livePrograms.empty());
    }
    EXPECT_EQ(CreateShader("none", SHADER_TYPE_COUNT), nullptr);
    EXPECT_EQ(CreateShader("none", -1), nullptr);
}

TEST_F(ShaderTest, VertexShaderFollowsTheLightSetKindAndClearsStagesOneToSix) {
    CShader* constant = CreateShader("constant", ST_CONSTANT);
    CShader* lambert = CreateShader("lambert", ST_LAMBERT);
    for (int kind = 0; kind < LIGHT_SET_KIND_COUNT; ++kind) {
        SCOPED_TRACE(kind);
        constant->SetVertexShader(kind);
        EXPECT_NE(device().program, 0u) << "one constant program serves every kind";
        EXPECT_EQ(device().program, GetShaderProgram(ST_CONSTANT, LS_NON));
        lambert->SetVertexShader(kind);
        if (kind == LS_A1D1 || kind == LS_A1P1)
            EXPECT_NE(device().program, 0u);
        else
            EXPECT_EQ(device().program, 0u) << "a kind without a program gives the null program";
    }
    EXPECT_NE(GetShaderProgram(ST_LAMBERT, LS_A1D1), GetShaderProgram(ST_LAMBERT, LS_A1P1));

    // Textures held in stages 1-6 are cleared through the stage cache; 0 and 7 stay.
    CTexture* texture = MakeTestTexture("held", D3DFMT_X8R8G8B8);
    for (int stage = 0; stage < 8; ++stage)
        renderer->SetTexture(stage, texture);
    lambert->SetVertexShader(LS_A1D1);
    EXPECT_EQ(renderer->GetStageTexture(0), texture);
    for (int stage = 1; stage <= 6; ++stage)
        EXPECT_EQ(renderer->GetStageTexture(stage), nullptr) << stage;
    EXPECT_EQ(renderer->GetStageTexture(7), texture);
}

TEST_F(ShaderTest, ColourAlphaAndTextureAlphaDecideTranslucency) {
    CTexture* opaque = MakeTestTexture("opaque", D3DFMT_X8R8G8B8);
    CTexture* alpha = MakeTestTexture("alpha", D3DFMT_A8R8G8B8);
    CTexture* oneBitAlpha = MakeTestTexture("oneBit", D3DFMT_A1R5G5B5);
    CTexture* empty = MakeTestTexture("empty", 0);
    struct Case {
        const char* what;
        float a;
        CTexture* texture;
        bool translucent;
    } cases[] = {
        {"alpha 1", 1.0f, nullptr, false},
        {"alpha 0.999", 0.999f, nullptr, true},
        {"alpha 0", 0.0f, nullptr, true},
        {"alpha 1, opaque texture", 1.0f, opaque, false},
        {"alpha 1, texture with alpha", 1.0f, alpha, true},
        {"alpha 1, texture with one-bit alpha", 1.0f, oneBitAlpha, false},
        {"alpha 1, texture without a loaded frame", 1.0f, empty, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CShader* shader = CreateShader(c.what, ST_LAMBERT);
        shader->SetTexture(c.texture);
        shader->SetColor(0.25f, 0.5f, 0.75f, c.a);
        EXPECT_EQ(shader->IsTranslucent(), c.translucent);
        EXPECT_FLOAT_EQ(shader->GetTranslucency(), 1.0f - c.a);
        ColorRGBA colour = shader->GetColor();
        EXPECT_FLOAT_EQ(colour.a, 1.0f - (1.0f - c.a));
        Forget();
        shader->Apply();
        std::array<float, 4> c78 = Constant(78);
        EXPECT_FLOAT_EQ(c78[0], 0.25f);
        EXPECT_FLOAT_EQ(c78[2], 0.75f);
        EXPECT_FLOAT_EQ(c78[3], 1.0f - (1.0f - c.a));
    }
    // Taking the texture away takes its alpha with it.
    CShader* shader = CreateShader("dropped", ST_LAMBERT);
    shader->SetColor(1, 1, 1, 1);
    shader->SetTexture(alpha);
    EXPECT_TRUE(shader->IsTranslucent());
    shader->SetTexture(nullptr);
    EXPECT_FALSE(shader->IsTranslucent());
}

TEST_F(ShaderTest, AnAnimatedTranslucencyStaysTranslucent) {
    CShader* shader = CreateShader("fading", ST_LAMBERT);
    shader->SetColor(1, 1, 1, 1);
    ASSERT_FALSE(shader->IsTranslucent());
    CHandle handle = shader->GetChannel(AA_TRANSLUCENT);
    CChannel* channel = ChannelHandles().Resolve(handle);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(CChannel::GetNotifier(handle), static_cast<CChangeStamp*>(shader));

    // What an animator's write does: the value, then the owner's notifier.
    channel->m_value = 0.5f;
    CChannel::GetNotifier(handle)->Touch();
    EXPECT_TRUE(shader->IsTranslucent());
    EXPECT_FLOAT_EQ(shader->GetColor().a, 0.5f);

    channel->m_value = 0.0f;
    CChannel::GetNotifier(handle)->Touch();
    EXPECT_FLOAT_EQ(shader->GetColor().a, 1.0f);
    EXPECT_TRUE(shader->IsTranslucent()) << "back at 0, still in the translucent pass";
    shader->SetColor(1, 1, 1, 1);
    shader->Apply();
    EXPECT_TRUE(shader->IsTranslucent());
}

TEST_F(ShaderTest, OnlyTheTranslucencyAttributeHasAChannel) {
    CShader* shader = CreateShader("channels", ST_CONSTANT);
    CHandle translucent = shader->GetChannel(AA_TRANSLUCENT);
    ASSERT_EQ(AA_TRANSLUCENT, 20);
    EXPECT_FALSE(translucent.IsNull());
    EXPECT_NE(ChannelHandles().Resolve(translucent), nullptr);
    for (int attribute : {-1, 0, 9, 13, 14, 19, 21, 100}) {
        SCOPED_TRACE(attribute);
        EXPECT_TRUE(shader->GetChannel(attribute).IsNull());
    }
}

TEST_F(ShaderTest, ApplySetsBlendTextureColourAndAmbient) {
    CTexture* texture = MakeTestTexture("wood", D3DFMT_X8R8G8B8);
    struct Case {
        const char* what;
        int type;
        bool lit;
    } cases[] = {
        {"constant", ST_CONSTANT, false},       {"lambert", ST_LAMBERT, true},
        {"vertex colour", ST_LAMBERT_VB, true}, {"two weights", ST_LAMBERT_2WS, true},
        {"dynamic", ST_LAMBERT_3WS_DY, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CShader* shader = CreateShader(c.what, c.type);
        shader->SetTexture(texture);
        shader->SetColor(0.1f, 0.2f, 0.3f, 1.0f);
        shader->SetMaterialAmbient(ColorRGBA(0.4f, 0.5f, 0.6f, 1.0f));
        shader->SetBlend(1, 6);
        MaterialAmbient().Set(9, 9, 9, 9);
        renderer->SetTexture(0, nullptr);
        s_bound.clear();
        Forget();
        shader->Apply();
        EXPECT_EQ(device().renderStates[D3DRS_SRCBLEND], (DWORD)D3DBLEND_ONE);
        EXPECT_EQ(device().renderStates[D3DRS_DESTBLEND], (DWORD)D3DBLEND_DESTALPHA);
        ASSERT_EQ(s_bound.size(), 1u);
        EXPECT_EQ(s_bound[0].first, texture);
        EXPECT_EQ(s_bound[0].second, 0);
        EXPECT_EQ(Constant(78), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 1.0f}));
        if (c.lit)
            EXPECT_FLOAT_EQ(MaterialAmbient().g, 0.5f);
        else
            EXPECT_FLOAT_EQ(MaterialAmbient().g, 9.0f) << "the constant type sets no material ambient";
    }
    // Blend indices outside 0-10 are refused.
    CShader* shader = CreateShader("blend", ST_CONSTANT);
    EXPECT_EQ(shader->GetSourceBlend(), 4);
    EXPECT_EQ(shader->GetDestinationBlend(), 5);
    shader->SetBlend(11, 0);
    shader->SetBlend(0, -1);
    EXPECT_EQ(shader->GetSourceBlend(), 4);
    EXPECT_EQ(shader->GetDestinationBlend(), 5);
}

TEST_F(ShaderTest, ASkinnedShaderListsAtMostTwentyBones) {
    CBone bone("bone");
    CShader* skinned = CreateShader("many", ST_LAMBERT_4WS);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(skinned->AddBone(&bone)) << i;
    EXPECT_FALSE(skinned->AddBone(&bone));
    EXPECT_EQ(static_cast<CShaderSkinned*>(skinned)->GetBoneCount(), 20);
    EXPECT_FALSE(CreateShader("plain", ST_LAMBERT)->AddBone(&bone));
}

// A scene with a camera five units back along +z and a shape drawn with a
// two-weight skinned shader.
class SkinnedShaderTest : public SceneShadingTest {
protected:
    void SetUp() override {
        SceneShadingTest::SetUp();
        const uint32_t mask = ShaderVertexMask(ST_LAMBERT_2WS);
        // position, normal, weights 1 0, indices 0 3 0 0, texcoord
        std::vector<float> v;
        for (int i = 0; i < 3; ++i)
            v.insert(v.end(), {float(i), 0, 0, 0, 0, 1, 1, 0, 0, 3, 0, 0, 0, 0});
        std::vector<uint8_t> bytes = FloatBytes(v);
        geometry = new CIndexedGeometry("skinGeometry", mask, 3, bytes.data());
        const uint16_t indices[] = {0, 1, 2};
        geometry->AddGroup(PT_TRIANGLE_LIST, 3, indices);
    }

    CBone* Bone(const char* name, float x, float y, float z) {
        CBone* bone = new CBone(name);
        bone->SetTranslation(x, y, z);
        return bone;
    }

    CIndexedGeometry* geometry = nullptr;
};

TEST_F(SkinnedShaderTest, AnInstanceDrawsWithTheScopedBones) {
    CTexture* texture = MakeTestTexture("skinTexture", D3DFMT_X8R8G8B8);
    CShader* templ = CreateShader("skin", ST_LAMBERT_2WS);
    templ->SetColor(0.3f, 0.6f, 0.9f, 1.0f);
    templ->SetMaterialAmbient(ColorRGBA(0.1f, 0.2f, 0.3f, 1.0f));
    templ->SetTexture(texture);
    templ->AddBone(Bone("hip", 1, 2, 3));
    templ->AddBone(Bone("knee", 4, 5, 6));
    templ->AddBone(Bone("toe", 7, 8, 9));
    Bone("hip::the", 10, 20, 30);
    Bone("knee::the", 40, 50, 60);
    // No "toe::the": its entry keeps its place and stands for the identity.

    CShader* instance = templ->Instance("::the");
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(instance, templ);
    EXPECT_EQ(instance->GetName(), "skin::the");
    EXPECT_EQ(instance->GetShaderType(), ST_LAMBERT_2WS);
    EXPECT_EQ(GetShaderTypeReferenceCount(ST_LAMBERT_2WS), 2);
    EXPECT_EQ(instance->GetTexture(), texture);
    ColorRGBA colour = instance->GetColor();
    EXPECT_FLOAT_EQ(colour.b, 0.9f);
    EXPECT_NE(instance->GetChannel(AA_TRANSLUCENT), templ->GetChannel(AA_TRANSLUCENT));
    CShaderSkinned* skinned = static_cast<CShaderSkinned*>(instance);
    ASSERT_EQ(skinned->GetBoneCount(), 3);
    ASSERT_NE(skinned->GetBone(0), nullptr);
    EXPECT_EQ(skinned->GetBone(0)->GetName(), "hip::the");
    EXPECT_EQ(skinned->GetBone(1)->GetName(), "knee::the");
    EXPECT_EQ(skinned->GetBone(2), nullptr);

    CShape* shape = new CShape("legs");
    root->AddChild(shape);
    shape->AddPair(instance, geometry);
    Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    // Palette rows are (offset × world × view) transposed: the translation
    // lands in w, the camera's -5 along z included.
    auto row = [&](int reg) { return Constant(DWORD(reg)); };
    EXPECT_EQ(row(12), (std::array<float, 4>{1, 0, 0, 10}));
    EXPECT_EQ(row(13), (std::array<float, 4>{0, 1, 0, 20}));
    EXPECT_EQ(row(14), (std::array<float, 4>{0, 0, 1, 25}));
    EXPECT_EQ(row(15)[3], 40.0f);
    EXPECT_EQ(row(17)[3], 55.0f);
    EXPECT_EQ(row(18), (std::array<float, 4>{1, 0, 0, 0})) << "the missing bone's entry is the identity";
    EXPECT_EQ(row(20), (std::array<float, 4>{0, 0, 1, 0}));
    EXPECT_EQ(device().constants.count(21), 0u);

    // The template still draws with its own bones.
    CShape* other = new CShape("templateLegs");
    root->AddChild(other);
    other->AddPair(templ, geometry);
    root->RemoveChild(shape);
    Draw();
    EXPECT_EQ(row(12)[3], 1.0f);
    EXPECT_EQ(row(14)[3], -2.0f);
    EXPECT_EQ(row(17)[3], 1.0f);
    EXPECT_EQ(row(18)[3], 7.0f);
}

TEST_F(SkinnedShaderTest, PairsOfOneShapeReadConsecutivePalettes) {
    CShader* upper = CreateShader("upper", ST_LAMBERT_2WS);
    upper->AddBone(Bone("chest", 1, 0, 5));
    upper->AddBone(Bone("neck", 2, 0, 5));
    CShader* lower = CreateShader("lower", ST_LAMBERT_3WS);
    lower->AddBone(Bone("thigh", 3, 0, 5));
    CShape* shape = new CShape("body");
    root->AddChild(shape);
    shape->AddPair(upper, geometry);
    shape->AddPair(lower, geometry);
    Draw();
    ASSERT_EQ(device().draws.size(), 2u);
    // c12 was written twice: the first pair's first bone, then the second's.
    EXPECT_EQ(device().Count("SetVertexShaderConstant 12"), 2);
    EXPECT_EQ(Constant(12)[3], 3.0f) << "the second pair starts after the first pair's two bones";
    EXPECT_EQ(Constant(15)[3], 2.0f) << "left from the first pair";
}

TEST_F(SkinnedShaderTest, StatelessTypesAnswerThemselves) {
    for (int type : {ST_CONSTANT, ST_LAMBERT, ST_LAMBERT_VB}) {
        CShader* shader = CreateShader("stateless", type);
        EXPECT_EQ(shader->Instance("::the"), shader) << type;
    }
}

} // namespace
