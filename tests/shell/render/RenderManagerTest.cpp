// The render manager's scene roots, lights, cameras and commands, made under
// a renderer so that its nodes join a registry and the scene root.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>

#include "engine/archive/DataFolder.h"
#include "engine/camera/CameraResource.h"
#include "engine/core/FrameStamp.h"
#include "engine/drawlist/DrawList.h"
#include "engine/light/Light.h"
#include "engine/math/Vec3.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/camera/CameraManager.h"
#include "shell/lighting/LightPresets.h"
#include "shell/render/RenderManager.h"
#include "shell/state/SavedState.h"
#include "shell/world/World.h"
#include "tests/shell/support/FakeSetting.h"

namespace {

constexpr int WIDTH = 320, HEIGHT = 240;

void ExpectColour(const ColorRGBA& c, float r, float g, float b, float a) {
    EXPECT_NEAR(c.r, r, 1e-5f);
    EXPECT_NEAR(c.g, g, 1e-5f);
    EXPECT_NEAR(c.b, b, 1e-5f);
    EXPECT_NEAR(c.a, a, 1e-5f);
}

bool SameColour(const ColorRGBA& x, const ColorRGBA& y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; }

CResource* Find(const char* name, int kind) { return CurrentResourceManager->Find(name, kind); }

class RenderManager : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetDataFolder(std::filesystem::current_path().string());
        InstallTextureHooks();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RenderManagerTest";
        RegisterClassA(&wc);
        s_window = CreateWindowExA(0, wc.lpszClassName, "render", WS_POPUP, 0, 0, WIDTH, HEIGHT, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(s_window); }

    void SetUp() override {
        ASSERT_NE(s_window, nullptr);
        m_renderer = std::make_unique<CConsoleRenderer>(s_window, WIDTH, HEIGHT, true, true);
        m_render = std::make_unique<CRenderManager>(s_window, nullptr, &m_setting);
    }
    void TearDown() override {
        m_render.reset();
        m_renderer.reset();
    }

    static HWND s_window;
    FakeSetting m_setting{800, 600};
    std::unique_ptr<CConsoleRenderer> m_renderer;
    std::unique_ptr<CRenderManager> m_render;
};

HWND RenderManager::s_window = nullptr;

