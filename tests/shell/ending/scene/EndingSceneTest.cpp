// The ending on the real device: the staff roll's overlay built from the
// packed models, the mask over it while the picture fades, the staff roll's textures mapped onto its
// shaders, and frames of the roll compared with kept reference pictures.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "character/act/ActPlayer.h"
#include "character/act/BoneChainNode.h"
#include "engine/archive/DataFolder.h"
#include "engine/drawlist/DrawList.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "engine/camera/CameraResource.h"
#include "engine/core/Random.h"
#include "engine/math/Matrix.h"
#include "shell/app/RoomStage.h"
#include "shell/camera/CameraManager.h"
#include "shell/ending/scene/Ending.h"
#include "shell/render/RenderManager.h"
#include "shell/world/RoomCamera.h"
#include "tests/shell/support/SceneWindowTest.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/ScreenCapture.h"

namespace {

constexpr int WIDTH = 320, HEIGHT = 240;
const float STEP = 1000.0f / 60.0f;

// Builds the ending under a renderer and draws the indicator scene for a
// few passes.
class CEndingRun : public CConsoleRenderer {
public:
    CEndingRun(HWND window, ISetting& setting) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (!GetDevice())
            return;
        render = std::make_unique<CRenderManager>(window, nullptr, &setting);
        PreloadEndingModels(*render);
        PreloadEndingAnimations();
        ending = std::make_unique<CEnding>("ending", *render, nullptr, &setting, "::the");
    }
    ~CEndingRun() override {
        ending.reset();
        render.reset();
    }

    int Update(float) override {
        if (IsFirstUpdate()) {
            render->DrawIndicators();
            if (++passes == passLimit)
                PostQuitMessage(0);
        }
        return 0;
    }

    std::unique_ptr<CRenderManager> render;
    std::unique_ptr<CEnding> ending;
    int passes = 0;
    int passLimit = 10;
};

CResource* Find(const std::string& name, int kind) { return CurrentResourceManager->Find(name.c_str(), kind); }

class EndingScene : public SceneWindowTest {
protected:
    EndingScene() : SceneWindowTest("EndingSceneTest", "ending", WIDTH, HEIGHT) {}

    RgbPicture Draw(CEndingRun& run) {
        run.passes = 0;
        run.ResetFrameTimer();
        run.Run();
        return CaptureWindow();
    }
    void ExpectKept(const RgbPicture& shot, const char* file) {
        ASSERT_EQ(shot.width, WIDTH);
        EXPECT_TRUE(WriteRgbPng(file, shot));
        const PictureDifference d =
            CompareWithKept(shot, std::string(DESKMATE_SOURCE_DIR "/tests/shell/ending/scene/") + file);
        ASSERT_TRUE(d.sameSize) << file;
        EXPECT_LT(d.meanChannelDifference, 3.0) << file;
        EXPECT_LT(d.changedShare, 0.01) << file;
    }
};

TEST_F(EndingScene, BuildsItsOverlayAndMapsTheStaffRollTextures) {
    CEndingRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    CEnding& ending = *run.ending;
    CTransform* root = ending.GetRoot()->GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetParent(), run.render->GetIndicatorRoot());
    EXPECT_EQ(root->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
    ASSERT_NE(ending.GetActor()->GetRoot(), nullptr);
    EXPECT_EQ(ending.GetActor()->GetRoot()->GetParent(), root);
    EXPECT_TRUE(ending.GetActor()->IsChainComplete());
    for (const char* top : {"BackGround", "congratulationsEndRoll", "TITLELOGO", "scrollTEXT", "EndCredit"})
        EXPECT_NE(Find(std::string(top) + "::the", RT_TRANSFORM), nullptr) << top;
    struct Mapped {
        const char* shader;
        const char* texture;
    };
    const Mapped mapped[] = {
        {"gradation", "end_gradation"},
        {"congraturations", "end_congratulations"},
        {"congraturationsB2", "end_congratulations"},
        {"project1", "end_staff1"},
        {"TITLE_Blur", "end_congratulations"},
        {"STAFFA", "end_staff1"},
        {"STAFFB", "end_staff2"},
        {"aeeYouNextTime", "end_staff2"},
        {"URL1", "end_staff2"},
        {"LOGO_MOTO", "end_congratulations"},
    };
    for (const Mapped& m : mapped) {
        CShader* shader = dynamic_cast<CShader*>(Find(m.shader, RT_SHADER));
        ASSERT_NE(shader, nullptr) << m.shader;
        ASSERT_NE(shader->GetTexture(), nullptr) << m.shader;
        EXPECT_EQ(shader->GetTexture()->GetName(), m.texture) << m.shader;
    }
    EXPECT_NE(ending.GetPlayer()->FindAction("endRoll"), nullptr);
    EXPECT_NE(Find("endingMaskShape", RT_SHAPE), nullptr);
    EXPECT_NE(Find("endingMaskGeometry", RT_GEOMETRY), nullptr);
    EXPECT_NE(Find("smokeShape", RT_SHAPE), nullptr);

    // The ending takes what it made with it.
    run.ending.reset();
    for (const char* name : {"end_congratulations", "end_gradation", "end_staff1", "end_staff2"})
        EXPECT_EQ(Find(name, RT_TEXTURE), nullptr) << name;
    EXPECT_EQ(Find("endingMaskShape", RT_SHAPE), nullptr);
    EXPECT_EQ(Find("endingMaskShader", RT_SHADER), nullptr);
    EXPECT_EQ(Find("endingMaskGeometry", RT_GEOMETRY), nullptr);
    EXPECT_EQ(ConsoleObjectRegistry().count("ending_init"), 0u);
}

