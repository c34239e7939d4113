// Vesko assembled from the build's data in the room of the render manager and
// the world, drawn on the real device: six of her motions at a telling frame
// each, and four of her clothes while she stands. Each group is one sheet,
// kept beside the test program and compared with the reference beside this
// test.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d8.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/act/Act.h"
#include "character/act/BoneChainNode.h"
#include "character/device/DeviceBindings.h"
#include "character/preload/Preload.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataFolder.h"
#include "engine/camera/CameraResource.h"
#include "engine/core/Random.h"
#include "engine/drawlist/DrawList.h"
#include "engine/math/Matrix.h"
#include "engine/render/RenderHooks.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/render/RenderManager.h"
#include "shell/world/RoomCamera.h"
#include "shell/world/World.h"
#include "tests/character/ai/AiFixtures.h"
#include "tests/engine/device/DeviceFixture.h"
#include "tests/support/PictureCompare.h"

namespace {

constexpr int SHOT_WIDTH = 160, SHOT_HEIGHT = 200;
constexpr float STEP_MS = 1000.0f / 60.0f;
constexpr const char* SCOPE = "::the";

// Queues the main scene in the first update of a pass, as the system object does.
class CShotRenderer : public CRenderer {
public:
    CShotRenderer(HWND window) : CRenderer(window, SHOT_WIDTH, SHOT_HEIGHT, true, true) {}
    int Update(float) override {
        if (IsFirstUpdate() && render)
            render->DrawMain();
        return 0;
    }
    void Pass() { RunUpdates(); }
    CRenderManager* render = nullptr;
};

// Shots side by side, columns to a row; a shot missing is left black.
RgbPicture ComposeSheet(const std::vector<RgbPicture>& shots, int columns) {
    RgbPicture sheet;
    const int rows = (int(shots.size()) + columns - 1) / columns;
    sheet.width = SHOT_WIDTH * columns;
    sheet.height = SHOT_HEIGHT * rows;
    sheet.rgb.assign(size_t(sheet.width) * size_t(sheet.height) * 3, 0);
    for (size_t i = 0; i < shots.size(); ++i) {
        const RgbPicture& shot = shots[i];
        if (shot.width != SHOT_WIDTH || shot.height != SHOT_HEIGHT)
            continue;
        const int left = int(i) % columns * SHOT_WIDTH, top = int(i) / columns * SHOT_HEIGHT;
        for (int y = 0; y < SHOT_HEIGHT; ++y)
            std::copy_n(&shot.rgb[size_t(y) * SHOT_WIDTH * 3], SHOT_WIDTH * 3,
                        &sheet.rgb[(size_t(top + y) * size_t(sheet.width) + size_t(left)) * 3]);
    }
    return sheet;
}

class VeskoPictures : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_MODEL, 4)])
            GTEST_SKIP() << "this build has no generated archive table";
        data.Enter(std::filesystem::temp_directory_path() / "deskmate-vesko-pictures");
        window = MakeDeviceTestWindow(SHOT_WIDTH, SHOT_HEIGHT);
        ASSERT_NE(window, nullptr);
        renderer = std::make_unique<CShotRenderer>(window);
        ASSERT_NE(renderer->GetDevice(), nullptr);
        SeedRand(7);

        // As the system object sets up: render manager, world, then her.
        render = new CRenderManager(window, nullptr, nullptr);
        renderer->render = render;
        render->FitCameras(SHOT_WIDTH, SHOT_HEIGHT);
        LoadWorldModels(*render);
        LoadWorldAnimations();
        world = new CWorld("world", *render, SCOPE);
        ASSERT_TRUE(world->HasRoom());
        CResourceManager* registry = renderer->GetResourceManager();
        PreloadCharacterModels(registry, [this] { render->SelectResourceRoot(); });
        PreloadCharacterAnimations(registry);
        render->SelectMainRoot();
        colorTarget = std::make_unique<CRendererColorTarget>(renderer.get());
        CharacterScene scene;
        scene.mainRoot = render->GetMainRoot();
        scene.lightSet = render->GetItemLightSet().GetLightSetHandle();
        scene.renderer = colorTarget.get();
        scene.textures = &binder;
        scene.setting = &setting;
        std::string missing;
        vesko.reset(CCharacter::Assemble("vesko", SCOPE, scene, nullptr, missing));
        ASSERT_NE(vesko, nullptr) << missing;
        std::ostringstream out;
        vesko->HandleCommand(out, "ai", {"stop"});
        // Everything is hers, so that every cloth and good may be used; she
        // dresses as after loading the saved game.
        vesko->HandleCommand(out, "itemcomplete", {});
        vesko->AfterLoad();
        world->Update(*render, 0.0f);

        cameraPlace = new CTransform("veskoPicturesCameraPlace");
        camera = new CCameraResource("veskoPicturesCamera");
        camera->SetParent(cameraPlace);
        render->SetMainCamera(camera, FIELD_OF_VIEW);
    }
    void TearDown() override {
        vesko.reset();
        delete world;
        delete render;
        colorTarget.reset();
        renderer.reset();
        if (window)
            DestroyWindow(window);
        data.Leave();
    }

    void Step(int updates) {
        for (int i = 0; i < updates; ++i) {
            vesko->Update(&setting, render, nullptr, *world, false, STEP_MS);
            world->Update(*render, STEP_MS);
        }
    }

    // Runs her queue until the named action plays, then on for frames updates.
    bool PlayUntil(const std::string& action, int frames) {
        for (int i = 0; i < 3000 && vesko->GetCurrentActionName() != action; ++i)
            Step(1);
        if (vesko->GetCurrentActionName() != action)
            return false;
        Step(frames);
        return vesko->GetCurrentActionName() == action;
    }

    CTransform* Find(const std::string& name, int kind = RT_TRANSFORM) {
        return dynamic_cast<CTransform*>(CurrentResourceManager->Find((name + SCOPE).c_str(), kind));
    }

    // Her hips in room space, as last drawn.
    Vec3 Middle() {
        CTransform* hips =
            dynamic_cast<CTransform*>(CurrentResourceManager->Find((std::string("koshi") + SCOPE).c_str(), RT_BONE));
        if (!hips)
            return vesko->GetPosition();
        const CMatrix& m = hips->GetWorldMatrix();
        return Vec3(m.m[3][0], m.m[3][1], m.m[3][2]);
    }

    // At the given distance, looking at her hips: from the room camera's side
    // and above, or from in front of her at her height.
    RgbPicture Shoot(float distance, bool fromFront = false) {
        // One pass brings her bones up to date.
        renderer->Pass();
        renderer->GetDevice()->EndScene();
        renderer->GetDevice()->BeginScene();
        Vec3 target = Middle();
        Vec3 toward(ROOM_CAMERA_EYE.x - target.x, 0.0f, ROOM_CAMERA_EYE.z - target.z);
        float rise = 0.6f;
        if (fromFront) {
            const CMatrix& m = vesko->GetBody()->GetRootTransform()->GetWorldMatrix();
            toward = Vec3(m.m[2][0], 0.0f, m.m[2][2]);
            rise = 0.15f;
        }
        const float length = std::sqrt(toward.x * toward.x + toward.z * toward.z);
        Vec3 eye(target.x + toward.x / length * distance, target.y + distance * rise,
                 target.z + toward.z / length * distance);
        CMatrix view, place;
        view.SetLookAtRH(eye, target, Vec3(0, 1, 0));
        cameraPlace->SetLocalMatrix(view.GetInverse(place));
        IDirect3DDevice8* device = renderer->GetDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        renderer->Pass();
        device->EndScene();
        RgbPicture shot;
        EXPECT_TRUE(ReadBackBuffer(device, shot));
        device->BeginScene();
        return shot;
    }

    void CheckSheet(const RgbPicture& sheet, const char* name) {
        WriteRgbPng((data.ProgramFolder() / (std::string(name) + ".png")).string(), sheet);
        PictureDifference d = CompareWithKept(sheet, std::string(DESKMATE_SOURCE_DIR "/tests/character/device/") +
                                                         name + "_reference.png");
        ASSERT_TRUE(d.sameSize) << name;
        EXPECT_LT(d.meanChannelDifference, 3.0) << name;
        EXPECT_LT(d.changedShare, 0.02) << name;
    }

    static constexpr float FIELD_OF_VIEW = 0.5f;

    GeneratedDataRun data;
    HWND window = nullptr;
    std::unique_ptr<CShotRenderer> renderer;
    CRenderManager* render = nullptr;
    CWorld* world = nullptr;
    std::unique_ptr<CRendererColorTarget> colorTarget;
    CShaderTextureBinder binder;
    FakeSetting setting;
    std::unique_ptr<CCharacter> vesko;
    CTransform* cameraPlace = nullptr;
    CCameraResource* camera = nullptr;
};

