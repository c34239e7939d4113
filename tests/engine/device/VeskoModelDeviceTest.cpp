// The character's generated models (model archive 4) loaded through every
// chunk loader of the Windows build, her pictures found through texture list
// 4, and her rest pose drawn skinned and lit on the real device.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d8.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/camera/CameraResource.h"
#include "engine/core/FrameStamp.h"
#include "engine/drawlist/DrawList.h"
#include "engine/light/Light.h"
#include "engine/light/LightSet.h"
#include "engine/math/Vec3.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "engine/render/RenderHooks.h"
#include "tests/engine/device/DeviceFixture.h"
#include "tests/engine/render/PassRenderer.h"
#include "tests/support/PictureCompare.h"

namespace {

constexpr int WIDTH = 120, HEIGHT = 200;
const char* const FILES[] = {
    "vesko.hgm",    "veskoNagasode.hgm", "cloth.hgm",    "dynamicsClothPink.hgm", "dynamicsClothBlue.hgm", "chuchu.hgm",
    "katahimo.hgm", "miniSkirt.hgm",     "nagasode.hgm", "tightSkirt.hgm",        "etonaDress.hgm"};

int g_missing = 0;

class VeskoModelDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_MODEL, 4)])
            GTEST_SKIP() << "this build has no generated archive table";
        data.Enter(std::filesystem::temp_directory_path() / "deskmate-vesko-device");
        window = MakeDeviceTestWindow(WIDTH, HEIGHT);
        ASSERT_NE(window, nullptr);
        renderer = std::make_unique<CPassRenderer>(window, WIDTH, HEIGHT, true, true);
        ASSERT_NE(renderer->GetDevice(), nullptr);
        g_missing = 0;
        SetMissingResourceHandler([](void*) { ++g_missing; });
    }
    void TearDown() override {
        SetMissingResourceHandler(nullptr);
        renderer.reset();
        if (window)
            DestroyWindow(window);
        data.Leave();
    }

    GeneratedDataRun data;
    HWND window = nullptr;
    std::unique_ptr<CPassRenderer> renderer;
};

