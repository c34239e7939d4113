// The shaders' vertex programs on the real device: each is created with its
// shader type's declaration, fed constants set by hand the way the renderer,
// the lights and the shaders upload them, and judged by the colour it draws.
#include "tests/engine/device/DeviceFixture.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/math/Matrix.h"
#include "engine/vertexprogram/VertexPrograms.h"

namespace {

struct Vertex {
    float position[3];
    float normal[3];
    float weights[4];
    float indices[4]; // 3 × palette index
    float color[4];
    float uv[2];
};

int WeightCount(int type) {
    switch (type) {
    case ST_LAMBERT_2WS:
    case ST_LAMBERT_2WS_DY: return 2;
    case ST_LAMBERT_3WS:
    case ST_LAMBERT_3WS_DY: return 3;
    case ST_LAMBERT_4WS:
    case ST_LAMBERT_4WS_DY: return 4;
    default: return 0;
    }
}

// The vertex as the geometry of the shader type packs it.
void Pack(int type, const Vertex& v, std::vector<float>& out) {
    out.insert(out.end(), v.position, v.position + 3);
    if (type != ST_CONSTANT)
        out.insert(out.end(), v.normal, v.normal + 3);
    if (int n = WeightCount(type)) {
        out.insert(out.end(), v.weights, v.weights + n);
        out.insert(out.end(), v.indices, v.indices + 4);
    }
    if (type == ST_LAMBERT_VB)
        out.insert(out.end(), v.color, v.color + 4);
    out.insert(out.end(), v.uv, v.uv + 2);
}

// The 96 constant registers, zero unless set.
struct Constants {
    float c[96][4] = {};

