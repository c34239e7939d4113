// A draw list on the real device: an opaque shape and translucent ones queued
// under a camera and drawn by the render pass, read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d8.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "engine/camera/CameraResource.h"
#include "engine/textconsole/Console.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "tests/engine/device/DeviceFixture.h"
#include "engine/drawlist/DrawList.h"
#include "engine/light/Light.h"
#include "engine/light/LightSet.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/render/RenderHooks.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"

namespace {

constexpr int SIZE = 64;

class CQueueingRenderer : public CConsoleRenderer {
public:
    using CConsoleRenderer::CConsoleRenderer;
    CDrawList* list = nullptr;
    CNode* scene = nullptr;
    CCameraResource* camera = nullptr;

    int Update(float) override {
        if (IsFirstUpdate())
            list->AddTree(scene, camera, true);
        return 0;
    }
    void Pass() { RunUpdates(); }
};

class DrawListDevice : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = MakeDeviceTestWindow(SIZE, SIZE);
        ASSERT_NE(m_window, nullptr);
        InstallTextureHooks();
        InstallDrawListHooks();
        InstallConsoleHook();
    }
    void TearDown() override {
        SetDrawListPass(nullptr);
        SetConsoleFactory(nullptr);
        if (m_window)
            DestroyWindow(m_window);
    }

    HWND m_window = nullptr;
};

// A camera at the origin looking down -Z, seeing x and y in [-1, 1].
CCameraResource* MakeOrthoCamera() {
    CTransform* mount = new CTransform("mount");
    CCameraResource* camera = new CCameraResource("camera");
    mount->AddChild(camera);
    CMatrix ortho;
    ortho.SetOrthoRH(2, 2, 0.1f, 100);
    camera->SetProjection(ortho);
    camera->SetFarDistance(100);
    return camera;
}

// A flat quad over x in [-1, 1] and y in [y0, y1] (positions and texture
// coordinates), lying in its transform's z = 0 plane.
CIndexedGeometry* MakeQuad(const char* name, float y0, float y1) {
    const float vertices[4][5] = {{-1, y0, 0, 0, 1}, {1, y0, 0, 1, 1}, {-1, y1, 0, 0, 0}, {1, y1, 0, 1, 0}};
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    CIndexedGeometry* quad = new CIndexedGeometry(name, (1u << VE_POSITION) | (1u << VE_TEXCOORDINATE_0), 4, vertices);
    quad->AddGroup(PT_TRIANGLE_LIST, 6, indices);
    return quad;
}

// The renderer's plain texture, or null.
CTexture* DummyTexture() {
    return CurrentResourceManager ? dynamic_cast<CTexture*>(CurrentResourceManager->Find("dummyTex", RT_TEXTURE))
                                  : nullptr;
}

CShape* MakeShape(const char* name, CTransform* parent, float z, CGeometry* geometry, float r, float g, float b,
                  float a) {
    CTransform* place = new CTransform(name);
    parent->AddChild(place);
    place->SetTranslation(0, 0, z);
    CShader* shader = CreateShader(name, ST_CONSTANT);
    shader->SetTexture(DummyTexture());
    shader->SetColor(r, g, b, a);
    CShape* shape = new CShape(name);
    place->AddChild(shape);
    shape->AddPair(shader, geometry);
    return shape;
}

TEST_F(DrawListDevice, TranslucentShapeBlendsOverTheOpaqueOneAndHidesBehindIt) {
    CQueueingRenderer renderer(m_window, SIZE, SIZE, true, true);
    IDirect3DDevice8* device = renderer.GetDevice();
    ASSERT_NE(device, nullptr);
    ASSERT_NE(DummyTexture(), nullptr);
    CSceneDrawList list(0, 64, 64, 4, 1024);

    CCameraResource* camera = MakeOrthoCamera();

    // Translucent ones queued first: the buckets decide the order, not the tree.
    CTransform* scene = new CTransform("scene");
    CGeometry* top = MakeQuad("top", 0, 1);
    CGeometry* bottom = MakeQuad("bottom", -1, 0);
    CGeometry* whole = MakeQuad("whole", -1, 1);
    MakeShape("greenInFront", scene, -2, top, 0, 1, 0, 0.5f);
    MakeShape("blueBehind", scene, -8, bottom, 0, 0, 1, 0.5f);
    MakeShape("red", scene, -5, whole, 1, 0, 0, 1);

    renderer.list = &list;
    renderer.scene = scene;
    renderer.camera = camera;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    renderer.Pass();
    device->EndScene();

    int upper[3], lower[3];
    ASSERT_TRUE(ReadBackBufferPixel(device, SIZE / 2, SIZE / 4, upper));
    ASSERT_TRUE(ReadBackBufferPixel(device, SIZE / 2, 3 * SIZE / 4, lower));
    // Half green over red.
    EXPECT_NEAR(upper[0], 128, 4);
    EXPECT_NEAR(upper[1], 128, 4);
    EXPECT_NEAR(upper[2], 0, 4);
    // The blue one lies behind the red one, whose depth was written first.
    EXPECT_NEAR(lower[0], 255, 4);
    EXPECT_NEAR(lower[1], 0, 4);
    EXPECT_NEAR(lower[2], 0, 4);
    device->BeginScene();
}