TEST_F(RenderManager, BuildsItsRootsAndLightsUnderTheSceneRoot) {
    CTransform* sceneRoot = GetRootTransform();
    ASSERT_NE(sceneRoot, nullptr);
    struct Node {
        const char* name;
        int kind;
        const char* parent;
    };
    const Node nodes[] = {
        {"renderRootMain", RT_TRANSFORM, "rootTrans"},
        {"renderRootIndi", RT_TRANSFORM, "rootTrans"},
        {"renderRootReso", RT_TRANSFORM, "rootTrans"},
        {"renderPntLightTransRoom", RT_TRANSFORM, "renderRootMain"},
        {"renderPntLightTransItem", RT_TRANSFORM, "renderRootMain"},
        {"renderDirLightTransIndi", RT_TRANSFORM, "renderRootIndi"},
        {"renderPntLightRoom", RT_LIGHT, "renderPntLightTransRoom"},
        {"renderPntLightItem", RT_LIGHT, "renderPntLightTransItem"},
        {"renderDirLightIndi", RT_LIGHT, "renderDirLightTransIndi"},
        {"cameraIndi", RT_CAMERA, "cameraIndi"},
        {"cameraIndi", RT_TRANSFORM, "renderRootIndi"},
    };
    for (const Node& n : nodes) {
        SCOPED_TRACE(n.name);
        CNode* node = dynamic_cast<CNode*>(Find(n.name, n.kind));
        ASSERT_NE(node, nullptr);
        ASSERT_NE(node->GetParent(), nullptr);
        EXPECT_EQ(node->GetParent()->GetName(), n.parent);
    }
    EXPECT_EQ(m_render->GetMainRoot(), Find("renderRootMain", RT_TRANSFORM));
    EXPECT_EQ(m_render->GetIndicatorRoot(), Find("renderRootIndi", RT_TRANSFORM));
    EXPECT_EQ(m_render->GetResourceRoot(), Find("renderRootReso", RT_TRANSFORM));
    EXPECT_EQ(m_render->GetResourceRoot()->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
    EXPECT_EQ(m_render->GetMainRoot()->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);

    // Both point lights hang 300 above the floor's middle.
    for (CPointLight* light : {m_render->GetRoomLight(), m_render->GetItemLight()}) {
        const CMatrix& world = light->GetParent()->GetWorldMatrix();
        EXPECT_FLOAT_EQ(world(3, 0), 0);
        EXPECT_FLOAT_EQ(world(3, 1), 300);
        EXPECT_FLOAT_EQ(world(3, 2), 0);
    }
    EXPECT_EQ(m_render->GetMainDrawList().GetSlot(), 0);
    EXPECT_EQ(m_render->GetIndicatorDrawList().GetSlot(), 1);
    EXPECT_EQ(GetDrawListInSlot(0), &m_render->GetMainDrawList());
    EXPECT_EQ(GetDrawListInSlot(1), &m_render->GetIndicatorDrawList());
    EXPECT_EQ(m_render->GetRoomLightSet().GetKind(), LS_A1P1);
    EXPECT_EQ(m_render->GetItemLightSet().GetKind(), LS_A1P1);
    EXPECT_EQ(m_render->GetIndicatorLightSet().GetKind(), LS_A1D1);
    EXPECT_FALSE(m_render->IsLightEdit());
}

TEST_F(RenderManager, StartsWithItsOwnColours) {
    ExpectColour(m_render->GetRoomLight()->Color(), 1, 1, 1, 1);
    ExpectColour(m_render->GetRoomAmbient()->Color(), 1, 1, 1, 1);
    ExpectColour(m_render->GetItemLight()->Color(), 0.7f, 0.7f, 0.7f, 1);
    ExpectColour(m_render->GetItemAmbient()->Color(), 0.5f, 0.5f, 0.5f, 1);
    ExpectColour(m_render->GetIndicatorLight()->Color(), 0.8f, 0.8f, 0.8f, 1);
    ExpectColour(m_render->GetIndicatorAmbient()->Color(), 0.35f, 0.35f, 0.35f, 1);
}

TEST_F(RenderManager, SelectingARootMakesItTheDefaultParent) {
    m_render->SelectResourceRoot();
    EXPECT_EQ(GetDefaultParent(), m_render->GetResourceRoot());
    m_render->SelectIndicatorRoot();
    EXPECT_EQ(GetDefaultParent(), m_render->GetIndicatorRoot());
    m_render->SelectMainRoot();
    EXPECT_EQ(GetDefaultParent(), m_render->GetMainRoot());
    CTransform* made = new CTransform("renderTestChild");
    EXPECT_EQ(made->GetParent(), m_render->GetMainRoot());
}

TEST_F(RenderManager, FitsTheLensesToTheWindowSize) {
    const CameraLens& lens = m_render->GetMainLens();
    EXPECT_NEAR(lens.aspect, 1.33333f, 1e-4f);
    EXPECT_EQ(lens.zNear, 100.0f);
    EXPECT_EQ(lens.zFar, 10000.0f);
    CMatrix ortho;
    ortho.SetOrthoRH(80000, 60000, 100, 100000);
    const CMatrix& projection = m_render->GetIndicatorCamera()->GetProjection();
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(projection(i / 4, i % 4), ortho(i / 4, i % 4)) << i;

    m_setting.SetSize(640, 640);
    m_render->FitCameras();
    EXPECT_FLOAT_EQ(m_render->GetMainLens().aspect, 1.0f);
    EXPECT_FLOAT_EQ(m_render->GetIndicatorCamera()->GetProjection()(0, 0), 2.0f / 64000.0f);

    // A size of nothing keeps a finite lens.
    m_setting.SetSize(0, 0);
    m_render->FitCameras();
    EXPECT_TRUE(std::isfinite(m_render->GetMainLens().aspect));
    EXPECT_GT(m_render->GetMainLens().aspect, 0.0f);
}

TEST_F(RenderManager, FitsTheMainCameraItIsGiven) {
    CTransform* place = new CTransform("renderTestCameraPlace");
    CCameraResource* camera = new CCameraResource("renderTestCamera");
    camera->SetParent(place);
    m_render->SetMainCamera(camera, 0.5f);
    EXPECT_EQ(m_render->GetMainCamera(), camera);
    CMatrix expected;
    expected.SetPerspectiveFovRH(0.5f, 800.0f / 600.0f, 100, 10000);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(camera->GetProjection()(i / 4, i % 4), expected(i / 4, i % 4)) << i;
    EXPECT_EQ(camera->GetFarDistance(), 10000.0f);
    // Without it the camera manager's view is the main camera again.
    delete camera;
    EXPECT_EQ(m_render->GetMainCamera(), m_render->GetCameraManager()->GetView());
}

TEST_F(RenderManager, TheCameraManagerViewsTheMainScene) {
    ICameraManager* camera = m_render->GetCameraManager();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetName(), "camera");
    ASSERT_NE(camera->GetView(), nullptr);
    EXPECT_EQ(m_render->GetMainCamera(), camera->GetView());

    // Stepped through the render manager, its lens is the window's: 800 x 600.
    m_render->FitCameras();
    for (int i = 0; i < 10; ++i)
        m_render->Update(1000.0f / 60.0f, false);
    const CMatrix& projection = camera->GetView()->GetProjection();
    EXPECT_NEAR(projection(1, 1) / projection(0, 0), 800.0f / 600.0f, 1e-4f);
    EXPECT_EQ(camera->GetView()->GetFarDistance(), 10000.0f);

    // The state file's camera goes to it and comes back.
    CSavedState saved;
    saved.cameraDistance = 1500.0f;
    saved.cameraInterest[0] = 10.0f;
    saved.cameraInterest[1] = 0.0f;
    saved.cameraInterest[2] = 20.0f;
    m_render->Serialize(saved, false);
    CSavedState stored;
    m_render->Serialize(stored, true);
    EXPECT_FLOAT_EQ(stored.cameraDistance, 1500.0f);
    EXPECT_FLOAT_EQ(stored.cameraInterest[0], 10.0f);
    EXPECT_FLOAT_EQ(stored.cameraInterest[2], 20.0f);
}