    void Set(int r, float x, float y, float z, float w) { c[r][0] = x, c[r][1] = y, c[r][2] = z, c[r][3] = w; }
    // A row-vector matrix, transposed as the renderer uploads it.
    void SetMatrix(int r, const CMatrix& m) {
        for (int i = 0; i < 4; ++i)
            Set(r + i, m(0, i), m(1, i), m(2, i), m(3, i));
    }
    // Palette entry i: the first three rows of the transposed matrix.
    void SetPalette(int i, const CMatrix& m) {
        for (int row = 0; row < 3; ++row)
            Set(12 + 3 * i + row, m(0, row), m(1, row), m(2, row), m(3, row));
    }
};

struct V3 {
    float x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(float s, V3 a) { return {s * a.x, s * a.y, s * a.z}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Normalize(V3 a) { return (1.0f / std::sqrt(Dot(a, a))) * a; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
// Row vector (p, w) × m, first three components.
V3 Transform(V3 p, float w, const CMatrix& m) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + w * m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + w * m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + w * m(3, 2)};
}

// What a test knows of a program: the shader type it is drawn with, where
// its position matrix is, which light register it reads and whether c74
// applies. The skinned ones get an identity bone at palette entry 2.
struct Program {
    VertexProgramId id;
    int type;
    int matrix;
    int light;
    bool modulated;
};

const Program DIRECTIONAL_PROGRAMS[] = {
    {VP_LAMBERT_A1D1, ST_LAMBERT, 0, 82, true},           {VP_LAMBERT_2WS_A1D, ST_LAMBERT_2WS, 8, 83, true},
    {VP_LAMBERT_3WS_A1D, ST_LAMBERT_3WS, 8, 83, true},    {VP_LAMBERT_4WS_A1D, ST_LAMBERT_4WS, 8, 83, true},
    {VP_LAMBERT_VC_A1D, ST_LAMBERT_VB, 0, 82, true},      {VP_LAMBERT_DY_A1D1, ST_LAMBERT_2WS_DY, 4, 82, true},
    {VP_LAMBERT_DY_A1D1, ST_LAMBERT_4WS_DY, 4, 82, true},
};
const Program POINT_PROGRAMS[] = {
    {VP_LAMBERT_A1P1, ST_LAMBERT, 0, 82, false},        {VP_LAMBERT_2WS_A1P1, ST_LAMBERT_2WS, 8, 83, true},
    {VP_LAMBERT_3WS_A1P1, ST_LAMBERT_3WS, 8, 83, true}, {VP_LAMBERT_4WS_A1P1, ST_LAMBERT_4WS, 8, 83, true},
    {VP_LAMBERT_VC_A1P1, ST_LAMBERT_VB, 0, 82, true},   {VP_LAMBERT_DY_A1P1, ST_LAMBERT_3WS_DY, 4, 84, false},
};
const Program CONSTANT_PROGRAM = {VP_CONSTANT, ST_CONSTANT, 0, 0, false};

const int IDENTITY_BONE = 2;
const CMatrix IDENTITY;

// A triangle that covers the whole 64 × 64 target in clip space.
const V3 SCREEN_TRIANGLE[3] = {{-1, -1, 0.5f}, {3, -1, 0.5f}, {-1, 3, 0.5f}};

// Vertex defaults: bound wholly to the identity bone, with the other
// indices on an entry that throws the vertex off screen; white colour.
Vertex MakeVertex(V3 position, V3 normal) {
    Vertex v = {};
    v.position[0] = position.x, v.position[1] = position.y, v.position[2] = position.z;
    v.normal[0] = normal.x, v.normal[1] = normal.y, v.normal[2] = normal.z;
    v.weights[0] = 1;
    v.indices[0] = 3 * IDENTITY_BONE;
    for (float& c : v.color)
        c = 1;
    return v;
}

// The renderer's fixed registers, the program's position matrix (the other
// two stay zero, so a program reading the wrong one draws nothing), the
// palette (identity at entry 2, every other entry far off screen) and plain
// texture rows.
Constants BaseConstants(const Program& p) {
    Constants k;
    k.Set(74, 1, 1, 1, 1);
    k.Set(75, 0, 0.5f, 1, 2);
    k.Set(76, 1, 1, 1, 1);
    k.Set(77, 0, 0, 0, 0);
    k.Set(78, 1, 1, 1, 1);
    k.SetMatrix(p.matrix, IDENTITY);
    CMatrix away;
    away.SetTranslation(5, 5, 0);
    for (int i = 0; i < 20; ++i)
        k.SetPalette(i, i == IDENTITY_BONE ? IDENTITY : away);
    k.Set(91, 1, 0, 0, 0);
    k.Set(92, 0, 1, 0, 0);
    return k;
}

const DWORD CLEAR_COLOR = D3DCOLOR_XRGB(0, 0, 255);

class VertexProgramDevice : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        if (!m_device)
            return;
        m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
        m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    }

    // Draws one triangle through the program with the type's declaration;
    // the frame stays in the back buffer for ReadPixel.
    void Draw(const Program& p, const Vertex tri[3], const Constants& k) {
        const std::vector<uint32_t>& decl = GetVertexDeclarationTokens(p.type);
        const std::vector<uint32_t>& program = GetVertexProgramTokens(p.id);
        DWORD handle = 0;
        ASSERT_EQ(m_device->CreateVertexShader((const DWORD*)decl.data(), (const DWORD*)program.data(), &handle, 0),
                  D3D_OK);
        std::vector<float> data;
        for (int i = 0; i < 3; ++i)
            Pack(p.type, tri[i], data);
        ASSERT_EQ(m_device->SetVertexShaderConstant(0, k.c, 96), D3D_OK);
        m_device->SetVertexShader(handle);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, CLEAR_COLOR, 1.0f, 0), D3D_OK);
        ASSERT_EQ(m_device->BeginScene(), D3D_OK);
        EXPECT_EQ(
            m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, data.data(), (UINT)(data.size() / 3 * sizeof(float))),
            D3D_OK);
        ASSERT_EQ(m_device->EndScene(), D3D_OK);
        m_device->SetVertexShader(0);
        m_device->DeleteVertexShader(handle);
    }

    // Expects the pixel at clip-space (x, y) to hold the colour (0-1 floats).
    void ExpectColor(float x, float y, float r, float g, float b, const std::string& what) {
        int px = (int)((x + 1) * 0.5f * SIZE), py = (int)((1 - y) * 0.5f * SIZE);
        int rgb[3] = {-1, -1, -1};
        ASSERT_TRUE(ReadPixel(px, py, rgb));
        const float want[3] = {r, g, b};
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(rgb[i], want[i] * 255.0f, 3.0f) << what << ", channel "
                                                        << "rgb"[i];
    }
    void ExpectClear(float x, float y, const std::string& what) { ExpectColor(x, y, 0, 0, 1, what); }
};

