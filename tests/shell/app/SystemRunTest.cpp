// The whole system object on a real window, stepped by its own frame loop.
// The ending as it plays it: every item collected, the character's "ending"
// callback, then the smoke, the fade to black, the staff roll and the fade
// back in, the camera unlocked and the room going on again; the ending's own
// tunables shorten its waits so that the run takes seconds instead of
// minutes, and the roll is held still for its picture. And the screen-saver
// run's logo, which comes and goes over the room.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/act/ActMotion.h"
#include "character/act/ActPlayer.h"
#include "character/act/BoneChainNode.h"
#include "character/item/Item.h"
#include "character/item/ItemRegistry.h"
#include "engine/console/ConsoleObject.h"
#include "engine/scene/Transform.h"
#include "shell/app/System.h"
#include "shell/camera/CameraManager.h"
#include "shell/ending/scene/Ending.h"
#include "shell/indicator/scene/ScreenSaverIndicator.h"
#include "shell/render/RenderManager.h"
#include "shell/settings/Setting.h"
#include "shell/settings/SettingHost.h"
#include "shell/statemachine/StateMachine.h"
#include "shell/world/World.h"
#include "tests/shell/support/SystemWindowTest.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/ScreenCapture.h"

namespace {

class CEndingHost : public ISettingHost {
public:
    int GetScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
    int GetScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
    bool IsWindows9x() override { return false; }
    void WriteLog(const char* line) override { log.push_back(line); }
    std::vector<std::string> log;
};

// Shortened waits of the ending's states (ms) and the roll's speed factor.
const struct {
    const char* object;
    const char* keyword;
    const char* value;
} ENDING_TUNING[] = {
    {"ending_init", "counterConst", "3000"},   {"ending_fadeout", "maskStartTime", "500"},
    {"ending_fadeout", "maskEndTime", "1500"}, {"ending_fadeout", "endTime", "1500"},
    {"ending_endroll", "animParam", "6.696"},  {"ending_fadein", "maskStartTime", "250"},
    {"ending_fadein", "maskEndTime", "1000"},
};
constexpr float ROLL_SPEED = 6.696f;
// The frame of the roll whose picture is kept: the scrolling credits.
constexpr float CREDITS_FRAME = 2000.0f;
// Passes the roll is held still for before its picture is taken.
constexpr int HOLD_PASSES = 4;

bool Say(const char* object, const char* keyword, const std::vector<std::string>& args) {
    auto found = ConsoleObjectRegistry().find(object);
    if (found == ConsoleObjectRegistry().end())
        return false;
    std::ostringstream out;
    return found->second->HandleCommand(out, keyword, args);
}

CActMotion* RollMotion(CEnding* ending) {
    return ending && ending->GetPlayer() ? dynamic_cast<CActMotion*>(ending->GetPlayer()->GetCurrentAction()) : nullptr;
}

// The system object stepped by its own frame loop: a few updates of the room,
// then the collection is completed and the ending callback runs; the run
// watches the ending's states, takes its pictures and ends a while after
// the ending has gone.
class CEndingRun : public CSystem {
public:
    CEndingRun(HWND window, CSetting* setting) : CSystem(window, setting), m_window(window) {}

    int Update(float stepMs) override {
        ++m_updates;
        if (m_updates == START_UPDATE)
            StartEnding();
        CEnding* ending = GetEnding();
        float step = stepMs;
        if (ending) {
            sawEnding = true;
            if (!m_tuned) {
                m_tuned = true;
                tuned = Tune();
            }
            NoteState(ending);
            step = RollStep(ending, stepMs);
        }
        const int result = CSystem::Update(step);
        if (sawEnding && !GetEnding()) {
            if (m_updatesAfter == 0) {
                clockWhenBack = GetWorld()->GetClockSeconds();
                cameraLockedWhenBack = GetRenderManager()->GetCameraManager()->IsLocked();
            }
            // Two seconds on, the room as it is then.
            if (++m_updatesAfter >= 120 && IsFirstUpdate() && back.rgb.empty()) {
                back = Shoot();
                clockLater = GetWorld()->GetClockSeconds();
                PostQuitMessage(0);
            }
        }
        if (GetTickCount() - m_started > WALL_LIMIT_MS && !m_gaveUp) {
            m_gaveUp = true;
            PostQuitMessage(0);
        }
        return result;
    }

