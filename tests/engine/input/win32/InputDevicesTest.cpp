#include <gtest/gtest.h>

#include <windows.h>
#include <dinput.h>

#include "engine/input/win32/DIKeyboard.h"
#include "engine/input/win32/DIMouse.h"
#include "engine/input/win32/InputManager.h"
#include "engine/input/win32/WinKeyboard.h"
#include "engine/input/win32/WinMouse.h"
#include "engine/input/ScanCodeTable.h"
#include "tests/engine/input/win32/FakeDirectInput.h"

namespace {

constexpr uint32_t DOWN = 1, PRESSED = 1 << 8, RELEASED = 1 << 16;

TEST(ScanCodeTable, AgreesWithTheSystemHeaders) {
    struct Row {
        int dik;
        int vk;
    } rows[] = {
        {DIK_ESCAPE, VK_ESCAPE},
        {DIK_1, '1'},
        {DIK_0, '0'},
        {DIK_BACK, VK_BACK},
        {DIK_TAB, VK_TAB},
        {DIK_Q, 'Q'},
        {DIK_P, 'P'},
        {DIK_A, 'A'},
        {DIK_L, 'L'},
        {DIK_Z, 'Z'},
        {DIK_M, 'M'},
        {DIK_RETURN, VK_RETURN},
        {DIK_NUMPADENTER, VK_RETURN},
        {DIK_LCONTROL, VK_LCONTROL},
        {DIK_RCONTROL, VK_RCONTROL},
        {DIK_LSHIFT, VK_LSHIFT},
        {DIK_RSHIFT, VK_RSHIFT},
        {DIK_LMENU, VK_LMENU},
        {DIK_RMENU, VK_RMENU},
        {DIK_SPACE, VK_SPACE},
        {DIK_F1, VK_F1},
        {DIK_F5, VK_F5},
        {DIK_F10, VK_F10},
        {DIK_F11, VK_F11},
        {DIK_F12, VK_F12},
        {DIK_F13, VK_F13},
        {DIK_F14, VK_F14},
        {DIK_F15, VK_F15},
        {DIK_NUMLOCK, VK_NUMLOCK},
        {DIK_SCROLL, VK_SCROLL},
        {DIK_NUMPAD0, VK_NUMPAD0},
        {DIK_NUMPAD1, VK_NUMPAD1},
        {DIK_NUMPAD2, VK_NUMPAD2},
        {DIK_NUMPAD3, VK_NUMPAD3},
        {DIK_NUMPAD4, VK_NUMPAD4},
        {DIK_NUMPAD5, VK_NUMPAD5},
        {DIK_NUMPAD6, VK_NUMPAD6},
        {DIK_NUMPAD7, VK_NUMPAD7},
        {DIK_NUMPAD8, VK_NUMPAD8},
        {DIK_NUMPAD9, VK_NUMPAD9},
        {DIK_SUBTRACT, VK_SUBTRACT},
        {DIK_ADD, VK_ADD},
        {DIK_DECIMAL, VK_DECIMAL},
        {DIK_DIVIDE, VK_DIVIDE},
        {DIK_KANA, VK_KANA},
        {DIK_CONVERT, VK_CONVERT},
        {DIK_NOCONVERT, VK_NONCONVERT},
        {DIK_KANJI, VK_KANJI},
        {DIK_PAUSE, VK_PAUSE},
        {DIK_HOME, VK_HOME},
        {DIK_END, VK_END},
        {DIK_PRIOR, VK_PRIOR},
        {DIK_NEXT, VK_NEXT},
        {DIK_INSERT, VK_INSERT},
        {DIK_DELETE, VK_DELETE},
        {DIK_UP, VK_UP},
        {DIK_DOWN, VK_DOWN},
        {DIK_LEFT, VK_LEFT},
        {DIK_RIGHT, VK_RIGHT},
        {DIK_LWIN, VK_LWIN},
        {DIK_RWIN, VK_RWIN},
        {DIK_APPS, VK_APPS},
        {DIK_MINUS, 0},
        {DIK_MULTIPLY, 0},
        {DIK_CAPITAL, 0},
        {DIK_SEMICOLON, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ScanCodeToVirtualKey(r.dik), r.vk) << std::hex << r.dik;
}

// The thread's key state is settable, so the keyboard can be scripted.
void SetKey(int vk, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    state[vk] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

TEST(WinKeyboard, ReadsTheThreadKeyState) {
    CWinKeyboard keyboard;
    SetKey(VK_ESCAPE, true);
    keyboard.Update();
    EXPECT_EQ(keyboard.GetKey(DIK_ESCAPE) & 0xFFFFFF, DOWN | PRESSED);
    keyboard.Update();
    EXPECT_EQ(keyboard.GetKey(DIK_ESCAPE) & 0xFFFFFF, DOWN);
    EXPECT_EQ(keyboard.GetKey(0x12000000u | DIK_ESCAPE), DOWN | 0x12000000u);
    EXPECT_EQ(keyboard.GetKey(0x100 | DIK_ESCAPE), 0u);
    SetKey(VK_ESCAPE, false);
    keyboard.Update();
    EXPECT_EQ(keyboard.GetKey(DIK_ESCAPE), RELEASED);

    // Unmapped keys read up whatever the state says.
    BYTE all[256];
    memset(all, 0x80, sizeof all);
    SetKeyboardState(all);
    keyboard.Update();
    EXPECT_EQ(keyboard.GetKey(DIK_MINUS), 0u);
    EXPECT_TRUE(keyboard.GetKey(DIK_A) & DOWN);
    // Losing activation lets go of the held keys.
    keyboard.OnMessage(nullptr, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(keyboard.GetKey(DIK_A), 0u);
    memset(all, 0, sizeof all);
    SetKeyboardState(all);
    keyboard.Update();
    EXPECT_EQ(keyboard.GetKey(DIK_A), 0u);

    // Entering a menu loop, or the program losing activation, lets go too;
    // leaving the menu loop or a plain command does not.
    struct Case {
        UINT message;
        WPARAM wParam;
        bool clears;
    } cases[] = {
        {WM_ENTERMENULOOP, FALSE, true},
        {WM_ACTIVATEAPP, FALSE, true},
        {WM_EXITMENULOOP, FALSE, false},
        {WM_COMMAND, 6, false},
    };
    for (const Case& c : cases) {
        SetKey('A', true);
        keyboard.Update();
        keyboard.Update();
        ASSERT_EQ(keyboard.GetKey(DIK_A), DOWN) << std::hex << c.message;
        keyboard.OnMessage(nullptr, c.message, c.wParam, 0);
        EXPECT_EQ(keyboard.GetKey(DIK_A), c.clears ? 0u : DOWN) << std::hex << c.message;
        SetKey('A', false);
        keyboard.Update();
        keyboard.Update();
    }
}

// A window message, what it must do to a held key or button, and how often
// it must acquire or unacquire the device.
struct FocusCase {
    const char* what;
    UINT message;
    WPARAM wParam;
    bool clears;
    int acquires;
    int unacquires;
};

TEST(DIKeyboard, MessagesLetGoOfHeldKeysAndReacquireOnActivation) {
    fakedi::Device device;
    fakedi::DirectInput directInput(&device);
    {
        CDIKeyboard keyboard(&directInput);
        ASSERT_TRUE(keyboard.Open(nullptr));
        EXPECT_EQ(device.acquires, 1);
        const FocusCase cases[] = {
            {"deactivated", WM_ACTIVATE, WA_INACTIVE, true, 0, 0},
            {"program deactivated", WM_ACTIVATEAPP, FALSE, true, 0, 0},
            {"menu entered", WM_ENTERMENULOOP, FALSE, true, 0, 0},
            {"activated", WM_ACTIVATE, WA_ACTIVE, true, 1, 0},
            {"activated by a click", WM_ACTIVATE, WA_CLICKACTIVE, true, 1, 0},
            {"menu left", WM_EXITMENULOOP, FALSE, false, 0, 0},
            {"program activated", WM_ACTIVATEAPP, TRUE, false, 0, 0},
            {"command", WM_COMMAND, 6, false, 0, 0},
        };
        for (const FocusCase& c : cases) {
            SCOPED_TRACE(c.what);
            device.keys[DIK_A] = 0x80;
            keyboard.Update();
            keyboard.Update();
            ASSERT_EQ(keyboard.GetKey(DIK_A), DOWN);
            int acquires = device.acquires, unacquires = device.unacquires;
            keyboard.OnMessage(nullptr, c.message, c.wParam, 0);
            // Let go without a release event.
            EXPECT_EQ(keyboard.GetKey(DIK_A), c.clears ? 0u : DOWN);
            EXPECT_EQ(device.acquires - acquires, c.acquires);
            EXPECT_EQ(device.unacquires - unacquires, c.unacquires);
            // The key still held on the device reads afresh at the next update.
            keyboard.Update();
            EXPECT_EQ(keyboard.GetKey(DIK_A), c.clears ? DOWN | PRESSED : DOWN);
            device.keys[DIK_A] = 0;
            keyboard.Update();
            EXPECT_EQ(keyboard.GetKey(DIK_A), RELEASED);
        }
    }
    EXPECT_EQ(device.refs, 1u);
    EXPECT_EQ(directInput.refs, 1u);
}

TEST(DIKeyboard, FailedReadLetsGoAndReacquiresWithABound) {
    fakedi::Device device;
    fakedi::DirectInput directInput(&device);
    CDIKeyboard keyboard(&directInput);
    ASSERT_TRUE(keyboard.Open(nullptr));
    device.keys[DIK_SPACE] = 0x80;
    keyboard.Update();
    ASSERT_EQ(keyboard.GetKey(DIK_SPACE), DOWN | PRESSED);

    device.readResult = DIERR_INPUTLOST;
    device.lostAcquires = 2;
    int acquires = device.acquires;
    keyboard.Update();
    EXPECT_EQ(keyboard.GetKey(DIK_SPACE), 0u);
    EXPECT_EQ(device.acquires - acquires, 3); // lost twice, then acquired

    // A device that stays lost is tried a bounded number of times per update.
    device.lostAcquires = fakedi::Device::LOST_FOREVER;
    acquires = device.acquires;
    keyboard.Update();
    EXPECT_EQ(device.acquires - acquires, 8);
    EXPECT_EQ(keyboard.GetKey(DIK_SPACE), 0u);

    device.readResult = DI_OK;
    device.lostAcquires = 0;
    acquires = device.acquires;
    keyboard.Update();
    EXPECT_EQ(device.acquires, acquires);
    EXPECT_EQ(keyboard.GetKey(DIK_SPACE), DOWN | PRESSED);
}

// The device's record offset of the button that reads as PB_LEFT.
DWORD PrimaryButtonOffset() { return GetSystemMetrics(SM_SWAPBUTTON) ? DIMOFS_BUTTON1 : DIMOFS_BUTTON0; }

TEST(DIMouse, MessagesLetGoOfHeldButtonsAndAcquireOrUnacquire) {
    fakedi::Device device;
    fakedi::DirectInput directInput(&device);
    {
        CDIMouse mouse(&directInput, nullptr, nullptr, nullptr);
        ASSERT_TRUE(mouse.Open(nullptr));
        EXPECT_EQ(device.acquires, 1);
        const FocusCase cases[] = {
            {"activated", WM_ACTIVATE, WA_ACTIVE, true, 1, 0},
            {"menu left", WM_EXITMENULOOP, FALSE, true, 1, 0},
            {"menu entered", WM_ENTERMENULOOP, FALSE, false, 0, 1},
            {"deactivated", WM_ACTIVATE, WA_INACTIVE, true, 0, 0},
            {"program deactivated", WM_ACTIVATEAPP, FALSE, true, 0, 0},
            {"command", WM_COMMAND, 6, false, 0, 0},
        };
        for (const FocusCase& c : cases) {
            SCOPED_TRACE(c.what);
            device.Record(PrimaryButtonOffset(), 0x80);
            device.Record(DIMOFS_X, 5);
            mouse.Update();
            ASSERT_EQ(mouse.GetButton(PB_LEFT), DOWN | PRESSED);
            ASSERT_EQ(mouse.GetAxis(PA_X).delta, 5);
            mouse.Update();
            ASSERT_EQ(mouse.GetButton(PB_LEFT), DOWN);
            int acquires = device.acquires, unacquires = device.unacquires;
            mouse.OnMessage(nullptr, c.message, c.wParam, 0);
            EXPECT_EQ(mouse.GetButton(PB_LEFT), c.clears ? 0u : DOWN);
            EXPECT_EQ(device.acquires - acquires, c.acquires);
            EXPECT_EQ(device.unacquires - unacquires, c.unacquires);
            // Indices outside the three buttons read 0, held button or not.
            EXPECT_EQ(mouse.GetButton(PB_COUNT), 0u);
            EXPECT_EQ(mouse.GetButton(-1), 0u);
            device.Record(PrimaryButtonOffset(), 0);
            mouse.Update();
            // A button let go by the message gives no release event later.
            EXPECT_EQ(mouse.GetButton(PB_LEFT), c.clears ? 0u : RELEASED);
        }
    }
    EXPECT_EQ(device.refs, 1u);
    EXPECT_EQ(directInput.refs, 1u);
}

TEST(DIMouse, FailedReadLetsGoAndReacquiresWithABound) {
    fakedi::Device device;
    fakedi::DirectInput directInput(&device);
    CDIMouse mouse(&directInput, nullptr, nullptr, nullptr);
    ASSERT_TRUE(mouse.Open(nullptr));
    device.Record(PrimaryButtonOffset(), 0x80);
    device.Record(DIMOFS_Z, uint32_t(-120));
    mouse.Update();
    ASSERT_EQ(mouse.GetButton(PB_LEFT), DOWN | PRESSED);
    ASSERT_EQ(mouse.GetAxis(PA_WHEEL).delta, -120);

    device.readResult = DIERR_INPUTLOST;
    device.lostAcquires = 3;
    int acquires = device.acquires;
    mouse.Update();
    EXPECT_EQ(mouse.GetButton(PB_LEFT), 0u);
    EXPECT_EQ(mouse.GetAxis(PA_WHEEL).delta, 0);
    EXPECT_EQ(device.acquires - acquires, 4);

    device.lostAcquires = fakedi::Device::LOST_FOREVER;
    acquires = device.acquires;
    mouse.Update();
    EXPECT_EQ(device.acquires - acquires, 8);

    device.readResult = DI_OK;
    device.lostAcquires = 0;
    device.Record(PrimaryButtonOffset(), 0x80);
    mouse.Update();
    EXPECT_EQ(mouse.GetButton(PB_LEFT), DOWN | PRESSED);
}

LRESULT CALLBACK ForwardingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CInputManager::Instance().OnMessage(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ForwardingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "InputTestWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "InputTestWindow", "input", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    return window;
}

bool CursorOver(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    POINT now;
    return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
}

TEST(InputManager, CreatesTheDevicesOfEachKind) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    CInputManager& input = CInputManager::Instance();
    InputSettings win = {IK_WIN32, IK_WIN32, {nullptr, nullptr, nullptr}};
    ASSERT_TRUE(input.Create(window, win));
    EXPECT_NE(dynamic_cast<CWinKeyboard*>(input.GetKeyboard()), nullptr);
    EXPECT_NE(dynamic_cast<CWinMouse*>(input.GetPointer()), nullptr);

    InputSettings none = {IK_NULL, 7, {nullptr, nullptr, nullptr}};
    ASSERT_TRUE(input.Create(window, none));
    EXPECT_NE(dynamic_cast<CNullKeyboard*>(input.GetKeyboard()), nullptr);
    EXPECT_NE(dynamic_cast<CNullPointer*>(input.GetPointer()), nullptr);

    // DirectInput or, where it cannot be set up, the null devices: never null.
    InputSettings direct = {IK_DIRECTINPUT, IK_DIRECTINPUT, {nullptr, nullptr, nullptr}};
    ASSERT_TRUE(input.Create(window, direct));
    ASSERT_NE(input.GetKeyboard(), nullptr);
    ASSERT_NE(input.GetPointer(), nullptr);
    // Wine provides DirectInput 8: both devices open for real.
    EXPECT_NE(dynamic_cast<CDIKeyboard*>(input.GetKeyboard()), nullptr);
    EXPECT_NE(dynamic_cast<CDIMouse*>(input.GetPointer()), nullptr);
    // Nothing is held on the test display: both devices read up.
    input.Update();
    EXPECT_EQ(input.GetKeyboard()->GetKey(DIK_ESCAPE), 0u);
    EXPECT_EQ(input.GetPointer()->GetButton(PB_LEFT), 0u);

    input.Release();
    ASSERT_NE(input.GetKeyboard(), nullptr);
    EXPECT_EQ(input.GetKeyboard()->GetKey(DIK_ESCAPE), 0u);
    DestroyWindow(window);
}

TEST(WinMouse, ReadsClicksAndWheelFromWindowMessages) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    CInputManager& input = CInputManager::Instance();
    InputSettings win = {IK_WIN32, IK_WIN32, {nullptr, nullptr, nullptr}};
    input.Create(window, win);
    if (!CursorOver(window, 50, 40)) {
        DestroyWindow(window);
        GTEST_SKIP() << "the cursor cannot be placed on this display";
    }
    CPointer* pointer = input.GetPointer();
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(50, 40));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(150, 140));
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -2 * WHEEL_DELTA), MAKELPARAM(150, 140));
    input.Update();
    EXPECT_EQ(pointer->GetButton(PB_LEFT), DOWN | PRESSED | RELEASED);
    EXPECT_EQ(pointer->GetAxis(PA_X).value, 50);
    EXPECT_EQ(pointer->GetAxis(PA_Y).value, 40);
    EXPECT_EQ(pointer->GetAxis(PA_WHEEL).delta, -2 * WHEEL_DELTA);
    input.Update();
    EXPECT_EQ(pointer->GetButton(PB_LEFT), 0u);

    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 40));
    input.Update();
    EXPECT_EQ(pointer->GetButton(PB_RIGHT), DOWN | PRESSED);
    // Off the client area the held button is dropped without a release.
    if (CursorOver(window, 400, 40)) {
        input.Update();
        EXPECT_EQ(pointer->GetButton(PB_RIGHT), 0u);
    }
    input.Release();
    DestroyWindow(window);
}

} // namespace