// One lighting set-up: the cosine between normal and light, the light and
// ambient colours, the material colour and the colour the unmodulated
// programs must draw, worked out by hand.
struct Lighting {
    const char* name;
    float cosine;
    float light[4], ambient[4], material[4];
    float lit[3];
};
// I = 0.5 cos + 0.5; lit = min(I × light + ambient, 1) × material.
const Lighting LIGHTINGS[] = {
    {"facing", 1.0f, {0.5f, 0.25f, 0.75f, 1}, {0.1f, 0.2f, 0.1f, 0}, {1, 1, 1, 1}, {0.6f, 0.45f, 0.85f}},
    {"60 degrees", 0.5f, {0.8f, 0.4f, 0.4f, 1}, {0.1f, 0.2f, 0.1f, 0}, {1, 0.5f, 1, 1}, {0.7f, 0.25f, 0.4f}},
    {"side on", 0.0f, {1, 0.6f, 0.2f, 1}, {0, 0, 0, 0}, {1, 1, 1, 1}, {0.5f, 0.3f, 0.1f}},
    {"from behind", -1.0f, {1, 1, 1, 1}, {0.2f, 0.3f, 0.4f, 0}, {1, 1, 1, 1}, {0.2f, 0.3f, 0.4f}},
    {"clamped", 1.0f, {1, 0.5f, 0, 1}, {0.8f, 0.8f, 0.8f, 0}, {0.5f, 1, 1, 1}, {0.5f, 1, 0.8f}},
};
const float MODULATE[4] = {0.5f, 1, 0.8f, 1};

void SetLightingColors(Constants& k, const Lighting& l) {
    k.Set(74, MODULATE[0], MODULATE[1], MODULATE[2], MODULATE[3]);
    k.Set(78, l.material[0], l.material[1], l.material[2], l.material[3]);
    k.Set(80, l.ambient[0], l.ambient[1], l.ambient[2], l.ambient[3]);
    k.Set(81, l.light[0], l.light[1], l.light[2], l.light[3]);
}

std::string Describe(const Program& p, const Lighting& l) {
    return std::string(GetVertexProgramName(p.id)) + " type " + std::to_string(p.type) + ", " + l.name;
}

// Channel c of what the program draws under the lighting: the lit colour,
// times the modulate colour where the program modulates.
float ExpectedLit(const Program& p, const Lighting& l, int c) {
    return p.modulated ? l.lit[c] * MODULATE[c] : l.lit[c];
}

TEST_F(VertexProgramDevice, DirectionalLightWrappedLambert) {
    const V3 normal = {0, 0, 1};
    for (const Program& p : DIRECTIONAL_PROGRAMS)
        for (const Lighting& l : LIGHTINGS) {
            const std::string what = Describe(p, l);
            V3 dir = {std::sqrt(1 - l.cosine * l.cosine), 0, l.cosine};
            Constants k = BaseConstants(p);
            SetLightingColors(k, l);
            // The light in the register the program reads; the opposite one in
            // the registers it must not read.
            for (int r = 82; r <= 84; ++r) {
                float s = r == p.light ? 0.5f : -0.5f;
                k.Set(r, s * dir.x, s * dir.y, s * dir.z, 0.5f);
            }
            Vertex tri[3];
            for (int i = 0; i < 3; ++i)
                tri[i] = MakeVertex(SCREEN_TRIANGLE[i], normal);
            Draw(p, tri, k);
            ExpectColor(0, 0, ExpectedLit(p, l, 0), ExpectedLit(p, l, 1), ExpectedLit(p, l, 2), what);
        }
}