    void Begin() { m_started = GetTickCount(); }

    RgbPicture Shoot() const {
        RECT r;
        GetWindowRect(m_window, &r);
        return CaptureScreen(r);
    }

    bool sawEnding = false, tuned = false, itemsCompleted = false;
    std::vector<std::string> states; // the ending's states in the order seen
    RgbPicture smoke, credits, back;
    float creditsFrame = -1;
    float clockWhenBack = -1, clockLater = -1;
    bool cameraLockedWhenBack = true;

private:
    static constexpr int START_UPDATE = 90;
    static constexpr DWORD WALL_LIMIT_MS = 120000;

    void StartEnding() {
        CCharacter* vesko = GetCharacter();
        if (!vesko)
            return;
        std::ostringstream out;
        vesko->HandleCommand(out, "itemcomplete", {});
        itemsCompleted = true;
        for (CItem* item : vesko->GetItems().List())
            itemsCompleted = itemsCompleted && item->IsOwned() != item->IsEndingItem();
        vesko->OnEndingCallback({});
    }

    // True when every tunable took its value.
    bool Tune() {
        bool all = true;
        for (const auto& t : ENDING_TUNING)
            all = Say(t.object, t.keyword, {t.value}) && all;
        return all;
    }

    void NoteState(CEnding* ending) {
        const CMachineState* state = ending->GetCurrentState();
        const std::string name = state ? state->GetName() : "";
        // Before its first step it has no state; that step runs on from the
        // entry into Init.
        if (!name.empty() && (states.empty() || states.back() != name))
            states.push_back(name);
        // The smoke, late in its time, under the locked camera.
        if (name == "Init" && smoke.rgb.empty() && ++m_initUpdates > 120 && IsFirstUpdate())
            smoke = Shoot();
    }

    // The step for this update: the roll is brought exactly to the credits'
    // frame and held there (a step of 0) for a few passes while its picture
    // is taken, then goes on.
    float RollStep(CEnding* ending, float stepMs) {
        CActMotion* roll = RollMotion(ending);
        const CMachineState* state = ending->GetCurrentState();
        if (!roll || !state || state->GetName() != "EndRoll" || !credits.rgb.empty())
            return stepMs;
        const float frame = roll->GetTimeFrames();
        const float framesPerMs = 0.06f * ROLL_SPEED;
        if (frame + stepMs * framesPerMs < CREDITS_FRAME)
            return stepMs;
        if (frame < CREDITS_FRAME - 0.01f)
            return (CREDITS_FRAME - frame) / framesPerMs;
        if (IsFirstUpdate() && ++m_heldPasses > HOLD_PASSES) {
            credits = Shoot();
            creditsFrame = frame;
        }
        return 0.0f;
    }

    HWND m_window;
    int m_updates = 0, m_initUpdates = 0, m_heldPasses = 0, m_updatesAfter = 0;
    bool m_tuned = false, m_gaveUp = false;
    DWORD m_started = 0;
};

class SystemRun : public SystemWindowTest {
protected:
    SystemRun() : SystemWindowTest("SystemRunTest", DefWindowProcA) {}
    // The real pointer waits off the window.
    void SetUp() override {
        SystemWindowTest::SetUp();
        SetCursorPos(1020, 760);
    }
};

long ReadFileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return long(data.nFileSizeLow);
}

// Share of the pixels with all three channels below 16.
double DarkShare(const RgbPicture& p) {
    size_t dark = 0;
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        dark += p.rgb[i] < 16 && p.rgb[i + 1] < 16 && p.rgb[i + 2] < 16;
    return p.rgb.empty() ? 1.0 : double(dark) / double(p.rgb.size() / 3);
}