TEST_F(EndingScene, FadeOutDarkensTheOverlayAndTheRollPlaysFramesOfTheStaffRoll) {
    CEndingRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    CEnding& ending = *run.ending;
    EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, 21000.0f), ENDING_GO_ON); // smoke for 21 s
    EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, 6500.0f), ENDING_GO_ON);  // half way to black
    EXPECT_NEAR(ending.GetMaskAlpha(), 0.5f, 1e-5f);
    // The overlay shows the mask alone: the roll waits, hidden, for its turn.
    auto visible = [](CModelInstanceNode* node) { return node->GetRoot()->GetChannelValue(CTransform::TC_VISIBLE); };
    EXPECT_EQ(visible(ending.GetRoot()), 1.0f);
    EXPECT_EQ(visible(ending.GetMask()), 1.0f);
    EXPECT_EQ(visible(ending.GetActor()), 0.0f);

    // Black at 10 s, and the roll's first update plays its title.
    EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, 3500.0f), ENDING_GO_ON);
    EXPECT_STREQ(ending.GetCurrentState()->GetName().c_str(), "EndRoll");
    EXPECT_FLOAT_EQ(ending.GetMaskAlpha(), 1.0f);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, STEP), ENDING_GO_ON);
    EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, 400.0f * 1000.0f / 60.0f / 1.116f), ENDING_DRAW_ONLY);
    // The actor fits the window's height: 240 pixels for 480 units.
    CTransform* actor = ending.GetActor()->GetRoot();
    EXPECT_NEAR(actor->GetChannelValue(CTransform::TC_SCALE_X), 240.0f * 0.20833333f, 1e-3f);
    ExpectKept(Draw(run), "ending_title_reference.png");

    // Into the scrolling credits.
    EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, 1600.0f * 1000.0f / 60.0f / 1.116f), ENDING_DRAW_ONLY);
    ExpectKept(Draw(run), "ending_credits_reference.png");

    // The closing greeting at the end of the roll.
    EXPECT_EQ(ending.Run(*run.render, nullptr, nullptr, 1650.0f * 1000.0f / 60.0f / 1.116f), ENDING_DRAW_ONLY);
    ExpectKept(Draw(run), "ending_greeting_reference.png");

    // The roll ends with its animation; the room comes back and the ending is done.
    int result = ENDING_DRAW_ONLY;
    for (int i = 0; i < 20000 && result != ENDING_FINISHED; ++i)
        result = ending.Run(*run.render, nullptr, nullptr, 100.0f);
    EXPECT_EQ(result, ENDING_FINISHED);
    EXPECT_EQ(ending.GetRoot()->GetRoot()->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
}

TEST_F(EndingScene, RestartBeginsAgainFromTheEntry) {
    CEndingRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    CEnding& ending = *run.ending;
    ending.Run(*run.render, nullptr, nullptr, 21000.0f);
    ending.Run(*run.render, nullptr, nullptr, 100.0f);
    EXPECT_STREQ(ending.GetCurrentState()->GetName().c_str(), "FadeOut");
    std::ostringstream out;
    EXPECT_TRUE(ending.HandleCommand(out, "restart", {}));
    ending.Run(*run.render, nullptr, nullptr, 100.0f);
    EXPECT_STREQ(ending.GetCurrentState()->GetName().c_str(), "Init");
    EXPECT_TRUE(ending.HandleCommand(out, "select", {}));
}