// Six motions, each at a frame that shows what she does.
TEST_F(VeskoPictures, SixMotions) {
    struct Shot {
        const char* what;
        std::vector<CActRequest> requests;
        const char* action; // the one whose frame is drawn
        int frames;
        float distance;
        const char* held = nullptr; // the good in her left hand
    };
    const std::vector<Shot> shots = {
        {"walking", {CActRequest("walk", -100.0f, 150.0f)}, "walk", 40, 320.0f},
        {"asleep in bed", {CActRequest("sleepIn"), CActRequest("sleep02")}, "sleep02", 60, 360.0f},
        {"eating ice cream",
         {CActRequest("iceCreamHandle00"), CActRequest("eatDown00"), CActRequest("iceCream00"),
          CActRequest("iceCream02")},
         "iceCream02",
         50,
         240.0f,
         "iceCream"},
        {"drumming", {CActRequest("congaOn00"), CActRequest("conga01")}, "conga01", 45, 320.0f},
        {"at the kotatsu", {CActRequest("kotatsuIn00"), CActRequest("kotatsu03")}, "kotatsu03", 60, 340.0f},
        {"swinging the light saber",
         {CActRequest("lightSaberHandle00"), CActRequest("lightSaberHandleL00"), CActRequest("lightSaber00"),
          CActRequest("lightSaber01", "10")},
         "lightSaber01",
         40,
         280.0f,
         "lightSaber"},
    };
    std::ostringstream out;
    vesko->HandleCommand(out, "cloth", {"clothDefault"});
    std::vector<RgbPicture> pictures;
    for (const Shot& shot : shots) {
        SCOPED_TRACE(shot.what);
        for (const CActRequest& request : shot.requests)
            vesko->Request(request);
        EXPECT_TRUE(PlayUntil(shot.action, shot.frames)) << vesko->GetCurrentActionName();
        pictures.push_back(Shoot(shot.distance));
        if (shot.held) {
            CTransform* good = Find(std::string(shot.held) + "Handling");
            CTransform* hand = Find("veskoHandlingL");
            ASSERT_TRUE(good && hand);
            const CMatrix &g = good->GetWorldMatrix(), &h = hand->GetWorldMatrix();
            EXPECT_LT(std::hypot(g.m[3][0] - h.m[3][0], g.m[3][1] - h.m[3][1], g.m[3][2] - h.m[3][2]), 1.0f);
        }
    }
    CheckSheet(ComposeSheet(pictures, 3), "vesko_motions");
}