// Each vertex's normal makes the same angle with its own direction to the
// light, which is at a different distance from each.
TEST_F(VertexProgramDevice, PointLightNormalizedPerVertex) {
    const V3 light = {0.2f, 0.3f, -2.0f}, decoy = {-0.2f, -0.3f, 3.0f};
    for (const Program& p : POINT_PROGRAMS)
        for (const Lighting& l : LIGHTINGS) {
            const std::string what = Describe(p, l);
            Constants k = BaseConstants(p);
            SetLightingColors(k, l);
            for (int r = 82; r <= 84; ++r) {
                V3 at = r == p.light ? light : decoy;
                k.Set(r, at.x, at.y, at.z, 1);
            }
            Vertex tri[3];
            for (int i = 0; i < 3; ++i) {
                V3 toLight = Normalize(light - SCREEN_TRIANGLE[i]);
                V3 side = Normalize(Cross(toLight, {0, 0, 1}));
                V3 normal = l.cosine * toLight + std::sqrt(1 - l.cosine * l.cosine) * side;
                tri[i] = MakeVertex(SCREEN_TRIANGLE[i], normal);
            }
            Draw(p, tri, k);
            ExpectColor(0, 0, ExpectedLit(p, l, 0), ExpectedLit(p, l, 1), ExpectedLit(p, l, 2), what);
        }
}

TEST_F(VertexProgramDevice, ConstantProgramDrawsTheMaterialColourUnlit) {
    Constants k = BaseConstants(CONSTANT_PROGRAM);
    k.Set(74, 0.5f, 0.5f, 0.5f, 1);
    k.Set(78, 0.2f, 0.6f, 0.9f, 1);
    k.Set(80, 1, 1, 1, 1);
    k.Set(81, 1, 1, 1, 1);
    Vertex tri[3];
    for (int i = 0; i < 3; ++i)
        tri[i] = MakeVertex(SCREEN_TRIANGLE[i], {0, 0, 1});
    Draw(CONSTANT_PROGRAM, tri, k);
    ExpectColor(0, 0, 0.2f, 0.6f, 0.9f, "constant");
}

// The vertex colour multiplies the lit colour before the clamp:
// (1.6, 0.6, 1.2) × (0.5, 1, 0.5) = (0.8, 0.6, 0.6), where clamping first
// would give (0.5, 0.6, 0.5).
TEST_F(VertexProgramDevice, VertexColourMultipliesBeforeTheClamp) {
    const Program programs[] = {DIRECTIONAL_PROGRAMS[4], POINT_PROGRAMS[4]};
    for (const Program& p : programs) {
        Constants k = BaseConstants(p);
        k.Set(80, 0.6f, 0.1f, 0.2f, 0);
        k.Set(81, 1, 0.5f, 1, 1);
        const V3 light = {0, 0, -50};
        Vertex tri[3];
        for (int i = 0; i < 3; ++i) {
            // Facing the light (I = 1) under both programs.
            V3 normal = p.id == VP_LAMBERT_VC_A1D ? V3{0, 0, -1} : Normalize(light - SCREEN_TRIANGLE[i]);
            tri[i] = MakeVertex(SCREEN_TRIANGLE[i], normal);
            const float color[4] = {0.5f, 1, 0.5f, 1};
            std::copy(color, color + 4, tri[i].color);
        }
        if (p.id == VP_LAMBERT_VC_A1D)
            k.Set(82, 0, 0, -0.5f, 0.5f);
        else
            k.Set(82, light.x, light.y, light.z, 1);
        Draw(p, tri, k);
        ExpectColor(0, 0, 0.8f, 0.6f, 0.6f, GetVertexProgramName(p.id));
    }
}

