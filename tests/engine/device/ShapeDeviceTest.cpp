// A small model read from a chunk stream (texture, lit shader, geometry and
// shape records) drawn through a draw list on the real Direct3D 8 device,
// with the lit and textured colour read back, before and after a device
// reset.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d8.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/camera/CameraResource.h"
#include "engine/chunk/ChunkStream.h"
#include "tests/engine/chunk/StreamBytes.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "tests/engine/device/DeviceFixture.h"
#include "engine/drawlist/DrawList.h"
#include "engine/light/Light.h"
#include "engine/light/LightSet.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/render/PassRenderer.h"
#include "engine/render/RenderHooks.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "tests/platform/image/TestImages.h"

namespace {

constexpr int SIZE = 64;
// The texture's one colour (R, G, B).
constexpr int TEXEL[3] = {200, 100, 50};

// Chunk records, field by field.
StreamBytes TextureRecord() {
    StreamBytes r;
    r.Text("milkTex").Text("milk.bmp").Int(2).Int(2).Int(0).Int(0).Int(0).Float(0.0f);
    return r;
}
StreamBytes ShaderRecord() {
    StreamBytes r;
    r.Text("milkShader").Int(1 /* ST_LAMBERT */).Text("milkTex");
    r.Float(1).Float(1).Float(1).Float(1); // colour
    r.Float(0).Float(0).Float(0).Float(0); // material ambient
    return r;
}
// A quad over the whole view at depth 0.5, facing +z.
StreamBytes GeometryRecord() {
    StreamBytes r;
    r.Text("screenQuad").Float(2).Float(0).Float(0).Float(0.5f).Int(1);
    r.Int((1 << 0) | (1 << 1) | (1 << 11)); // position, normal, texcoord 0
    r.Int(0).Int(4);
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (const auto& c : corners)
        r.Float(c[0]).Float(c[1]).Float(0.5f).Float(0).Float(0).Float(1).Float((c[0] + 1) / 2).Float((1 - c[1]) / 2);
    r.Int(1).Int(1 /* strip */).Int(4).Short(0).Short(1).Short(2).Short(3);
    return r;
}
StreamBytes ShapeRecord() {
    StreamBytes r;
    r.Text("milkShape").Int(1).Text("milkShader").Text("screenQuad");
    return r;
}

class ShapeDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder = GetDataFolder();
        folder = std::filesystem::temp_directory_path() / "deskmate-shape-device";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "model" / "common");
        SetDataFolder(folder.string());
        CImage image;
        image.Allocate(4, 4);
        image.hasAlpha = false;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                uint8_t* p = image.Row(y) + 4 * x;
                p[0] = TEXEL[2], p[1] = TEXEL[1], p[2] = TEXEL[0], p[3] = 255;
            }
        testimages::Bytes bmp = testimages::Bmp(image);
        FILE* f = std::fopen((folder / "model" / "common" / "milk.bmp").string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bmp.data(), 1, bmp.size(), f);
        std::fclose(f);

        scratch.Enter(folder);

        InstallTextureHooks();
        InstallDrawListHooks();
        window = MakeDeviceTestWindow(SIZE, SIZE);
        ASSERT_NE(window, nullptr);
        renderer = std::make_unique<CPassRenderer>(window, SIZE, SIZE, true, true);
        ASSERT_NE(renderer->GetDevice(), nullptr);
        SetModelPathPrefix(0);
    }
    void TearDown() override {
        renderer.reset();
        RemoveDeviceHooks();
        if (window)
            DestroyWindow(window);
        SetDataFolder(savedFolder);
        scratch.Leave();
    }

    // Clears, runs one pass (queue and draw lists) and reads the back buffer.
    bool DrawAndRead(int x, int y, int rgb[3]) {
        IDirect3DDevice8* device = renderer->GetDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        renderer->Pass();
        device->EndScene();
        bool ok = ReadBackBufferPixel(device, x, y, rgb);
        device->BeginScene();
        return ok;
    }

    std::string savedFolder;
    std::filesystem::path folder;
    ScratchDirectory scratch;
    HWND window = nullptr;
    std::unique_ptr<CPassRenderer> renderer;
};

TEST_F(ShapeDeviceTest, ALoadedModelDrawsTexturedAndLit) {
    StreamBytes stream;
    stream.Chunk(3, TextureRecord()).Chunk(1, ShaderRecord()).Chunk(0, GeometryRecord()).Chunk(2, ShapeRecord());
    CResourceManager* registry = renderer->GetResourceManager();
    ChunkWalkResult result = LoadChunkStream(registry, stream.Data(), stream.Size(), CHUNK_MASK_ALL);
    ASSERT_EQ(result.accepted, 4);
    CShape* shape = dynamic_cast<CShape*>(registry->Find("milkShape", RT_SHAPE));
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->GetPairCount(), 1);
    CShader* shader = shape->GetPairShader(0);
    ASSERT_NE(shader, nullptr);
    ASSERT_NE(shader->GetTexture(), nullptr);
    EXPECT_FALSE(shader->IsTranslucent());

    // Ambient 0.2 and a directional light of 0.6 straight along the normal:
    // 0.8 of the texel.
    CAmbientLight ambient;
    ambient.SetColor(ColorRGBA(0.2f, 0.2f, 0.2f, 0.0f));
    CTransform* lamp = new CTransform("lamp");
    CDirectionalLight* sun = new CDirectionalLight("sun");
    lamp->AddChild(sun);
    sun->SetColor(ColorRGBA(0.6f, 0.6f, 0.6f, 1.0f));
    CLightSet lights;
    lights.SetAmbient(&ambient);
    lights.SetLight(0, sun);
    shape->SetLightSet(lights.GetLightSetHandle());

    CTransform* eye = new CTransform("eye");
    CCameraResource* camera = new CCameraResource("camera");
    eye->AddChild(camera);
    camera->SetFarDistance(10);
    CSceneDrawList list(0, 16, 16, 2, 16);
    renderer->queue = [&] { list.AddTree(shape, camera, true); };

    const int expected[3] = {TEXEL[0] * 4 / 5, TEXEL[1] * 4 / 5, TEXEL[2] * 4 / 5};
    int rgb[3] = {-1, -1, -1};
    ASSERT_TRUE(DrawAndRead(SIZE / 2, SIZE / 2, rgb));
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(rgb[c], expected[c], 4) << "channel " << c;

    // A device reset: the geometry's buffers and the texture come back.
    ReleaseAllDeviceObjects();
    ASSERT_EQ(renderer->ResetDevice(), 0);
    RestoreAllDeviceObjects();
    // As the frame loop does after a reset.
    renderer->SetModulateColor(ColorRGBA(1, 1, 1, 1));
    renderer->GetDevice()->BeginScene();
    int again[3] = {-1, -1, -1};
    ASSERT_TRUE(DrawAndRead(SIZE / 4, SIZE / 4, again));
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(again[c], expected[c], 4) << "channel " << c << " after the reset";
}

} // namespace