// Four clothes, put on through her "cloth" word, while she stands.
TEST_F(VeskoPictures, FourOutfits) {
    struct Outfit {
        const char* cloth;
        bool quillomb; // the mode in which the cloth may be chosen
        const char* node;
    };
    const Outfit outfits[] = {{"clothDefault", false, "vesko_clothStandard"},
                              {"clothCheerLeader", true, "miniSkirt"},
                              {"etona", true, "etonaDress"},
                              {"pajamaOrange", false, "clothNagasode"}};
    // Out of the kotatsu's way, towards the room's open corner; close in
    // front of her through a wider lens.
    vesko->Request(CActRequest("walk", 330.0f, 250.0f));
    ASSERT_TRUE(PlayUntil("walk", 1));
    for (int i = 0; i < 600 && vesko->GetCurrentActionName() == "walk"; ++i)
        Step(1);
    render->SetMainCamera(camera, 0.7f);
    std::vector<RgbPicture> pictures;
    for (const Outfit& outfit : outfits) {
        SCOPED_TRACE(outfit.cloth);
        setting.quillomb = outfit.quillomb;
        std::ostringstream out;
        vesko->HandleCommand(out, "cloth", {outfit.cloth});
        CItem* worn = vesko->GetItems().Find(outfit.cloth);
        ASSERT_NE(worn, nullptr);
        EXPECT_TRUE(worn->IsWorn());
        CTransform* node = dynamic_cast<CTransform*>(
            CurrentResourceManager->Find((std::string(outfit.node) + SCOPE).c_str(), RT_TRANSFORM));
        ASSERT_NE(node, nullptr);
        EXPECT_GE(node->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
        vesko->Request(CActRequest("stand"));
        Step(30);
        pictures.push_back(Shoot(170.0f, true));
    }
    CheckSheet(ComposeSheet(pictures, 4), "vesko_outfits");
}

} // namespace