// Two bones, half each: one at palette entry 1 (index 3) shifts, the other
// turns a quarter round z and shifts. The 3- and 4-weight programs get the
// second bone's half split over copies of it at entries 4, 6 and 7, so every
// weight must count. The triangle lands only where the blend puts it, and
// its normal (1, 0, 0) is blended to half of it plus half of the turned one.
TEST_F(VertexProgramDevice, TwoBoneSkinningMovesPositionAndNormal) {
    CMatrix shift, turn, turnShift;
    shift.SetTranslation(0.6f, 0, 0);
    turn.SetRotationZ(1.5707964f);
    turnShift.SetTranslation(0.9f, 0.5f, 0);
    CMatrix boneB;
    turnShift.PreMultiply(boneB, turn); // turn, then shift

    const V3 centre = {-0.5f, 0, 0.5f};
    const V3 corners[3] = {{-0.3f, -0.2f, 0}, {0.3f, -0.2f, 0}, {0, 0.4f, 0}};
    const V3 normal = {1, 0, 0};
    V3 turned = Transform(normal, 0, boneB);
    V3 landed = 0.5f * Transform(centre, 1, shift) + 0.5f * Transform(centre, 1, boneB);
    V3 shiftedOnly = Transform(centre, 1, shift);
    // Lit along the turned normal: the blended normal (unit normal and turned
    // one at right angles) has N · L = 0.5, or 0.7071 once renormalised; an
    // unskinned normal would give 0.
    const V3 lightDir = turned;

    const Program programs[] = {DIRECTIONAL_PROGRAMS[1], DIRECTIONAL_PROGRAMS[2], DIRECTIONAL_PROGRAMS[3],
                                POINT_PROGRAMS[1],       POINT_PROGRAMS[2],       POINT_PROGRAMS[3]};
    for (const Program& p : programs) {
        std::string what = GetVertexProgramName(p.id);
        Constants k = BaseConstants(p);
        k.SetPalette(1, shift);
        for (int entry : {4, 6, 7})
            k.SetPalette(entry, boneB);
        k.Set(81, 1, 1, 1, 1);
        bool point = p.light == 83 && p.id >= VP_LAMBERT_2WS_A1P1;
        if (point) {
            V3 at = landed + 40.0f * lightDir; // far, so the small triangle sees one direction
            k.Set(83, at.x, at.y, at.z, 1);
        } else {
            k.Set(83, 0.5f * lightDir.x, 0.5f * lightDir.y, 0.5f * lightDir.z, 0.5f);
        }
        // Weights and indices (3 × entry) by weight count.
        const float weights[3][4] = {{0.5f, 0.5f}, {0.5f, 0.25f, 0.25f}, {0.5f, 0.25f, 0.125f, 0.125f}};
        const float indices[3][4] = {{3, 12}, {3, 12, 18}, {3, 12, 18, 21}};
        int n = WeightCount(p.type);
        Vertex tri[3];
        for (int i = 0; i < 3; ++i) {
            tri[i] = MakeVertex(centre + corners[i], normal);
            std::copy(weights[n - 2], weights[n - 2] + 4, tri[i].weights);
            std::copy(indices[n - 2], indices[n - 2] + 4, tri[i].indices); // unused ones on entry 0, far away
        }
        Draw(p, tri, k);
        bool renormalized = point || p.id == VP_LAMBERT_4WS_A1D;
        float intensity = renormalized ? 0.5f * 0.70710678f + 0.5f : 0.75f;
        ExpectColor(landed.x, landed.y, intensity, intensity, intensity, what + " at the blended place");
        ExpectClear(centre.x, centre.y, what + " at the unskinned place");
        ExpectClear(shiftedOnly.x, shiftedOnly.y, what + " at the first bone's place");
    }
}

