// The screen-saver logo on the real device: built from the packed model in
// the lower left corner, hidden until its first showing, faded by its
// motion, drawn and compared with a kept reference picture; and its words.
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
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/indicator/scene/ScreenSaverIndicator.h"
#include "shell/render/RenderManager.h"
#include "tests/shell/support/SceneWindowTest.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/ScreenCapture.h"

namespace {

constexpr int WIDTH = 320, HEIGHT = 240;

class CIndicatorRun : public CConsoleRenderer {
public:
    CIndicatorRun(HWND window, ISetting& setting) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (!GetDevice())
            return;
        render = std::make_unique<CRenderManager>(window, nullptr, &setting);
        LoadIndicatorModels(*render);
        LoadIndicatorAnimations();
        indicator = std::make_unique<CScreenSaverIndicator>("indicators", *render, setting, "::the");
    }
    ~CIndicatorRun() override {
        indicator.reset();
        render.reset();
    }
    int Update(float) override {
        if (IsFirstUpdate()) {
            render->DrawIndicators();
            if (++passes == 10)
                PostQuitMessage(0);
        }
        return 0;
    }

    std::unique_ptr<CRenderManager> render;
    std::unique_ptr<CScreenSaverIndicator> indicator;
    int passes = 0;
};

float Visible(CScreenSaverIndicator& indicator) {
    return indicator.GetLogo()->GetRoot()->GetChannelValue(CTransform::TC_VISIBLE);
}

class ScreenSaverIndicator : public SceneWindowTest {
protected:
    ScreenSaverIndicator() : SceneWindowTest("ScreenSaverIndicatorTest", "indicator", WIDTH, HEIGHT) {}
};

TEST_F(ScreenSaverIndicator, ShowsTheLogoFadedInAtTheLowerLeft) {
    FakeSetting setting(WIDTH, HEIGHT);
    setting.noSave = true;
    CIndicatorRun run(m_window, setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    CScreenSaverIndicator& indicator = *run.indicator;
    CTransform* logo = indicator.GetLogo()->GetRoot();
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->GetParent(), run.render->GetIndicatorRoot());
    EXPECT_FLOAT_EQ(logo->GetChannelValue(CTransform::TC_TRANSLATION_X), -14500.0f);
    EXPECT_FLOAT_EQ(logo->GetChannelValue(CTransform::TC_SCALE_X), 37.5f);
    EXPECT_EQ(Visible(indicator), 0.0f);

    indicator.Update(setting, *run.render, nullptr, 10001.0f);
    EXPECT_EQ(Visible(indicator), 0.0f);
    EXPECT_EQ(indicator.GetPlayer()->GetCurrentAction(), nullptr);
    indicator.Update(setting, *run.render, nullptr, 16.0f); // the first showing starts
    EXPECT_EQ(Visible(indicator), 1.0f);
    indicator.Update(setting, *run.render, nullptr, 5000.0f);
    indicator.Update(setting, *run.render, nullptr, 16.0f);
    CShader* phong = dynamic_cast<CShader*>(CurrentResourceManager->Find("phong1", RT_SHADER));
    ASSERT_NE(phong, nullptr);
    EXPECT_FLOAT_EQ(phong->GetColor().a, 1.0f);
    // The placement stays where it was put while the motion plays.
    EXPECT_FLOAT_EQ(logo->GetChannelValue(CTransform::TC_TRANSLATION_X), -14500.0f);

    run.ResetFrameTimer();
    run.Run();
    const RgbPicture shot = CaptureWindow();
    ASSERT_EQ(shot.width, WIDTH);
    EXPECT_TRUE(WriteRgbPng("indicator_logo.png", shot));
    const PictureDifference d =
        CompareWithKept(shot, DESKMATE_SOURCE_DIR "/tests/shell/indicator/scene/indicator_logo_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.01);

    // The showing ends with the motion (10 s) and the logo hides again.
    for (int i = 0; i < 400; ++i)
        indicator.Update(setting, *run.render, nullptr, 16.0f);
    EXPECT_EQ(indicator.GetPlayer()->GetCurrentAction(), nullptr);
    EXPECT_EQ(Visible(indicator), 0.0f);
}

TEST_F(ScreenSaverIndicator, OutsideTheScreenSaverRunNothingShows) {
    FakeSetting setting(WIDTH, HEIGHT);
    setting.noSave = false;
    CIndicatorRun run(m_window, setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    for (int i = 0; i < 3; ++i)
        run.indicator->Update(setting, *run.render, nullptr, 20000.0f);
    EXPECT_EQ(run.indicator->GetPlayer()->GetCurrentAction(), nullptr);
    EXPECT_FLOAT_EQ(run.indicator->GetSchedule().GetTimer(), 10000.0f);
}

TEST_F(ScreenSaverIndicator, AnswersItsWords) {
    FakeSetting setting(640, 480);
    setting.noSave = true;
    CIndicatorRun run(m_window, setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    CScreenSaverIndicator& indicator = *run.indicator;
    struct Case {
        std::vector<std::string> words;
        const char* printed;
    };
    const Case cases[] = {
        {{"screensaver"}, "indicators screensaver cmd ...\n"},
        {{"screensaver", "print"}, "Indicators:\n  ScreenSaver:\n    pos(-29000, -21000, -200)\n"},
        {{"screensaver", "pos", "1", "2"}, "indicators screensaver pos x y z\n"},
        {{"screensaver", "pos", "100", "-50", "7"}, ""},
        {{"screensaver", "print"}, "Indicators:\n  ScreenSaver:\n    pos(100, -50, 7)\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::vector<std::string> args(c.words.begin() + 1, c.words.end());
        EXPECT_TRUE(indicator.HandleCommand(out, c.words[0], args));
        EXPECT_EQ(out.str(), c.printed);
    }
    std::ostringstream out;
    EXPECT_FALSE(indicator.HandleCommand(out, "nothing", {}));
    EXPECT_TRUE(indicator.HandleCommand(out, "select", {}));
}

} // namespace
