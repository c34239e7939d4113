// The configuration menu on the device: loaded from archive 2, drawn in the
// indicator scene over the room, as the user sees it.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataFolder.h"
#include "engine/camera/CameraResource.h"
#include "engine/drawlist/DrawList.h"
#include "engine/input/InputTypes.h"
#include "engine/input/Pointer.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "platform/audio/WaveOutput.h"
#include "shell/menu/ConfigMenu.h"
#include "shell/render/RenderManager.h"
#include "shell/sound/SoundManager.h"
#include "shell/world/World.h"
#include "tests/shell/support/SceneWindowTest.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/ScreenCapture.h"

namespace {

constexpr int WIDTH = 640, HEIGHT = 480;
constexpr const char* SCOPE = "::the";

// The pointer held still over a window point, no button.
class StillPointer : public CPointer {
public:
    uint32_t GetButton(int) override { return 0; }
    AxisPair GetAxis(int index) override { return {index == PA_X ? x : index == PA_Y ? y : 0, 0}; }
    void SetAxis(int, int32_t) override {}
    int32_t x = 0, y = 0;
};

// The render manager, the room at noon with a fixed camera and the menu,
// under a renderer; each pass steps the menu as the system object does
// while it is open, then queues both scenes.
class CMenuRun : public CConsoleRenderer {
public:
    CMenuRun(HWND window, ISetting& setting) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (!GetDevice())
            return;
        render = std::make_unique<CRenderManager>(window, nullptr, &setting);
        render->FitCameras(WIDTH, HEIGHT);
        sound = std::make_unique<CSoundManager>(&setting, std::unique_ptr<IWaveOutput>());
        LoadWorldModels(*render);
        LoadConfigMenuModel(*render);
        world = std::make_unique<CWorld>("world", *render, SCOPE);
        world->AdvanceClock(18.0f * 3600 * 1000 / CWorld::DEFAULT_TIME_RATIO); // 12:00
        render->SelectMainRoot();
        CTransform* place = new CTransform("menuTestCameraPlace");
        CMatrix view, inverse;
        view.SetLookAtRH(Vec3(950, 460, 850), Vec3(0, 0, 0), Vec3(0, 1, 0));
        place->SetLocalMatrix(view.GetInverse(inverse));
        camera = new CCameraResource("menuTestCamera");
        camera->SetParent(place);
        render->SetMainCamera(camera, 0.55f);
        menu = std::make_unique<CConfigMenu>("menu", *render, setting, SCOPE);
    }
    ~CMenuRun() override {
        menu.reset();
        world.reset();
        sound.reset();
        render.reset();
    }

    int Update(float stepMs) override {
        if (menu->IsOpen() && !menu->Update(*render, *sound, &pointer, 40.0f))
            return 1;
        world->Update(*render, 0.0f);
        if (IsFirstUpdate()) {
            render->DrawMain();
            render->DrawIndicators();
            if (++passes == passLimit)
                PostQuitMessage(0);
        }
        return 0;
    }

    std::unique_ptr<CRenderManager> render;
    std::unique_ptr<CSoundManager> sound;
    std::unique_ptr<CWorld> world;
    std::unique_ptr<CConfigMenu> menu;
    CCameraResource* camera = nullptr;
    StillPointer pointer;
    int passLimit = 5;
    int passes = 0;
};

class ConfigMenuScene : public SceneWindowTest {
protected:
    ConfigMenuScene() : SceneWindowTest("ConfigMenuSceneTest", "menu", WIDTH, HEIGHT) {}
    static void SetUpTestSuite() {
        SceneWindowTest::SetUpTestSuite();
        InstallConsoleHook();
    }

    RgbPicture Shoot(CMenuRun& run) {
        run.ResetFrameTimer();
        run.Run();
        EXPECT_EQ(run.passes, run.passLimit);
        return CaptureWindow();
    }
};