TEST_F(VeskoModelDeviceTest, HerModelsLoadAndHerRestPoseDrawsSkinnedAndLit) {
    CResourceManager* registry = renderer->GetResourceManager();
    CTransform* sceneRoot = GetRootTransform();
    CTransform* templates = new CTransform("veskoTestTemplates");
    templates->SetParent(sceneRoot);
    templates->SetVisible(0.0f);
    SetDefaultParent(templates);
    std::unique_ptr<CDataArchive> archive(OpenModelArchive(4));
    ASSERT_TRUE(archive);
    SetModelPathPrefix(4);
    for (const char* file : FILES) {
        ChunkWalkResult walk = LoadModelFromArchive(registry, archive.get(), std::string("model/vesko/") + file);
        EXPECT_TRUE(walk.complete) << file;
        EXPECT_GT(walk.accepted, 2) << file;
        EXPECT_EQ(walk.refused, 0) << file;
    }
    archive.reset();
    EXPECT_EQ(g_missing, 0);

    // The face: one texture with the twelve frames of list 4.
    CTexture* face = dynamic_cast<CTexture*>(registry->Find("vesko_face", RT_TEXTURE));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->GetFrameCount(), 12);
    for (const char* material : {"vesko2003E_m0", "vesko2003E_m1", "clothPink2m0", "miniSkirt_m4"}) {
        CShader* shader = dynamic_cast<CShader*>(registry->Find(material, RT_SHADER));
        ASSERT_NE(shader, nullptr) << material;
        EXPECT_NE(shader->GetTexture(), nullptr) << material;
    }

    // Her copy and her everyday dress in the scene, lit as the room lights her.
    CTransform* mainRoot = new CTransform("veskoTestMain");
    mainRoot->SetParent(sceneRoot);
    SetDefaultParent(mainRoot);
    CAmbientLight ambient;
    ambient.SetColor(ColorRGBA(0.3f, 0.3f, 0.3f, 1.0f));
    CTransform* lamp = new CTransform("veskoTestLamp");
    lamp->SetTranslation(100, 200, 300);
    CPointLight* light = new CPointLight("veskoTestLight");
    light->SetParent(lamp);
    light->SetColor(ColorRGBA(0.8f, 0.8f, 0.8f, 1.0f));
    CLightSet lights;
    lights.SetAmbient(&ambient);
    lights.SetLight(0, light);
    CModelInstanceNode body("veskoTestBody", "vesko2002", RT_TRANSFORM, "::the");
    CModelInstanceNode dress("veskoTestDress", "vesko_clothStandard", RT_TRANSFORM, "::the");
    ASSERT_TRUE(body.GetRoot() && dress.GetRoot());
    body.GetRoot()->SetLightSetTree(lights.GetLightSetHandle());
    dress.GetRoot()->SetLightSetTree(lights.GetLightSetHandle());
    CTransform* scaled = dynamic_cast<CTransform*>(registry->Find("veskoRoot::the", RT_TRANSFORM));
    ASSERT_NE(scaled, nullptr);
    scaled->SetScale(16.66f, 16.66f, 16.66f);
    // Accessories are worn only when bought.
    const char* const accessories[] = {
        "cap_Mugiwara",  "cap_Nurse",      "cap_Maid",      "capBexlaPapa",    "shampooHat",   "capNeneko",
        "capHelmet",     "capAlian",       "osageSpin",     "capSummer",       "capAoringo",   "capGreenBeret",
        "capAntena",     "capWitch",       "capAkazukin",   "capRibbonDeFron", "capKosmos",    "kitarou",
        "mimi_nekoMimi", "mimi_kumaMimi",  "mimi_usaMimi",  "mimiAsuka",       "multiSensor2", "osageBexla",
        "mimiSaru",      "mimiRei",        "mimiMomo",      "glass_kurobuchi", "glassStar",    "sippo_neko",
        "sippoSaru",     "henshinBelt",    "angelWing",     "angelRing",       "osageEtona",   "etonaWing",
        "etonaKubiwa",   "etonaBraceletR", "etonaBraceletL"};
    for (const char* name : accessories) {
        CTransform* t = dynamic_cast<CTransform*>(registry->Find((std::string(name) + "::the").c_str(), RT_TRANSFORM));
        ASSERT_NE(t, nullptr) << name;
        t->SetVisible(0.0f);
    }

    // From the front at her middle; 110 room units fill the height.
    CTransform* cameraPlace = new CTransform("veskoTestCameraPlace");
    CMatrix view, place, projection;
    view.SetLookAtRH(Vec3(0, 52, 400), Vec3(0, 52, 0), Vec3(0, 1, 0));
    cameraPlace->SetLocalMatrix(view.GetInverse(place));
    CCameraResource* camera = new CCameraResource("veskoTestCamera");
    camera->SetParent(cameraPlace);
    projection.SetPerspectiveFovRH(2 * std::atan(55.0f / 400), float(WIDTH) / HEIGHT, 10, 2000);
    camera->SetProjection(projection);
    camera->SetFarDistance(2000);
    CSceneDrawList list(0, 1024, 1024, 16, 1024);
    renderer->queue = [&] {
        list.AddTree(mainRoot, camera, true);
        AdvanceFrameStamp();
    };
    IDirect3DDevice8* device = renderer->GetDevice();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    renderer->Pass();
    device->EndScene();
    RgbPicture drawn;
    ASSERT_TRUE(ReadBackBuffer(device, drawn));
    WriteRgbPng((data.ProgramFolder() / "vesko_device.png").string(), drawn);
    PictureDifference d = CompareWithKept(drawn, DESKMATE_SOURCE_DIR "/tests/engine/device/vesko_device_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.02);
    auto at = [&](float x, float y, int rgb[3]) {
        // Room units in the plane z = 0 to pixels.
        const float perUnit = HEIGHT / 110.0f;
        return ReadBackBufferPixel(device, int(WIDTH / 2 + x * perUnit), int(HEIGHT / 2 - (y - 52) * perUnit), rgb);
    };
    struct Probe {
        const char* what;
        float x, y;
        int kind; // 0 background, 1 skin, 2 the blue dress, 3 hair
    };
    const Probe probes[] = {
        {"above her head", 0, 106, 0}, {"beside her knees", 45, 25, 0}, {"her cheek", 3, 84, 1},
        {"her dress", 0, 60, 2},       {"her knee", 4, 25, 1},          {"the top of her hair", 0, 98, 3},
    };
    for (const Probe& p : probes) {
        int rgb[3] = {-1, -1, -1};
        ASSERT_TRUE(at(p.x, p.y, rgb)) << p.what;
        SCOPED_TRACE(std::string(p.what) + ": " + std::to_string(rgb[0]) + " " + std::to_string(rgb[1]) + " " +
                     std::to_string(rgb[2]));
        switch (p.kind) {
        case 0: EXPECT_LT(rgb[0] + rgb[1] + rgb[2], 30); break;
        case 1:
            EXPECT_GT(rgb[0], 120);
            EXPECT_GT(rgb[0], rgb[1]);
            EXPECT_GT(rgb[1], rgb[2]);
            break;
        case 2: EXPECT_GT(rgb[2], rgb[0] + 20); break;
        case 3:
            EXPECT_GT(rgb[0], rgb[2] + 20);
            EXPECT_LT(rgb[0], 230);
            break;
        }
    }
    device->BeginScene();

    // The pink dress instead: its skirt swings on the CPU (a dynamics bone);
    // its first frames start from the rigid pose, so the skirt is where it was bound.
    dress.GetRoot()->SetVisible(0.0f);
    CModelInstanceNode pink("veskoTestPink", "clothPink2", RT_TRANSFORM, "::the");
    ASSERT_NE(pink.GetRoot(), nullptr);
    pink.GetRoot()->SetLightSetTree(lights.GetLightSetHandle());
    for (int frame = 0; frame < 3; ++frame) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        renderer->Pass();
    }
    device->EndScene();
    for (float y : {62.0f, 46.0f}) { // the bodice and the skirt
        int rgb[3] = {-1, -1, -1};
        ASSERT_TRUE(at(2, y, rgb));
        EXPECT_GT(rgb[0], rgb[2] + 20) << y << ": " << rgb[0] << " " << rgb[1] << " " << rgb[2];
        EXPECT_GT(rgb[0], 120) << y;
    }
    device->BeginScene();
}

} // namespace