// Alpha through blending (source × its alpha over nothing): min(c81.a (+ c80.a
// in the 2-weight directional program), 1) × c78.a, × c74.a where it applies.
TEST_F(VertexProgramDevice, AlphaFollowsLightMaterialAndModulate) {
    struct Case {
        Program program;
        float alpha;
    };
    const Case cases[] = {
        {CONSTANT_PROGRAM, 0.8f},        {DIRECTIONAL_PROGRAMS[0], 0.2f}, {DIRECTIONAL_PROGRAMS[1], 0.3f},
        {DIRECTIONAL_PROGRAMS[2], 0.2f}, {DIRECTIONAL_PROGRAMS[3], 0.2f}, {DIRECTIONAL_PROGRAMS[4], 0.2f},
        {DIRECTIONAL_PROGRAMS[5], 0.2f}, {POINT_PROGRAMS[0], 0.4f},       {POINT_PROGRAMS[1], 0.2f},
        {POINT_PROGRAMS[2], 0.2f},       {POINT_PROGRAMS[3], 0.2f},       {POINT_PROGRAMS[4], 0.2f},
        {POINT_PROGRAMS[5], 0.4f},
    };
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    for (const Case& c : cases) {
        const Program& p = c.program;
        Constants k = BaseConstants(p);
        k.Set(74, 1, 1, 1, 0.5f);
        k.Set(78, 1, 1, 1, 0.8f);
        k.Set(80, 1, 1, 1, 0.25f); // the colour clamps to white; only alpha varies
        k.Set(81, 0, 0, 0, 0.5f);
        for (int r = 82; r <= 84; ++r)
            k.Set(r, 0, 0, 5, 1);
        Vertex tri[3];
        for (int i = 0; i < 3; ++i)
            tri[i] = MakeVertex(SCREEN_TRIANGLE[i], {0, 0, 1});
        Draw(p, tri, k);
        ExpectColor(0, 0, c.alpha, c.alpha, c.alpha, GetVertexProgramName(p.id));
    }
}

// A 2 × 2 texture with point sampling: red, green / blue, yellow. The vertex
// coordinate (0.75, 0.25) picks green; the texture rows c91, c92 swap u and
// v, which only the two plain Lambert programs apply (blue).
TEST_F(VertexProgramDevice, TextureCoordinateOutput) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(texture->LockRect(0, &lr, nullptr, 0), D3D_OK);
    const DWORD texels[2][2] = {{0xFFFF0000, 0xFF00FF00}, {0xFF0000FF, 0xFFFFFF00}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            ((DWORD*)((BYTE*)lr.pBits + y * lr.Pitch))[x] = texels[y][x];
    texture->UnlockRect(0);
    m_device->SetTexture(0, texture);
    m_device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    m_device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);

    std::vector<Program> programs = {CONSTANT_PROGRAM};
    programs.insert(programs.end(), std::begin(DIRECTIONAL_PROGRAMS), std::end(DIRECTIONAL_PROGRAMS));
    programs.insert(programs.end(), std::begin(POINT_PROGRAMS), std::end(POINT_PROGRAMS));
    for (const Program& p : programs) {
        Constants k = BaseConstants(p);
        k.Set(80, 1, 1, 1, 1); // white diffuse
        k.Set(91, 0, 1, 0, 0);
        k.Set(92, 1, 0, 0, 0);
        Vertex tri[3];
        for (int i = 0; i < 3; ++i) {
            tri[i] = MakeVertex(SCREEN_TRIANGLE[i], {0, 0, 1});
            tri[i].uv[0] = 0.75f, tri[i].uv[1] = 0.25f;
        }
        Draw(p, tri, k);
        bool transformed = p.type == ST_LAMBERT;
        ExpectColor(0, 0, 0, transformed ? 0 : 1, transformed ? 1 : 0, GetVertexProgramName(p.id));
    }
    m_device->SetTexture(0, nullptr);
    texture->Release();
}

} // namespace