TEST_F(ConfigMenuScene, LoadsTheMenuUnderTheIndicatorRootWithEveryNode) {
    CMenuRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    CTransform* menu = run.menu->GetMenuTransform();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetName(), "Menu_root::the");
    EXPECT_EQ(menu->GetParent(), run.render->GetIndicatorRoot());
    EXPECT_FALSE(run.menu->IsOpen());
    for (const char* name : {"Menu", "star", "star15", "quit1", "InitializeokOVER", "n9", "nConma", "nPercent"})
        EXPECT_NE(CurrentResourceManager->Find((std::string(name) + SCOPE).c_str(), RT_TRANSFORM), nullptr) << name;
    // The buttons' areas come from the model's nodes.
    const MenuRect& ok = run.menu->GetOkButton().GetRect();
    EXPECT_EQ(ok.x1 - ok.x0, 110.0f);
    EXPECT_EQ(ok.y1 - ok.y0, 32.0f);
    EXPECT_GT(ok.x0, 0.0f);
}

// The panel with a margin of the room round it, in window pixels.
RgbPicture MenuArea(const RgbPicture& p) {
    const int x0 = 112, y0 = 64, w = 416, h = 352;
    RgbPicture out;
    if (p.width < x0 + w || p.height < y0 + h)
        return out;
    out.width = w;
    out.height = h;
    out.rgb.resize(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w * 3; ++i)
            out.rgb[size_t(y * w * 3 + i)] = p.rgb[size_t((y0 + y) * p.width + x0) * 3 + size_t(i)];
    return out;
}

void ExpectAsKept(const RgbPicture& picture, const std::string& name) {
    RgbPicture area = MenuArea(picture);
    ASSERT_FALSE(area.rgb.empty());
    ASSERT_TRUE(WriteRgbPng(name + ".png", area));
    PictureDifference d =
        CompareWithKept(area, std::string(DESKMATE_SOURCE_DIR "/tests/shell/menu/scene/") + name + "_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.02);
}

// Open with money and a share, the pointer over the ok button: the panel
// over the room, the selected marks, the numbers and the hover face; then
// the quit dialog over the panel, the pointer on its ok button.
TEST_F(ConfigMenuScene, LooksAsKeptOverTheRoom) {
    CMenuRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    run.menu->Open(1234567, 0.4588f);
    const MenuRect& ok = run.menu->GetOkButton().GetRect();
    run.pointer.x = int32_t((ok.x0 + ok.x1) / 2 + WIDTH / 2);
    run.pointer.y = int32_t((ok.y0 + ok.y1) / 2 + HEIGHT / 2);
    RgbPicture panel = Shoot(run);
    ASSERT_TRUE(run.menu->IsOpen());
    EXPECT_EQ(run.menu->GetMenuTransform()->GetChannelValue(CTransform::TC_TRANSLATION_X), 0.0f);
    ExpectAsKept(panel, "config_menu");

    run.menu->GetQuitDialog().Show();
    const MenuRect& dialog = run.menu->GetQuitDialog().GetRect();
    const MenuRect& confirm = run.menu->GetQuitDialog().GetButton(1).GetRect();
    run.pointer.x = int32_t(dialog.x0 + 90 + (confirm.x0 + confirm.x1) / 2 + WIDTH / 2);
    run.pointer.y = int32_t(dialog.y0 + 40 + (confirm.y0 + confirm.y1) / 2 + HEIGHT / 2);
    run.passes = 0;
    RgbPicture quit = Shoot(run);
    ASSERT_TRUE(run.menu->GetQuitDialog().IsShown());
    ExpectAsKept(quit, "config_menu_quit");
    // The dialog hides part of the panel; the rest is as it was.
    PictureDifference d = ComparePictures(MenuArea(panel), MenuArea(quit));
    EXPECT_GT(d.changedShare, 0.02);
    EXPECT_LT(d.changedShare, 0.3);
}

// The compiled directories hold the menu model and its texture.
TEST(ConfigMenuArchives, CompiledDirectoriesHoldTheMenuAndItsTexture) {
    auto listed = [](int kind, int index, const char* key) {
        const ArchiveDescriptor* d = GetArchiveDescriptor(kind, index);
        if (!d || !d->directory)
            return false;
        for (const ArchiveEntryRow* row = d->directory; row->key; ++row)
            if (std::string(row->key) == key)
                return row->size > 0;
        return false;
    };
    EXPECT_TRUE(listed(AK_MODEL, 2, "CONFIGMENU"));
    EXPECT_TRUE(listed(AK_TEXTURE, 2, "CONFIG"));
}

} // namespace