TEST_F(RenderManager, IndicatorCameraShowsTheXyPlaneUpright) {
    // X is screen right and Y screen up, 100 units a window pixel of 800 x 600.
    struct Case {
        Vec3 point;
        float clipX, clipY;
    };
    const Case cases[] = {
        {Vec3(0, 0, 0), 0, 0},
        {Vec3(40000, 0, 0), 1, 0},
        {Vec3(0, 30000, 0), 0, 1},
        {Vec3(-20000, -15000, 0), -0.5f, -0.5f},
        {Vec3(4000, 3000, 1000), 0.1f, 0.1f},
    };
    CCameraResource* camera = m_render->GetIndicatorCamera();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << " " << c.point.y << " " << c.point.z);
        Vec3 clip = camera->ProjectToClip(c.point);
        EXPECT_NEAR(clip.x, c.clipX, 1e-4f);
        EXPECT_NEAR(clip.y, c.clipY, 1e-4f);
        EXPECT_GT(clip.z, 0.0f);
        EXPECT_LT(clip.z, 1.0f);
    }
}

TEST_F(RenderManager, LightCommandsSetColoursUntilTheNextBlend) {
    std::ostringstream out;
    EXPECT_TRUE(m_render->HandleCommand(out, "lightRoom", {"1", "0", "0", "0", "0", "0"}));
    ExpectColour(m_render->GetRoomLight()->Color(), 1, 0, 0, 1);
    ExpectColour(m_render->GetRoomAmbient()->Color(), 0, 0, 0, 1);
    EXPECT_TRUE(m_render->HandleCommand(out, "lightItem", {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6"}));
    ExpectColour(m_render->GetItemLight()->Color(), 0.1f, 0.2f, 0.3f, 1);
    ExpectColour(m_render->GetItemAmbient()->Color(), 0.4f, 0.5f, 0.6f, 1);
    EXPECT_TRUE(m_render->HandleCommand(out, "lightIndi", {"0", "1", "0", "0", "0", "1"}));
    ExpectColour(m_render->GetIndicatorLight()->Color(), 0, 1, 0, 1);
    ExpectColour(m_render->GetIndicatorAmbient()->Color(), 0, 0, 1, 1);
    EXPECT_TRUE(out.str().empty());

    // Too few numbers: the usage line, and nothing changes.
    EXPECT_TRUE(m_render->HandleCommand(out, "lightRoom", {"0.5", "0.5", "0.5"}));
    EXPECT_EQ(out.str(), "render lightRoom r g b ar ag ab\n");
    ExpectColour(m_render->GetRoomLight()->Color(), 1, 0, 0, 1);

    EXPECT_TRUE(m_render->HandleCommand(out, "lightEdit", {"on"}));
    EXPECT_TRUE(m_render->IsLightEdit());
    EXPECT_TRUE(m_render->HandleCommand(out, "lightEdit", {"off"}));
    EXPECT_FALSE(m_render->IsLightEdit());

    // The world's next blend replaces the room and item colours, not the indicator's.
    m_render->BlendLightPresets(LP_MORNING, 0.5f, LP_AFTERNOON, 0.5f);
    ExpectColour(m_render->GetRoomLight()->Color(), 0.9f, 0.9f, 0.975f, 1);
    ExpectColour(m_render->GetRoomAmbient()->Color(), 0.475f, 0.45f, 0.675f, 1);
    ExpectColour(m_render->GetItemLight()->Color(), 0.425f, 0.425f, 0.425f, 1);
    ExpectColour(m_render->GetItemAmbient()->Color(), 0.675f, 0.675f, 0.7f, 1);
    ExpectColour(m_render->GetIndicatorLight()->Color(), 0, 1, 0, 1);
    ExpectColour(m_render->GetIndicatorAmbient()->Color(), 0, 0, 1, 1);

    // Other words go to the base handler.
    EXPECT_TRUE(m_render->HandleCommand(out, "select", {}));
    EXPECT_EQ(SelectedObjectName(), "render");
    EXPECT_FALSE(m_render->HandleCommand(out, "lightroom", {"1", "1", "1", "1", "1", "1"}));
}

TEST_F(RenderManager, BlendWithAPresetOutsideTheTableChangesNothing) {
    m_render->BlendLightPresets(LP_NIGHT_LIGHT_ON, 1, LP_MORNING, 0);
    LightPreset night;
    ASSERT_TRUE(GetLightPreset(LP_NIGHT_LIGHT_ON, night));
    EXPECT_TRUE(SameColour(m_render->GetRoomLight()->Color(), night.roomLight));
    EXPECT_TRUE(SameColour(m_render->GetItemAmbient()->Color(), night.itemAmbient));
    m_render->BlendLightPresets(5, 1, -1, 0);
    EXPECT_TRUE(SameColour(m_render->GetRoomLight()->Color(), night.roomLight));
    EXPECT_TRUE(SameColour(m_render->GetItemAmbient()->Color(), night.itemAmbient));
}

// Counts what one first update of a pass queues: the whole scene with the
// room loaded only as a template, then the main root with a room instance.
class CQueueRun : public CConsoleRenderer {
public:
    CQueueRun(HWND window, ISetting& setting) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        render = std::make_unique<CRenderManager>(window, nullptr, &setting);
        LoadWorldModels(*render);
        render->SelectMainRoot();
        camera = new CCameraResource("renderTestCamera");
        camera->SetParent(new CTransform("renderTestCameraPlace"));
        render->SetMainCamera(camera, 0.5f);
    }
    ~CQueueRun() override {
        world.reset();
        render.reset();
    }

    int Update(float) override {
        if (!IsFirstUpdate())
            return 0;
        CSceneDrawList& list = render->GetMainDrawList();
        list.AddTree(GetRootTransform(), camera, true);
        templateItems = list.GetItemCount();
        world = std::make_unique<CWorld>("worldTest", *render, "::the");
        stamp = FrameStamp;
        render->DrawMain();
        stampAfter = FrameStamp;
        instanceItems = list.GetItemCount() - templateItems;
        PostQuitMessage(0);
        return 0;
    }

    std::unique_ptr<CRenderManager> render;
    std::unique_ptr<CWorld> world;
    CCameraResource* camera = nullptr;
    int templateItems = -1, instanceItems = -1;
    int32_t stamp = 0, stampAfter = 0;
};

TEST_F(RenderManager, ModelsUnderTheResourceRootAreNeverDrawn) {
    m_render.reset();
    m_renderer.reset();
    CQueueRun run(s_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_NE(Find("roomRoot", RT_TRANSFORM), nullptr);
    run.ResetFrameTimer();
    run.Run();
    ASSERT_NE(run.world, nullptr);
    ASSERT_TRUE(run.world->HasRoom());
    EXPECT_EQ(run.templateItems, 0);
    EXPECT_GT(run.instanceItems, 10);
    EXPECT_EQ(run.stampAfter, run.stamp + 1);
}

TEST_F(RenderManager, TakesItsNodesAndNameWithIt) {
    EXPECT_EQ(ConsoleObjectRegistry().count("render"), 1u);
    const CHandle lights[] = {
        m_render->GetRoomLight()->GetLightHandle(),      m_render->GetRoomAmbient()->GetLightHandle(),
        m_render->GetItemLight()->GetLightHandle(),      m_render->GetItemAmbient()->GetLightHandle(),
        m_render->GetIndicatorLight()->GetLightHandle(), m_render->GetIndicatorAmbient()->GetLightHandle()};
    for (CHandle h : lights)
        ASSERT_NE(LightHandles().Resolve(h), nullptr);
    m_render.reset();
    EXPECT_EQ(ConsoleObjectRegistry().count("render"), 0u);
    for (const char* name : {"renderRootMain", "renderRootIndi", "renderRootReso", "renderPntLightTransRoom",
                             "renderPntLightTransItem", "renderDirLightTransIndi", "cameraIndi"})
        EXPECT_EQ(Find(name, RT_TRANSFORM), nullptr) << name;
    for (const char* name : {"renderPntLightRoom", "renderPntLightItem", "renderDirLightIndi"})
        EXPECT_EQ(Find(name, RT_LIGHT), nullptr) << name;
    for (CHandle h : lights)
        EXPECT_EQ(LightHandles().Resolve(h), nullptr);
    EXPECT_EQ(GetDrawListInSlot(0), nullptr);
    EXPECT_EQ(GetDrawListInSlot(1), nullptr);
}

} // namespace
