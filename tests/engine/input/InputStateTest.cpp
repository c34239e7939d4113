#include <gtest/gtest.h>

#include <cstring>

#include "engine/input/DIMouseState.h"
#include "engine/input/KeyStates.h"
#include "engine/input/Keyboard.h"
#include "engine/input/Pointer.h"
#include "engine/input/ScanCodeTable.h"
#include "engine/input/WinMouseState.h"
#include "engine/input/WindowMessages.h"

namespace {

constexpr uint32_t DOWN = 1, PRESSED = 1 << 8, RELEASED = 1 << 16;

intptr_t Point(int x, int y) { return intptr_t(uint32_t(y) << 16 | uint32_t(x & 0xFFFF)); }
uintptr_t Wheel(int16_t delta) { return uintptr_t(uint32_t(uint16_t(delta)) << 16); }

TEST(KeyStates, HeldKeyPressedOnFirstUpdateOnlyAndReleasedOnce) {
    CKeyStates keys;
    uint8_t state[256] = {};
    const uint32_t feed[][2] = {
        // key byte, expected word
        {0x80, DOWN | PRESSED}, {0x80, DOWN}, {0x81, DOWN}, {0x00, RELEASED}, {0x00, 0}, {0x01, 0},
    };
    for (const auto& step : feed) {
        state[0x1B] = uint8_t(step[0]);
        keys.Advance(state);
        EXPECT_EQ(keys.KeyWord(0x1B, 0), step[1]) << "byte " << step[0];
    }
}

TEST(KeyStates, CodesCarryTheirTagAndOutOfRangeCodesAreRefused) {
    struct Case {
        uint32_t code;
        bool known;
        int scan;
        uint32_t tag;
    } cases[] = {
        {0x01, true, 1, 0},   {0xFF, true, 255, 0},      {0x7F000010, true, 0x10, 0x7F}, {0xFF000000, true, 0, 0xFF},
        {0x100, false, 0, 0}, {0x00010001, false, 0, 0}, {0xFFFFFFFF, false, 0, 0},
    };
    for (const Case& c : cases) {
        int scan = -1;
        uint32_t tag = 0;
        EXPECT_EQ(SplitKeyCode(c.code, scan, tag), c.known) << std::hex << c.code;
        if (c.known) {
            EXPECT_EQ(scan, c.scan);
            EXPECT_EQ(tag, c.tag);
        }
    }
    CKeyStates keys;
    uint8_t state[256];
    std::memset(state, 0x80, sizeof state);
    keys.Advance(state);
    EXPECT_EQ(keys.KeyWord(5, 0xAB), DOWN | PRESSED | 0xAB000000u);
    EXPECT_EQ(keys.KeyWord(256, 0), 0u);
    EXPECT_EQ(keys.KeyWord(-1, 0), 0u);
}

TEST(KeyStates, ClearDropsHeldKeysWithoutAReleaseEvent) {
    CKeyStates keys;
    uint8_t state[256] = {};
    state[0x41] = 0x80;
    keys.Advance(state);
    keys.Advance(state);
    keys.Clear();
    EXPECT_EQ(keys.KeyWord(0x41, 0), 0u);
    state[0x41] = 0;
    keys.Advance(state);
    EXPECT_EQ(keys.KeyWord(0x41, 0), 0u); // not "released": it was let go while away
}

TEST(ScanCodeTable, MapsNamedKeysAndLeavesTheRestUnmapped) {
    struct Case {
        int scan;
        uint8_t vk;
    } cases[] = {
        {0x01, 0x1B}, {0x02, '1'},  {0x0B, '0'},  {0x1E, 'A'},  {0x2C, 'Z'},  {0x1C, 0x0D}, {0x9C, 0x0D},
        {0x3B, 0x70}, {0x58, 0x7B}, {0x66, 0x7E}, {0x52, 0x60}, {0x49, 0x69}, {0xDD, 0x5D}, {0x0C, 0},
        {0x37, 0},    {0x3A, 0},    {0x00, 0},    {0xFF, 0},    {-1, 0},      {256, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanCodeToVirtualKey(c.scan), c.vk) << std::hex << c.scan;
    // Each letter maps to its own capital.
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const int starts[] = {0x10, 0x1E, 0x2C};
    for (int r = 0; r < 3; ++r)
        for (int i = 0; rows[r][i]; ++i)
            EXPECT_EQ(ScanCodeToVirtualKey(starts[r] + i), uint8_t(rows[r][i]));
}

TEST(FocusMessages, ActivationMenuAndOtherMessages) {
    struct Case {
        uint32_t message;
        uintptr_t wParam;
        FocusChange want;
    } cases[] = {
        {IM_ACTIVATE, 0, FC_DEACTIVATED},
        {IM_ACTIVATE, 0x00010000, FC_DEACTIVATED}, // inactive and minimised
        {IM_ACTIVATE, 1, FC_ACTIVATED},
        {IM_ACTIVATE, 2, FC_ACTIVATED},
        {IM_ACTIVATEAPP, 0, FC_DEACTIVATED},
        {IM_ACTIVATEAPP, 1, FC_NONE},
        {IM_ENTERMENULOOP, 0, FC_MENU_ENTER},
        {IM_EXITMENULOOP, 0, FC_MENU_EXIT},
        {0x0111, 6, FC_NONE}, // a command with identifier 6 is just a command
        {IM_MOUSEMOVE, 0, FC_NONE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyFocusMessage(c.message, c.wParam), c.want) << std::hex << c.message;
}

TEST(WinMouseState, ClickInsideOneStepReadsDownPressedAndReleasedThenUp) {
    CWinMouseState mouse;
    mouse.OnMessage(IM_LBUTTONDOWN, 0, Point(5, 5));
    mouse.OnMessage(IM_LBUTTONUP, 0, Point(5, 5));
    mouse.Update(true);
    EXPECT_EQ(mouse.GetButton(PB_LEFT), DOWN | PRESSED | RELEASED);
    mouse.Update(true);
    EXPECT_EQ(mouse.GetButton(PB_LEFT), 0u);
}

TEST(WinMouseState, ScriptedFeedOfButtons) {
    struct Step {
        uint32_t messages[3];
        bool inside;
        int button;
        uint32_t want;
    } steps[] = {
        {{IM_RBUTTONDOWN}, true, PB_RIGHT, DOWN | PRESSED},
        {{}, true, PB_RIGHT, DOWN},
        {{IM_RBUTTONDOWN}, true, PB_RIGHT, DOWN}, // a repeat down is no new press
        {{IM_RBUTTONUP}, true, PB_RIGHT, RELEASED},
        {{IM_RBUTTONUP}, true, PB_RIGHT, 0},
        {{IM_NCMBUTTONDOWN}, true, PB_MIDDLE, DOWN | PRESSED},
        {{IM_NCMBUTTONUP, IM_MBUTTONDOWN}, true, PB_MIDDLE, DOWN | PRESSED | RELEASED},
        {{}, true, PB_MIDDLE, DOWN},
        // Leaving the client area drops the held button without a release...
        {{}, false, PB_MIDDLE, 0},
        // ...and coming back does not bring it back.
        {{}, true, PB_MIDDLE, 0},
        {{IM_MBUTTONUP}, true, PB_MIDDLE, 0},
        {{IM_LBUTTONDOWN}, false, PB_LEFT, 0},
        {{0x0203 /* double click */}, true, PB_LEFT, 0},
    };
    CWinMouseState mouse;
    int n = 0;
    for (const Step& s : steps) {
        for (uint32_t m : s.messages)
            if (m)
                mouse.OnMessage(m, 0, 0);
        mouse.Update(s.inside);
        EXPECT_EQ(mouse.GetButton(s.button), s.want) << "step " << n;
        ++n;
    }
}

TEST(WinMouseState, AxesFollowMovesAndTheLastWheelMessage) {
    CWinMouseState mouse;
    mouse.OnMessage(IM_MOUSEMOVE, 0, Point(10, 20));
    mouse.Update(true);
    EXPECT_EQ(mouse.GetAxis(PA_X).value, 10);
    EXPECT_EQ(mouse.GetAxis(PA_X).delta, 10);
    EXPECT_EQ(mouse.GetAxis(PA_Y).value, 20);
    mouse.OnMessage(IM_MOUSEMOVE, 0, Point(4, 65535)); // unsigned 16-bit words
    mouse.Update(true);
    EXPECT_EQ(mouse.GetAxis(PA_X).delta, -6);
    EXPECT_EQ(mouse.GetAxis(PA_Y).value, 65535);

    mouse.OnMessage(IM_MOUSEWHEEL, Wheel(120), 0);
    mouse.OnMessage(IM_MOUSEWHEEL, Wheel(-240), 0);
    mouse.Update(true);
    EXPECT_EQ(mouse.GetAxis(PA_WHEEL).delta, -240);
    EXPECT_EQ(mouse.GetAxis(PA_WHEEL).value, -240);
    mouse.OnMessage(IM_MOUSEWHEEL, Wheel(120), 0);
    mouse.Update(true);
    EXPECT_EQ(mouse.GetAxis(PA_WHEEL).value, -120);
    mouse.Update(true);
    EXPECT_EQ(mouse.GetAxis(PA_WHEEL).delta, 0);
    EXPECT_EQ(mouse.GetAxis(PA_X).delta, 0);
}

TEST(WinMouseState, IndicesOutsideTheArraysReadZero) {
    CWinMouseState mouse;
    mouse.OnMessage(IM_LBUTTONDOWN, 0, 0);
    mouse.OnMessage(IM_MOUSEMOVE, 0, Point(3, 3));
    mouse.Update(true);
    for (int bad : {-1, 3, 1000}) {
        EXPECT_EQ(mouse.GetButton(bad), 0u);
        EXPECT_EQ(mouse.GetAxis(bad).value, 0);
        EXPECT_EQ(mouse.GetAxis(bad).delta, 0);
    }
}

class AddFilter : public CAxisFilter {
public:
    int32_t Filter(int32_t value, int32_t delta) override {
        int32_t v = value + delta;
        return v < 0 ? 0 : v > 100 ? 100 : v;
    }
};

TEST(DIMouseState, RecordsBecomeEdgesDeltasAndFilteredValues) {
    AddFilter clamp;
    CDIMouseState mouse(&clamp, nullptr, nullptr, false);
    mouse.BeginUpdate();
    mouse.ApplyRecord(CDIMouseState::OFFSET_X, 30);
    mouse.ApplyRecord(CDIMouseState::OFFSET_X, uint32_t(-5));
    mouse.ApplyRecord(CDIMouseState::OFFSET_Y, 7);
    mouse.ApplyRecord(CDIMouseState::OFFSET_BUTTON0, 0x80);
    mouse.ApplyRecord(CDIMouseState::OFFSET_BUTTON0 + 2, 0x80);
    mouse.ApplyRecord(CDIMouseState::OFFSET_BUTTON0 + 2, 0x00);
    mouse.ApplyRecord(CDIMouseState::OFFSET_BUTTON0 + 3, 0x80); // a fourth button: ignored
    mouse.ApplyRecord(999, 1);
    mouse.EndUpdate();
    EXPECT_EQ(mouse.GetAxis(PA_X).delta, 25);
    EXPECT_EQ(mouse.GetAxis(PA_X).value, 25);
    EXPECT_EQ(mouse.GetAxis(PA_Y).delta, 7);
    EXPECT_EQ(mouse.GetAxis(PA_Y).value, 0); // no filter: the value stays
    EXPECT_EQ(mouse.GetButton(PB_LEFT), DOWN | PRESSED);
    EXPECT_EQ(mouse.GetButton(PB_MIDDLE), PRESSED | RELEASED); // a click within one update
    mouse.BeginUpdate();
    mouse.ApplyRecord(CDIMouseState::OFFSET_X, 500);
    mouse.EndUpdate();
    EXPECT_EQ(mouse.GetAxis(PA_X).value, 100);
    EXPECT_EQ(mouse.GetButton(PB_LEFT), DOWN);
    EXPECT_EQ(mouse.GetButton(PB_MIDDLE), 0u);
    mouse.SetAxis(PA_X, -40);
    EXPECT_EQ(mouse.GetAxis(PA_X).value, 0);
    mouse.SetAxis(PA_Y, -40);
    EXPECT_EQ(mouse.GetAxis(PA_Y).value, -40);
    mouse.SetAxis(7, 1);
    EXPECT_EQ(mouse.GetButton(3), 0u);
    mouse.Clear();
    EXPECT_EQ(mouse.GetButton(PB_LEFT), 0u);
    EXPECT_EQ(mouse.GetAxis(PA_Y).value, 0);
}

TEST(DIMouseState, SwappedButtonsReportThePrimaryAsButtonZero) {
    CDIMouseState mouse(nullptr, nullptr, nullptr, true);
    mouse.BeginUpdate();
    mouse.ApplyRecord(CDIMouseState::OFFSET_BUTTON0 + 1, 0x80); // the right-hand switch
    mouse.EndUpdate();
    EXPECT_EQ(mouse.GetButton(PB_LEFT), DOWN | PRESSED);
    EXPECT_EQ(mouse.GetButton(PB_RIGHT), 0u);
    EXPECT_EQ(mouse.GetButton(PB_MIDDLE), 0u);
}

TEST(NullDevices, ReportNothing) {
    CNullKeyboard keyboard;
    CNullPointer pointer;
    keyboard.Update();
    pointer.Update();
    pointer.SetAxis(PA_X, 5);
    EXPECT_EQ(keyboard.GetKey(1), 0u);
    EXPECT_EQ(pointer.GetButton(PB_LEFT), 0u);
    EXPECT_EQ(pointer.GetAxis(PA_X).value, 0);
    EXPECT_EQ(pointer.GetAxis(PA_X).delta, 0);
}

} // namespace