TEST_F(DrawListDevice, PointLightIsUploadedInTheSpaceOfTheShapeBeingDrawn) {
    CQueueingRenderer renderer(m_window, SIZE, SIZE, true, true);
    IDirect3DDevice8* device = renderer.GetDevice();
    ASSERT_NE(device, nullptr);
    CSceneDrawList list(0, 16, 16, 2, 64);
    CCameraResource* camera = MakeOrthoCamera();

    // A lit quad facing the camera, 5 in front of it and filling the view.
    struct LitVertex {
        float position[3], normal[3], uv[2];
    };
    const LitVertex vertices[4] = {{{-1, -1, 0}, {0, 0, 1}, {0, 1}},
                                   {{1, -1, 0}, {0, 0, 1}, {1, 1}},
                                   {{-1, 1, 0}, {0, 0, 1}, {0, 0}},
                                   {{1, 1, 0}, {0, 0, 1}, {1, 0}}};
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    auto* quad = new CIndexedGeometry("litQuad", (1u << VE_POSITION) | (1u << VE_NORMAL) | (1u << VE_TEXCOORDINATE_0),
                                      4, vertices);
    quad->AddGroup(PT_TRIANGLE_LIST, 6, indices);
    CTransform* place = new CTransform("litPlace");
    place->SetTranslation(0, 0, -5);
    CShader* shader = CreateShader("lit", ST_LAMBERT);
    shader->SetTexture(DummyTexture());
    shader->SetColor(1, 0.5f, 0.25f, 1);
    shader->SetMaterialAmbient(ColorRGBA(0, 0, 0, 0));
    CShape* shape = new CShape("litShape");
    place->AddChild(shape);
    shape->AddPair(shader, quad);

    // Ambient 0.2 and a point light of 0.6.
    CAmbientLight ambient;
    ambient.SetColor(ColorRGBA(0.2f, 0.2f, 0.2f, 0));
    CTransform* lamp = new CTransform("lamp");
    CPointLight* bulb = new CPointLight("bulb");
    lamp->AddChild(bulb);
    bulb->SetColor(ColorRGBA(0.6f, 0.6f, 0.6f, 1));
    CLightSet lights;
    lights.SetAmbient(&ambient);
    lights.SetLight(0, bulb);
    ASSERT_EQ(lights.GetKind(), LS_A1P1);
    shape->SetLightSet(lights.GetLightSetHandle());

    renderer.list = &list;
    renderer.scene = place;
    renderer.camera = camera;
    // Intensity 0.5 (N.L) + 0.5; lit = 0.6 I + 0.2, times the colour (1, 0.5, 0.25).
    struct Case {
        const char* what;
        float x, y, z; // the light in the world
        float nDotL;   // at every corner of the quad
    } cases[] = {
        // 10 in front of the quad: the corners see it at 10 / sqrt(102).
        {"in front", 0, 0, 5, 10.0f / std::sqrt(102.0f)},
        // Half a unit in front: taken in world space it would be far behind.
        {"close", 0, 0, -4.5f, 0.5f / 1.5f},
        // Far off to the side in the quad's plane: grazing everywhere.
        {"grazing", 1000, 0, -5, 0.0f},
        // Behind the quad: the wrapped term still gives a little.
        {"behind", 0, 0, -15, -10.0f / std::sqrt(102.0f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lamp->SetTranslation(c.x, c.y, c.z);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        renderer.Pass();
        device->EndScene();
        int rgb[3];
        ASSERT_TRUE(ReadBackBufferPixel(device, SIZE / 2, SIZE / 2, rgb));
        const float lit = 0.6f * (0.5f * c.nDotL + 0.5f) + 0.2f;
        EXPECT_NEAR(rgb[0], 255 * lit, 4);
        EXPECT_NEAR(rgb[1], 255 * lit * 0.5f, 4);
        EXPECT_NEAR(rgb[2], 255 * lit * 0.25f, 4);
        device->BeginScene();
    }
}

TEST_F(DrawListDevice, ConsoleBuildsItsResourcesAndDrawsNothingWhenEmpty) {
    CConsoleRenderer renderer(m_window, SIZE, SIZE, true, true);
    ASSERT_NE(renderer.GetDevice(), nullptr);
    CConsole* console = dynamic_cast<CConsole*>(renderer.GetConsole());
    ASSERT_NE(console, nullptr);
    CResourceManager* registry = renderer.GetResourceManager();
    EXPECT_NE(registry->Find("consoleShader", RT_SHADER), nullptr);
    EXPECT_NE(registry->Find("consoleShape", RT_SHAPE), nullptr);
    EXPECT_NE(registry->Find("font", RT_TEXTURE), nullptr);
    auto* geometry = static_cast<CIndexedGeometry*>(registry->Find("consoleGeometry", RT_GEOMETRY));
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->GetVertexCount(), CConsoleRenderer::CONSOLE_CAPACITY * 6);
    EXPECT_EQ(geometry->GetVertexSize(), 20);
}

} // namespace