TEST_F(SystemRun, ItemCompleteThenTheCallbackPlaysTheEndingToItsEndAndTheRoomComesBack) {
    CEndingHost host;
    CSetting setting("setting", host);
    setting.SetSoundOn(false);
    setting.SetCameraAuto(false);
    m_window =
        CreateWindowExA(WS_EX_TOPMOST, "SystemRunTest", "ending", WS_POPUP | WS_VISIBLE, 0, 0, setting.GetWidth(),
                        setting.GetHeight(), nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_window, nullptr);
    const DWORD wallStart = GetTickCount();
    CEndingRun run(m_window, &setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.SetUp(m_window));
    run.Begin();
    run.ResetFrameTimer();
    run.Run();
    std::printf("ending run: %.1f s of wall time, states:", double(GetTickCount() - wallStart) / 1000.0);
    for (const std::string& s : run.states)
        std::printf(" %s", s.c_str());
    std::printf("\n");

    EXPECT_TRUE(run.itemsCompleted) << "every item but the ending's owned";
    ASSERT_TRUE(run.sawEnding) << "the callback made no ending";
    EXPECT_TRUE(run.tuned);
    // Every state in its order, and the ending deleted after its exit.
    const std::vector<std::string> expected = {"Init", "FadeOut", "EndRoll", "FadeIn", "Exit"};
    EXPECT_EQ(run.states, expected);
    EXPECT_EQ(run.GetEnding(), nullptr);

    // The staff roll's credits, as kept.
    ASSERT_FALSE(run.credits.rgb.empty()) << "the roll never reached its credits";
    EXPECT_NEAR(run.creditsFrame, CREDITS_FRAME, 0.1f);
    ASSERT_TRUE(WriteRgbPng("ending_run_credits.png", run.credits));
    const RgbPicture half = HalveRgbPicture(run.credits);
    const PictureDifference kept =
        CompareWithKept(half, DESKMATE_SOURCE_DIR "/tests/shell/app/ending_run_credits_reference.png");
    ASSERT_TRUE(kept.sameSize);
    EXPECT_LT(kept.meanChannelDifference, 4.0);
    EXPECT_LT(kept.changedShare, 0.02);

    // The room is back: the camera free, the clock going on, the picture the
    // lit room under the camera that the ending left, not the roll.
    ASSERT_FALSE(run.back.rgb.empty());
    ASSERT_FALSE(run.smoke.rgb.empty());
    ASSERT_TRUE(WriteRgbPng("ending_run_back.png", run.back));
    ASSERT_TRUE(WriteRgbPng("ending_run_smoke.png", run.smoke));
    EXPECT_FALSE(run.cameraLockedWhenBack);
    EXPECT_GT(run.clockLater, run.clockWhenBack);
    EXPECT_LT(DarkShare(run.back), 0.2);
    const double backToRoll = ComparePictures(run.back, run.credits).changedShare;
    const double backToSmoke = ComparePictures(run.back, run.smoke).changedShare;
    std::printf("room after the ending: %.3f of it differs from the smoke, %.3f from the roll\n", backToSmoke,
                backToRoll);
    EXPECT_GT(backToRoll, 0.5);
    EXPECT_LT(backToSmoke, 0.5); // she and the light move on; the view is the same
    run.TearDown();
    EXPECT_TRUE(host.log.empty()) << host.log.front();
}

// The screen-saver run's settings on a window: the device of a full-screen
// run needs a display that can switch modes, which a bare X server cannot,
// so this one draws into a window of the same size. The camera is manual so
// that the room behind the logo keeps still.
class CWindowedScreenSaverSetting : public CSetting {
public:
    explicit CWindowedScreenSaverSetting(ISettingHost& host) : CSetting("setting", host) {}
    bool IsFullscreen() override { return false; }
    bool IsCameraAuto() override { return false; }
};

