#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/FrameStamp.h"
#include "engine/input/InputTypes.h"
#include "engine/input/Pointer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "shell/menu/ConfigMenu.h"
#include "shell/menu/MenuNumbers.h"
#include "tests/shell/support/FakeSetting.h"

namespace {

// ---- numbers ----

TEST(MenuNumbers, MoneyHasACommaAfterEveryThirdDigitFromTheRight) {
    const struct {
        uint32_t money;
        const char* text;
    } cases[] = {
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1,000"},
        {12345, "12,345"},
        {999999, "999,999"},
        {1234567, "1,234,567"},
        {100000000, "100,000,000"},
        {4294967295u, "4,294,967,295"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMoney(c.money), c.text) << c.money;
}

TEST(MenuNumbers, PercentHasTwoDecimalsWithinZeroToHundred) {
    const struct {
        float percent;
        const char* text;
    } cases[] = {
        {45.88f, "45.88"},
        {0.0f, "0.00"},
        {100.0f, "100.00"},
        {3.14159f, "3.14"},
        {99.999f, "100.00"},
        {250.0f, "100.00"},
        {-5.0f, "0.00"},
        {std::numeric_limits<float>::quiet_NaN(), "0.00"},
        {std::numeric_limits<float>::infinity(), "100.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPercent(c.percent), c.text) << c.percent;
}

TEST(MenuRect, HoldsItsLowEdgesAndNotItsHighOnes) {
    const MenuRect r = MenuRect::Around(10, 20, 8, 8); // (2, 12) to (18, 28)
    const struct {
        float x, y;
        bool inside;
    } cases[] = {
        {2, 12, true},      {17.99f, 27.99f, true}, {18, 20, false}, {10, 28, false},
        {1.99f, 20, false}, {10, 11.99f, false},    {10, 20, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(r.Contains(c.x, c.y), c.inside) << c.x << ", " << c.y;
}

// ---- the menu over a small tree of its named nodes ----

// Settings that answer stored values and record every setter call.
class RecordingSetting : public FakeSetting {
public:
    RecordingSetting() : FakeSetting(640, 480) {}
    int GetWindowConfig() override { return values[0]; }
    void SetWindowConfig(int v) override { Record(0, v); }
    int GetWindowMode() override { return values[1]; }
    void SetWindowMode(int v) override { Record(1, v); }
    bool IsFixed() override { return values[2] != 0; }
    void SetFixed(bool v) override { Record(2, v); }
    bool IsTopmost() override { return values[3] != 0; }
    void SetTopmost(bool v) override { Record(3, v); }
    bool IsCameraAuto() override { return values[4] != 0; }
    void SetCameraAuto(bool v) override { Record(4, v); }
    bool IsQuillombMode() override { return values[5] != 0; }
    void SetQuillombMode(bool v) override { Record(5, v); }
    bool IsSoundOn() override { return values[6] != 0; }
    void SetSoundOn(bool v) override { Record(6, v); }
    void SetClearMode(bool v) override { clearMode.push_back(v); }

    void Record(int row, int value) {
        calls.push_back({row, value});
        if (!refuse[row])
            values[row] = value;
    }

    int values[7] = {0, 0, 0, 0, 0, 0, 0};
    bool refuse[7] = {false, false, false, false, false, false, false};
    std::vector<std::pair<int, int>> calls;
    std::vector<bool> clearMode;
};

class TestPointer : public CPointer {
public:
    uint32_t GetButton(int index) override {
        ButtonRecord r{0, 0, 0};
        if (index == PB_LEFT)
            r.pressed = left;
        if (index == PB_RIGHT)
            r.pressed = right;
        return PackButton(r);
    }
    AxisPair GetAxis(int index) override { return {index == PA_X ? x : index == PA_Y ? y : 0, 0}; }
    void SetAxis(int, int32_t) override {}

    int32_t x = 0, y = 0;
    uint8_t left = 0, right = 0;
};

struct Queued {
    std::string name;
    float worldX, worldZ;
    bool newCamera;
};

class TestHost : public IMenuHost {
public:
    CPointer* GetPointer() override { return &pointer; }
    void PlayCue(const char* cue) override { cues.push_back(cue); }
    // Records each shown glyph of the walk with its place.
    void QueueIndicatorTree(CNode* root, bool newCamera) override {
        CTransform* layer = dynamic_cast<CTransform*>(root);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
        ++walks;
        cameraRecorded = cameraRecorded && newCamera;
        for (CHandle h : layer->GetChildren()) {
            CTransform* t = dynamic_cast<CTransform*>(NodeHandles().Resolve(h));
            if (!t || t->GetChannelValue(CTransform::TC_VISIBLE) == 0.0f)
                continue;
            // Back from the world to menu units: the instance's quarter turn
            // stands the menu's +Z on the screen's -Y, scaled 100 at 640 wide.
            const CMatrix& world = t->GetWorldMatrix();
            queued.push_back({t->GetName(), world(3, 0) / 100.0f, -world(3, 1) / 100.0f, newCamera});
        }
    }
    void Wait(int ms) override { waits.push_back(ms); }

    TestPointer pointer;
    std::vector<std::string> cues;
    std::vector<Queued> queued;
    std::vector<int> waits;
    int walks = 0;
    bool cameraRecorded = true;
};

const char* const ROW_MARKS[7][3] = {{"star2", "star1", "star"},    {"star3", "star4", "star5"},
                                     {"star6", "star7", nullptr},   {"star8", "star9", nullptr},
                                     {"star10", "star11", nullptr}, {"star12", "star13", nullptr},
                                     {"star14", "star15", nullptr}};

class ConfigMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = CurrentResourceManager;
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        root = CreateRootTransform();
        SetDefaultParent(root);
        // The model template, as the loader leaves it under the resource root.
        CTransform* menu = Node("Menu", nullptr, 0, 0);
        for (int row = 0; row < 7; ++row)
            for (int i = 0; i < 3 && ROW_MARKS[row][i]; ++i)
                Node(ROW_MARKS[row][i], menu, -40.0f + 60.0f * float(i), -110.0f + 25.0f * float(row));
        Node("quit0", menu, -118, 135);
        Node("quit1", menu, -118, 135);
        Node("initialize0", menu, 0, 135);
        Node("initialize1", menu, 0, 135);
        Node("ok0", menu, 118, 135);
        Node("ok1", menu, 118, 135);
        // Authored a little off: the code puts the dialogs in their places.
        CTransform* quit = Node("dialogQuit", menu, 0, 0);
        CTransform* reset = Node("dialogInitialize", menu, 0, 0);
        for (auto [name, parent, x] : {std::tuple{"Quit_cancelOFF", quit, -40.0f},
                                       {"Quit_cancelOVER", quit, -40.0f},
                                       {"Quit_okOFF", quit, 40.0f},
                                       {"Quit_okOVER", quit, 40.0f},
                                       {"InitializecancelOFF", reset, -40.0f},
                                       {"InitializecancelOVER", reset, -40.0f},
                                       {"InitializeokOFF", reset, 40.0f},
                                       {"InitializeokOVER", reset, 40.0f}})
            Node(name, parent, x, 18);
        for (int d = 0; d < 10; ++d)
            Node("n" + std::to_string(d), menu, 0, 0);
        Node("nKanma", menu, 0, 0);
        Node("nConma", menu, 0, 0);
        Node("nYen", menu, 0, 0);
        Node("nPercent", menu, 0, 0);
        indicatorRoot = new CTransform("indicatorRoot");
        menuObject = std::make_unique<CConfigMenu>("menu", setting, indicatorRoot, CHandle(), "::the");
    }
    void TearDown() override {
        menuObject.reset();
        SetDefaultParent(nullptr);
        CurrentResourceManager = saved;
    }
    CTransform* Node(const std::string& name, CTransform* parent, float x, float z) {
        CTransform* t = new CTransform(name.c_str());
        if (parent)
            parent->AddChild(t);
        t->SetTranslation(x, 0, z);
        return t;
    }
    CTransform* Scoped(const std::string& name) {
        return dynamic_cast<CTransform*>(registry.Find((name + "::the").c_str(), RT_TRANSFORM));
    }
    bool Shown(const std::string& name) {
        CTransform* t = Scoped(name);
        return t && t->GetChannelValue(CTransform::TC_VISIBLE) == 1.0f;
    }
    // The window pixel of a menu point at 640 x 480 (1 unit a pixel).
    void PointAt(float menuX, float menuY) {
        host.pointer.x = int32_t(menuX + 320);
        host.pointer.y = int32_t(menuY + 240);
    }
    // Opens the menu and steps it past its slide.
    void OpenAndSettle(uint32_t money = 0, float ratio = 0) {
        menuObject->Open(money, ratio);
        PointAt(-300, -300);
        ASSERT_TRUE(Step(100));
        host.cues.clear();
        host.queued.clear();
        host.walks = 0;
    }
    // One update, as the first of a frame-loop pass.
    bool Step(float dt) {
        AdvanceFrameStamp();
        return menuObject->Update(host, dt);
    }
    bool Click(float menuX, float menuY) {
        PointAt(menuX, menuY);
        host.pointer.left = 1;
        bool result = Step(16.67f);
        host.pointer.left = 0;
        return result;
    }
    bool RightClick() {
        host.pointer.right = 1;
        bool result = Step(16.67f);
        host.pointer.right = 0;
        return result;
    }
    float MarkX(int row, int i) { return Scoped(ROW_MARKS[row][i])->GetChannelValue(CTransform::TC_TRANSLATION_X); }
    float MarkY(int row, int i) { return Scoped(ROW_MARKS[row][i])->GetChannelValue(CTransform::TC_TRANSLATION_Z); }
    // The text the queued glyphs spell, left to right.
    static std::string QueuedText(std::vector<Queued> glyphs) {
        std::sort(glyphs.begin(), glyphs.end(), [](const Queued& a, const Queued& b) { return a.worldX < b.worldX; });
        std::string text;
        for (const Queued& q : glyphs)
            text += q.name.rfind("nKanma", 0) == 0 ? ',' : q.name.rfind("nConma", 0) == 0 ? '.' : q.name[1];
        return text;
    }

    CResourceManager* saved = nullptr;
    CResourceManager registry;
    CTransform* root = nullptr;
    CTransform* indicatorRoot = nullptr;
    RecordingSetting setting;
    TestHost host;
    std::unique_ptr<CConfigMenu> menuObject;
};

TEST_F(ConfigMenuTest, BuildsClosedUnderItsParentWithTheQuarterTurnAndDialogsInPlace) {
    CTransform* t = menuObject->GetMenuTransform();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetParent(), indicatorRoot);
    EXPECT_FALSE(menuObject->IsOpen());
    EXPECT_EQ(t->GetChannelValue(CTransform::TC_TRANSLATION_Z), 20000.0f);
    EXPECT_FLOAT_EQ(t->GetChannelValue(CTransform::TC_ROTATION_X), 1.5707963f);
    EXPECT_EQ(t->GetChannelValue(CTransform::TC_SCALE_X), 100.0f);
    EXPECT_FALSE(Shown("dialogQuit"));
    EXPECT_FALSE(Shown("dialogInitialize"));
    EXPECT_EQ(Scoped("dialogQuit")->GetChannelValue(CTransform::TC_TRANSLATION_X), 70.0f);
    EXPECT_EQ(Scoped("dialogInitialize")->GetChannelValue(CTransform::TC_TRANSLATION_X), -45.0f);
    EXPECT_EQ(Scoped("dialogInitialize")->GetChannelValue(CTransform::TC_TRANSLATION_Z), 90.0f);
    EXPECT_EQ(Scoped("nYen")->GetChannelValue(CTransform::TC_TRANSLATION_X), 92.0f);
    EXPECT_EQ(Scoped("nPercent")->GetChannelValue(CTransform::TC_TRANSLATION_Z), 95.0f);
    const MenuRect& quit = menuObject->GetQuitDialog().GetRect();
    EXPECT_EQ(quit.x0, -20.0f);
    EXPECT_EQ(quit.y1, 130.0f);
    for (const char* glyph : {"n0", "n5", "nKanma", "nConma"})
        EXPECT_FALSE(Shown(glyph)) << glyph;
}

TEST_F(ConfigMenuTest, OpeningShowsTheMarksOfTheSettingsAndSlidesInWithoutInput) {
    setting.values[0] = 2;
    setting.values[1] = 1;
    setting.values[6] = 1;
    menuObject->Open(1234, 0.5f);
    EXPECT_TRUE(menuObject->IsOpen());
    EXPECT_TRUE(Shown("star"));
    EXPECT_FALSE(Shown("star2"));
    EXPECT_FALSE(Shown("star1"));
    EXPECT_TRUE(Shown("star4"));
    EXPECT_TRUE(Shown("star6"));
    EXPECT_FALSE(Shown("star7"));
    EXPECT_TRUE(Shown("star15"));
    EXPECT_FALSE(Shown("star14"));

    // 50 ms in: halfway, a quarter of the distance left; a click is ignored.
    PointAt(MarkX(2, 1), MarkY(2, 1));
    host.pointer.left = 1;
    ASSERT_TRUE(Step(50));
    CTransform* t = menuObject->GetMenuTransform();
    EXPECT_FLOAT_EQ(t->GetChannelValue(CTransform::TC_TRANSLATION_X), -16000.0f);
    EXPECT_EQ(host.cues, std::vector<std::string>{"open"});
    EXPECT_TRUE(setting.calls.empty());
    EXPECT_TRUE(host.queued.empty());
    ASSERT_TRUE(Step(49));
    EXPECT_TRUE(setting.calls.empty());
    // From 100 ms the panel stands and clicks count; "open" plays once.
    ASSERT_TRUE(Step(1));
    EXPECT_EQ(t->GetChannelValue(CTransform::TC_TRANSLATION_X), 0.0f);
    EXPECT_EQ(setting.calls, (std::vector<std::pair<int, int>>{{2, 1}}));
    EXPECT_EQ(host.cues, (std::vector<std::string>{"open", "kettei"}));
}

TEST_F(ConfigMenuTest, EveryMarkCallsItsRowsSetterWithItsIndexEvenWhenAlreadySelected) {
    OpenAndSettle();
    for (int row = 0; row < 7; ++row)
        for (int i = 0; i < 3 && ROW_MARKS[row][i]; ++i) {
            SCOPED_TRACE(ROW_MARKS[row][i]);
            setting.calls.clear();
            host.cues.clear();
            // A corner of the mark's 16 x 16 square.
            ASSERT_TRUE(Click(MarkX(row, i) - 8, MarkY(row, i) + 7.5f));
            EXPECT_EQ(setting.calls, (std::vector<std::pair<int, int>>{{row, i}}));
            EXPECT_EQ(host.cues, std::vector<std::string>{"kettei"});
            EXPECT_TRUE(Shown(ROW_MARKS[row][i]));
            // Again on the mark now selected: the setter is called again.
            ASSERT_TRUE(Click(MarkX(row, i), MarkY(row, i)));
            EXPECT_EQ(setting.calls.size(), 2u);
        }
    // Just outside a square, or without a click, nothing is set.
    setting.calls.clear();
    ASSERT_TRUE(Click(MarkX(0, 0) + 8, MarkY(0, 0)));
    PointAt(MarkX(0, 0), MarkY(0, 0));
    ASSERT_TRUE(Step(16));
    EXPECT_TRUE(setting.calls.empty());
}

TEST_F(ConfigMenuTest, ARefusedValueShowsTheOldMark) {
    OpenAndSettle();
    setting.refuse[1] = true;
    ASSERT_TRUE(Click(MarkX(1, 2), MarkY(1, 2)));
    EXPECT_EQ(setting.calls, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_TRUE(Shown("star3"));
    EXPECT_FALSE(Shown("star5"));
}

TEST_F(ConfigMenuTest, QuitAsksFirstAndEndsOnlyWhenConfirmed) {
    OpenAndSettle();
    ASSERT_TRUE(Click(-118, 135));
    EXPECT_TRUE(menuObject->GetQuitDialog().IsShown());
    EXPECT_EQ(host.cues, std::vector<std::string>{"kettei"});
    // With the dialog up the panel takes no clicks.
    ASSERT_TRUE(Click(MarkX(0, 2), MarkY(0, 2)));
    EXPECT_TRUE(setting.calls.empty());
    // A right click cancels.
    host.cues.clear();
    ASSERT_TRUE(RightClick());
    EXPECT_FALSE(menuObject->GetQuitDialog().IsShown());
    EXPECT_EQ(host.cues, std::vector<std::string>{"cancel"});
    EXPECT_TRUE(menuObject->IsOpen());
    // The dialog's cancel button (dialog at (70, 90), button at (-40, 18)).
    ASSERT_TRUE(Click(-118, 135));
    host.cues.clear();
    ASSERT_TRUE(Click(30, 108));
    EXPECT_FALSE(menuObject->GetQuitDialog().IsShown());
    EXPECT_EQ(host.cues, std::vector<std::string>{"cancel"});
    // Its ok button: the menu closes, a second's pause, then the end.
    ASSERT_TRUE(Click(-118, 135));
    host.cues.clear();
    EXPECT_FALSE(Click(110, 108));
    EXPECT_EQ(host.cues, std::vector<std::string>{"kettei"});
    EXPECT_EQ(host.waits, std::vector<int>{1000});
    EXPECT_FALSE(menuObject->IsOpen());
    EXPECT_TRUE(setting.clearMode.empty());
}

TEST_F(ConfigMenuTest, ResetSetsClearModeOnlyWhenConfirmedAndKeepsTheMenuOpen) {
    OpenAndSettle();
    // A right click on the main panel does nothing.
    ASSERT_TRUE(RightClick());
    EXPECT_TRUE(host.cues.empty());
    ASSERT_TRUE(Click(0, 135));
    EXPECT_TRUE(menuObject->GetResetDialog().IsShown());
    host.cues.clear();
    // Dialog at (-45, 90): cancel at (-85, 108), ok at (-5, 108).
    ASSERT_TRUE(Click(-85, 108));
    EXPECT_EQ(host.cues, std::vector<std::string>{"cancel"});
    EXPECT_TRUE(setting.clearMode.empty());
    ASSERT_TRUE(Click(0, 135));
    host.cues.clear();
    ASSERT_TRUE(Click(-5, 108));
    EXPECT_EQ(host.cues, std::vector<std::string>{"kettei"});
    EXPECT_EQ(setting.clearMode, std::vector<bool>{true});
    EXPECT_FALSE(menuObject->GetResetDialog().IsShown());
    EXPECT_TRUE(menuObject->IsOpen());
    EXPECT_TRUE(host.waits.empty());
}

TEST_F(ConfigMenuTest, OkClosesTheMenu) {
    OpenAndSettle();
    ASSERT_TRUE(Click(118 + 54, 135 - 16));
    EXPECT_EQ(host.cues, std::vector<std::string>{"kettei"});
    EXPECT_FALSE(menuObject->IsOpen());
}

TEST_F(ConfigMenuTest, HoverFacesFollowThePointerAndOnlyTheDialogsReactWhileOneIsUp) {
    OpenAndSettle();
    EXPECT_TRUE(Shown("quit0"));
    EXPECT_FALSE(Shown("quit1"));
    PointAt(-118, 135);
    ASSERT_TRUE(Step(16));
    EXPECT_FALSE(Shown("quit0"));
    EXPECT_TRUE(Shown("quit1"));
    EXPECT_TRUE(Shown("ok0"));
    PointAt(118, 135);
    ASSERT_TRUE(Step(16));
    EXPECT_TRUE(Shown("quit0"));
    EXPECT_FALSE(Shown("quit1"));
    EXPECT_TRUE(Shown("ok1"));
    // A dialog up: the panel's buttons keep their faces, the dialog's follow.
    ASSERT_TRUE(Click(0, 135));
    PointAt(-118, 135);
    ASSERT_TRUE(Step(16));
    EXPECT_TRUE(Shown("quit0"));
    EXPECT_TRUE(Shown("initialize1"));
    EXPECT_TRUE(Shown("InitializeokOFF"));
    PointAt(-5, 108);
    ASSERT_TRUE(Step(16));
    EXPECT_TRUE(Shown("InitializeokOVER"));
    EXPECT_FALSE(Shown("InitializeokOFF"));
    EXPECT_TRUE(Shown("InitializecancelOFF"));
}

TEST_F(ConfigMenuTest, MoneyAndShareAreDrawnRightAlignedWithAPlaceForEveryGlyph) {
    OpenAndSettle(1111111, 0.1111f);
    ASSERT_TRUE(Step(16));
    // "1,111,111" then "11.11": every glyph its own node at its own place.
    std::vector<Queued> money, share;
    for (const Queued& q : host.queued)
        (std::abs(q.worldZ - 75.0f) < 0.01f ? money : share).push_back(q);
    ASSERT_EQ(money.size(), 9u);
    ASSERT_EQ(share.size(), 5u);
    for (const Queued& q : share)
        EXPECT_NEAR(q.worldZ, 95.0f, 0.01f);
    // Right to left from x = 80: digits 12 wide, marks 6, each centred.
    const float moneyX[9] = {74, 62, 50, 41, 32, 20, 8, -1, -10};
    for (size_t i = 0; i < money.size(); ++i)
        EXPECT_NEAR(money[i].worldX, moneyX[i], 0.01f) << i;
    const float shareX[5] = {74, 62, 53, 44, 32};
    for (size_t i = 0; i < share.size(); ++i)
        EXPECT_NEAR(share[i].worldX, shareX[i], 0.01f) << i;
    EXPECT_EQ(QueuedText(money), "1,111,111");
    EXPECT_EQ(QueuedText(share), "11.11");
    // All in one walk that records the camera; hidden again afterwards.
    EXPECT_EQ(host.walks, 1);
    EXPECT_TRUE(host.cameraRecorded);
    EXPECT_FALSE(Shown("n1"));
    EXPECT_FALSE(Shown("MenuGlyphs"));
    ASSERT_NE(Scoped("MenuGlyphs"), nullptr);
    for (CHandle h : Scoped("MenuGlyphs")->GetChildren()) {
        CTransform* glyph = dynamic_cast<CTransform*>(NodeHandles().Resolve(h));
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->GetChannelValue(CTransform::TC_VISIBLE), 0.0f) << glyph->GetName();
    }
    // The next update reuses the same nodes.
    const int32_t transforms = TransformHandles().SlotCount();
    host.queued.clear();
    ASSERT_TRUE(Step(16));
    EXPECT_EQ(host.queued.size(), 14u);
    EXPECT_EQ(TransformHandles().SlotCount(), transforms);
}

TEST_F(ConfigMenuTest, MoneyAboveAHundredMillionShowsAsAHundredMillion) {
    const struct {
        uint32_t money;
        const char* shown;
    } cases[] = {{0, "0"},
                 {1234567, "1,234,567"},
                 {100000000, "100,000,000"},
                 {100000001, "100,000,000"},
                 {4294967295u, "100,000,000"}};
    for (const auto& c : cases) {
        OpenAndSettle(c.money, 0);
        ASSERT_TRUE(Step(16));
        std::vector<Queued> money;
        for (const Queued& q : host.queued)
            if (std::abs(q.worldZ - 75.0f) < 0.01f)
                money.push_back(q);
        EXPECT_EQ(QueuedText(money), c.shown) << c.money;
        EXPECT_EQ(menuObject->GetMoney(), c.money);
    }
}

TEST_F(ConfigMenuTest, WindowPointsBecomeMenuUnitsByTheWindowWidth) {
    const struct {
        int width, height;
        float x, y, menuX, menuY;
    } cases[] = {
        {640, 480, 320, 240, 0, 0},      {640, 480, 0, 0, -320, -240},  {800, 800, 525, 400, 100, 0},
        {1200, 1200, 600, 1200, 0, 320}, {800, 800, 400, 275, 0, -100},
    };
    for (const auto& c : cases) {
        setting.SetSize(c.width, c.height);
        float mx, my;
        menuObject->ScreenToMenu(c.x, c.y, mx, my);
        EXPECT_FLOAT_EQ(mx, c.menuX) << c.width;
        EXPECT_FLOAT_EQ(my, c.menuY) << c.width;
    }
    // The panel at 640 x 480: (128, 80) to (512, 400), high edges outside.
    setting.SetSize(640, 480);
    EXPECT_TRUE(menuObject->ContainsPoint(128, 80));
    EXPECT_TRUE(menuObject->ContainsPoint(511, 399));
    EXPECT_FALSE(menuObject->ContainsPoint(512, 200));
    EXPECT_FALSE(menuObject->ContainsPoint(300, 400));
    EXPECT_FALSE(menuObject->ContainsPoint(127, 200));
    // A window of no width has no panel.
    setting.SetSize(0, 0);
    EXPECT_FALSE(menuObject->ContainsPoint(0, 0));
    // Each update scales the instance by the width.
    setting.SetSize(800, 800);
    OpenAndSettle();
    EXPECT_EQ(menuObject->GetMenuTransform()->GetChannelValue(CTransform::TC_SCALE_Y), 125.0f);
}

} // namespace

namespace {

TEST_F(ConfigMenuTest, AButtonWithoutAHoverFaceAlwaysShowsItsNormalFace) {
    CMenuButton plain("ok0::the", "", 55, 16); // around (118, 135)
    Scoped("ok0")->SetVisible(0);
    Scoped("ok1")->SetVisible(0);
    const struct {
        float x, y;
        bool clicked;
        int result;
    } cases[] = {
        {63, 119, true, 0},   {172.9f, 150.9f, true, 0}, {173, 135, true, -1},
        {118, 151, true, -1}, {118, 135, false, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plain.HitTest(c.x, c.y, c.clicked), c.result) << c.x << ", " << c.y;
        EXPECT_TRUE(Shown("ok0"));
        EXPECT_FALSE(Shown("ok1")); // not its hover face
    }
}

} // namespace