// The room camera as the ending sees it: a fixed view, and a record of the
// lock the ending asks for.
class CFixedCamera : public ICameraManager {
public:
    explicit CFixedCamera(CCameraResource* view) : ICameraManager("cameraEndingTest"), m_view(view) {}
    void Serialize(CSavedState&, bool) override {}
    void AddFocusPoint(const Vec3&, float) override {}
    void Update(float, bool) override {}
    void SetLens(float, float, float) override {}
    void SetAuto(bool) override {}
    bool IsAuto() override { return true; }
    void LockTarget(const Vec3& point, float distance) override {
        locked = true;
        lockPoint = point;
        lockDistance = distance;
    }
    void Unlock() override { locked = false; }
    bool IsLocked() override { return locked; }
    CCameraResource* GetView() override { return m_view; }
    void SetInput(ICameraInput*) override {}

    bool locked = false;
    Vec3 lockPoint;
    float lockDistance = 0.0f;

private:
    CCameraResource* m_view;
};

// The room with the ending's smoke queued into the main scene every update.
class CSmokeRun : public CConsoleRenderer {
public:
    CSmokeRun(HWND window, ISetting& setting) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (!GetDevice())
            return;
        stage = std::make_unique<CRoomStage>(WIDTH, HEIGHT);
        // A still camera close to the spot above the TV where the smoke rises.
        CMatrix view, place;
        view.SetLookAtRH(Vec3(60, 150, 160), Vec3(0, 105, -150), Vec3(0, 1, 0));
        stage->GetRenderManager()->SelectMainRoot();
        CTransform* cameraPlace = new CTransform("endingTestCameraPlace");
        cameraPlace->SetLocalMatrix(view.GetInverse(place));
        CCameraResource* still = new CCameraResource("endingTestCamera");
        still->SetParent(cameraPlace);
        stage->GetRenderManager()->SetMainCamera(still, ROOM_CAMERA_FOV_Y);
        camera = std::make_unique<CFixedCamera>(still);
        PreloadEndingModels(*stage->GetRenderManager());
        PreloadEndingAnimations();
        ending = std::make_unique<CEnding>("ending", *stage->GetRenderManager(), camera.get(), &setting, "::the");
    }
    ~CSmokeRun() override {
        ending.reset();
        camera.reset();
        stage.reset();
    }

    int Update(float) override {
        // One step a pass, however the frame loop's timing falls, so that
        // the smoke is the same on every run.
        if (!IsFirstUpdate())
            return 0;
        // As the system object does: the ending first, the scene last, so
        // that the puffs join the camera record the scene's walk fills.
        CSceneDrawList& list = stage->GetRenderManager()->GetMainDrawList();
        int before = list.GetItemCount();
        ending->Run(*stage->GetRenderManager(), nullptr, nullptr, 1000.0f / 60.0f);
        int after = list.GetItemCount();
        stage->Queue();
        smokeItems = after - before;
        if (++passes == passLimit)
            PostQuitMessage(0);
        return 0;
    }

    std::unique_ptr<CRoomStage> stage;
    std::unique_ptr<CFixedCamera> camera;
    std::unique_ptr<CEnding> ending;
    int passes = 0;
    int passLimit = 480;
    int smokeItems = -1;
};

TEST_F(EndingScene, SmokeRisesAboveTheTvUnderTheLockedCamera) {
    SeedRand(1); // the same puffs whatever ran before
    CSmokeRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    run.ResetFrameTimer();
    run.Run();
    ASSERT_EQ(run.passes, run.passLimit);
    EXPECT_TRUE(run.camera->locked);
    EXPECT_FLOAT_EQ(run.camera->lockPoint.y, 100.0f);
    EXPECT_FLOAT_EQ(run.camera->lockPoint.z, -100.0f);
    EXPECT_FLOAT_EQ(run.camera->lockDistance, 1000.0f);
    // The one smoke node is queued once for each of the 64 puffs.
    EXPECT_EQ(run.smokeItems, 64);
    // Puffs that have shown grow and rise from the emitter.
    int shown = 0;
    for (int i = 0; i < CEnding::PARTICLE_COUNT; ++i) {
        const CEndingParticle& p = run.ending->GetParticle(i);
        if (p.age <= 0.0f)
            continue;
        ++shown;
        EXPECT_GT(p.position.y, 83.0f);
        EXPECT_LT(p.position.y, 160.0f);
    }
    EXPECT_GT(shown, 20);
    ExpectKept(CaptureWindow(), "ending_smoke_reference.png");
}

} // namespace