// The run's update time at which each picture of the logo's corner is taken:
// before its first showing (10 s in), while it shows fully, and after it has
// faded out (its motion lasts 10 s).
constexpr float LOGO_TIMES_MS[3] = {8000.0f, 15000.0f, 21500.0f};

class CScreenSaverRun : public CSystem {
public:
    CScreenSaverRun(HWND window, CSetting* setting) : CSystem(window, setting), m_window(window) {}

    int Update(float stepMs) override {
        const int result = CSystem::Update(stepMs);
        m_time += stepMs;
        if (m_next < 3 && m_time >= LOGO_TIMES_MS[m_next] && IsFirstUpdate()) {
            CScreenSaverIndicator* indicator = GetIndicator();
            visible[m_next] = indicator && indicator->GetLogo()
                                  ? indicator->GetLogo()->GetRoot()->GetChannelValue(CTransform::TC_VISIBLE)
                                  : -1.0f;
            RECT r;
            GetWindowRect(m_window, &r);
            // The lower left corner, where the logo stands.
            corner[m_next] = CaptureScreen({r.left, r.bottom - 120, r.left + 256, r.bottom});
            if (++m_next == 3)
                PostQuitMessage(0);
        }
        return result;
    }

    RgbPicture corner[3];
    float visible[3] = {-1, -1, -1};

private:
    HWND m_window;
    float m_time = 0;
    int m_next = 0;
};

TEST_F(SystemRun, ScreenSaverRunShowsItsLogoInTheLowerLeftAndHidesItAgain) {
    CEndingHost host;
    CWindowedScreenSaverSetting setting(host);
    setting.SetSoundOn(false);
    ASSERT_TRUE(setting.EnterScreenSaverMode());
    ASSERT_TRUE(setting.IsNoSave());
    m_window =
        CreateWindowExA(WS_EX_TOPMOST, "SystemRunTest", "screen saver", WS_POPUP | WS_VISIBLE, 0, 0, setting.GetWidth(),
                        setting.GetHeight(), nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_window, nullptr);
    CScreenSaverRun run(m_window, &setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.SetUp(m_window));
    ASSERT_NE(run.GetIndicator(), nullptr);
    EXPECT_EQ(run.GetEnding(), nullptr);
    run.ResetFrameTimer();
    run.Run();
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(run.corner[i].rgb.empty()) << i;
    ASSERT_TRUE(WriteRgbPng("screen_saver_before.png", run.corner[0]));
    ASSERT_TRUE(WriteRgbPng("screen_saver_logo.png", run.corner[1]));
    ASSERT_TRUE(WriteRgbPng("screen_saver_after.png", run.corner[2]));
    EXPECT_EQ(run.visible[0], 0.0f);
    EXPECT_EQ(run.visible[1], 1.0f);
    EXPECT_EQ(run.visible[2], 0.0f);

    // The logo over the room, as kept.
    const PictureDifference kept =
        CompareWithKept(run.corner[1], DESKMATE_SOURCE_DIR "/tests/shell/app/screen_saver_logo_reference.png");
    ASSERT_TRUE(kept.sameSize);
    EXPECT_LT(kept.meanChannelDifference, 6.0);
    EXPECT_LT(kept.changedShare, 0.04);
    // It is not there before its time nor after its showing: the room alone,
    // the same both times.
    const double shown = ComparePictures(run.corner[0], run.corner[1]).changedShare;
    const double gone = ComparePictures(run.corner[0], run.corner[2]).changedShare;
    std::printf("logo corner: %.3f changed when it shows, %.3f after it has gone\n", shown, gone);
    EXPECT_GT(shown, 0.05);
    EXPECT_LT(gone, 0.03);
    run.TearDown();
    EXPECT_EQ(ReadFileSize("tavelune.dat"), -1) << "the screen-saver run saves nothing";
}

} // namespace
