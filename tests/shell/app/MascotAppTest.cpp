// deskmate.exe as a user meets it: started beside its data, its windows found
// and driven from outside, its files read after it has ended.
#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "character/show/TvShowLayout.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/window/DibRegion.h"
#include "tests/shell/app/DeskmateProcess.h"
#include "tests/shell/support/SoundMonitor.h"
#include "tests/support/ScreenCapture.h"

namespace {

using namespace deskmate_process;

// The money and the state of every item of a fresh game.
void ExpectFreshGame(const StateFile& f) {
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.version, 0x10000u);
    EXPECT_EQ(f.money, 50000u);
    EXPECT_GT(f.items.size(), 50u); // her whole catalogue
    for (size_t i = 1; i < f.items.size(); ++i)
        EXPECT_LT(f.items[i - 1].first, f.items[i].first);
    for (const auto& item : f.items)
        EXPECT_LE(item.second, 2u) << item.first;
    EXPECT_EQ(f.Code("clothBlue"), 0u);    // on sale, not bought
    EXPECT_EQ(f.Code("clothDefault"), 1u); // what she wears from the start
}

const int WIDTH = 640, HEIGHT = 640;

// One run of deskmate.exe from the programs' folder, with no settings or
// state file left from earlier runs unless a test writes one.
class Deskmate : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(Config().c_str());
        DeleteFileA(State().c_str());
        SetCursorPos(POINTER_AWAY_X, POINTER_AWAY_Y); // the real pointer stays off the window
    }
    void TearDown() override {
        for (PROCESS_INFORMATION& p : m_processes)
            EndDeskmate(p);
        DeleteFileA(Config().c_str());
        DeleteFileA(State().c_str());
    }
    static std::string Config() { return ConfigPath(); }
    static std::string State() { return StatePath(); }

    PROCESS_INFORMATION Start(const char* arguments = "", const std::string& folder = Here()) {
        PROCESS_INFORMATION process = StartDeskmate(arguments, folder);
        if (process.hProcess)
            m_processes.push_back(process);
        return process;
    }

    std::vector<PROCESS_INFORMATION> m_processes;
};

TEST_F(Deskmate, SecondStartEndsAtOnceWhileTheFirstRuns) {
    PROCESS_INFORMATION first = Start();
    HWND main = WaitForMain(first);
    ASSERT_NE(main, nullptr);
    PROCESS_INFORMATION second = Start();
    ASSERT_NE(second.hProcess, nullptr);
    EXPECT_EQ(WaitForExit(second, 20000), 0);
    EXPECT_FALSE(HasEnded(first));
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(Deskmate, SplashFirstThenTheWindowShapedByItsMask) {
    PROCESS_INFORMATION p = Start();
    ASSERT_NE(p.hProcess, nullptr);
    bool mainBeforeSplash = false;
    HWND splash = nullptr;
    WaitFor([&] {
        splash = FindVisible(p.dwProcessId, "test");
        mainBeforeSplash = mainBeforeSplash || (!splash && FindVisible(p.dwProcessId, MAIN_TITLE));
        return splash != nullptr || mainBeforeSplash;
    });
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(mainBeforeSplash);
    EXPECT_EQ(FindVisible(p.dwProcessId, MAIN_TITLE), nullptr); // hidden while the splash shows

    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindow(splash) && IsWindowVisible(splash));
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, WIDTH);
    EXPECT_EQ(r.bottom - r.top, HEIGHT);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - WIDTH / 2);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - HEIGHT / 2);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    // The outline is exactly the mask of its size.
    std::string folder = GetDataFolder();
    SetDataFolder(Here().substr(0, Here().size() - 1)); // the program's data
    std::unique_ptr<CDataArchive> archive(OpenClipperArchive(0));
    SetDataFolder(folder);
    ASSERT_TRUE(archive);
    ArchiveEntry entry = archive->GetEntry("clipper/clipper_640_640.bmp");
    ASSERT_NE(entry.data, nullptr);
    CDibRegion mask(RGB(0, 255, 0));
    ASSERT_TRUE(mask.LoadFromMemory(entry.data, entry.size));
    ASSERT_TRUE(mask.HasOutline());
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(main, outline), ERROR);
    EXPECT_TRUE(EqualRgn(outline, static_cast<HRGN>(mask.GetRegion().GetSafeHandle())));
    EXPECT_FALSE(PtInRegion(outline, 1, 1));
    EXPECT_TRUE(PtInRegion(outline, WIDTH / 2, HEIGHT / 2));

    // A mask name from outside is not taken: a pointer of another process
    // means nothing here, and the outline stays.
    PostMessageA(main, 0x47A, WPARAM(0x12345678), 0);
    PostMessageA(main, 0x47A, 0, 0);
    Sleep(1000);
    EXPECT_FALSE(HasEnded(p));
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(main, after), ERROR);
    EXPECT_TRUE(EqualRgn(after, outline));
    DeleteObject(after);
    DeleteObject(outline);
}

TEST_F(Deskmate, DraggingTheRimMovesTheWindowAndKeepsItsPlace) {
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    RECT before;
    GetWindowRect(main, &before);
    // Pressed on the rim (left edge, middle height), moved 50 right and 10 down.
    PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 320));
    PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(62, 330));
    PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(62, 330));
    RECT after = before;
    EXPECT_TRUE(WaitFor([&] {
        GetWindowRect(main, &after);
        return after.left != before.left;
    }));
    EXPECT_EQ(after.left, before.left + 50);
    EXPECT_EQ(after.top, before.top + 10);
    EXPECT_EQ(after.right - after.left, WIDTH);

    // Pressed in the middle, a drag turns the camera and leaves the window.
    PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(320, 320));
    PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 380));
    PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(400, 380));
    Sleep(1000);
    RECT still;
    GetWindowRect(main, &still);
    EXPECT_EQ(still.left, after.left);
    EXPECT_EQ(still.top, after.top);

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p), 0);
    std::vector<int> values = ConfigValues(ReadBytes(Config()));
    ASSERT_EQ(values.size(), 11u);
    EXPECT_EQ(values[5], after.left + WIDTH / 2); // InitX: the window's centre
    EXPECT_EQ(values[6], after.top + HEIGHT / 2);

    // The next start puts it there.
    PROCESS_INFORMATION again = Start();
    HWND moved = WaitForMain(again);
    ASSERT_NE(moved, nullptr);
    RECT r;
    GetWindowRect(moved, &r);
    EXPECT_EQ(r.left, after.left);
    EXPECT_EQ(r.top, after.top);
}

TEST_F(Deskmate, EscapeEndsItWithTheStateFileWritten) {
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(1000);
    SetForegroundWindow(main);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[0].ki.wScan = keys[1].ki.wScan = 1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &keys[0], sizeof(INPUT));
    Sleep(200);
    SendInput(1, &keys[1], sizeof(INPUT));
    EXPECT_EQ(WaitForExit(p), 0);
    ExpectFreshGame(ParseState(ReadBytes(State())));
    std::vector<int> values = ConfigValues(ReadBytes(Config()));
    ASSERT_EQ(values.size(), 11u);
    EXPECT_EQ(values[10], 0); // ClearMode written back as 0
}

// A 24-bit BMP of one colour.
std::string PlainBmp(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    int stride = (width * 3 + 3) & ~3;
    uint32_t pixels = uint32_t(stride) * uint32_t(height), size = 54 + pixels;
    std::string bmp(size, '\0');
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + size_t(i)] = char(v >> (8 * i) & 0xFF);
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, pixels, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + size_t(y) * size_t(stride) + size_t(x) * 3;
            bmp[at] = char(b), bmp[at + 1] = char(g), bmp[at + 2] = char(r);
        }
    return bmp;
}

// A mask that is all key colour gives no outline: the window stays whole
// (and visible) instead of being cut away to nothing.
TEST_F(Deskmate, MaskWithoutOutlineLeavesTheWindowWhole) {
    std::string loose = Here() + "clipper\\clipper_640_640.bmp";
    CreateDirectoryA((Here() + "clipper").c_str(), nullptr);
    WriteBytes(loose, PlainBmp(WIDTH, HEIGHT, 0, 255, 0));
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    bool visible = main && IsWindowVisible(main);
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    int kind = main ? GetWindowRgn(main, outline) : -1;
    DeleteObject(outline);
    if (main)
        PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForExit(p);
    DeleteFileA(loose.c_str());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(visible);
    EXPECT_EQ(kind, ERROR); // no region: the whole rectangle
}

TEST_F(Deskmate, TrayMenuItemEndsItAndFilesStayBesideTheProgram) {
    // Started from another folder, it still keeps its files beside itself.
    std::string elsewhere = Here() + "deskmate_elsewhere\\";
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    DeleteFileA((elsewhere + "tavelune.cfg").c_str());
    DeleteFileA((elsewhere + "tavelune.dat").c_str());
    PROCESS_INFORMATION p = Start("", elsewhere);
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, 0x8003, 0); // the menu's one item
    EXPECT_EQ(WaitForExit(p), 0);
    ExpectFreshGame(ParseState(ReadBytes(State())));
    EXPECT_EQ(ConfigValues(ReadBytes(Config())).size(), 11u);
    EXPECT_EQ(ReadBytes(elsewhere + "tavelune.cfg"), "<missing>");
    EXPECT_EQ(ReadBytes(elsewhere + "tavelune.dat"), "<missing>");
    RemoveDirectoryA(elsewhere.c_str());
}

// A tap whose press and release arrive within one pump of messages ends it
// too; the auto-repeat of a key held since before does not.
TEST_F(Deskmate, EscapeTapWithinOnePumpEndsIt) {
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(1000);
    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x40010001); // a repeat
    Sleep(1500);
    EXPECT_FALSE(HasEnded(p));
    PostEscape(main);
    EXPECT_EQ(WaitForExit(p), 0);
    EXPECT_TRUE(ParseState(ReadBytes(State())).ok);
}

TEST_F(Deskmate, HostileStateFileIsNeitherFatalNorOverwritten) {
    const std::string files[] = {
        std::string("\x01\x00\x01\x00", 4) + std::string(24, '\0'),                      // a newer version
        std::string("\x00\x00\x01\x00\x00\x00", 6),                                      // cut short
        std::string("\x00\x00\x01\x00", 4) + std::string(16, '\0') + "\xff\xff\xff\x7f", // items beyond the file
        std::string(4096, '\xff'),
    };
    for (const std::string& hostile : files) {
        WriteBytes(State(), hostile);
        DeleteFileA(Config().c_str());
        PROCESS_INFORMATION p = Start();
        ASSERT_NE(p.hProcess, nullptr);
        // Set-up refuses the file: the window shows, the loop is skipped.
        EXPECT_EQ(WaitForExit(p, 60000), 0) << hostile.size();
        EXPECT_EQ(ReadBytes(State()), hostile);
        std::vector<int> values = ConfigValues(ReadBytes(Config()));
        ASSERT_EQ(values.size(), 11u);
        EXPECT_EQ(values[10], 1); // the next start begins afresh
    }
    // And so it does: the file is not read, and the run's end replaces it.
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p), 0);
    ExpectFreshGame(ParseState(ReadBytes(State())));
    EXPECT_EQ(ConfigValues(ReadBytes(Config())).at(10), 0);
}

// The screen saver takes the whole screen with a full-screen device. Where
// the display cannot switch to its mode (a bare X server), the device
// set-up fails and the program ends with code 1 after its box; either way
// it writes no file: the settings it found stay as they were.
TEST_F(Deskmate, ScreenSaverRunsFullScreenAndSavesNothing) {
    std::string config = "// a\n0\n// b\n1\n// c\n1\n// d\n0\n// e\n0\n// f\n500\n// g\n400\n"
                         "// h\n0\n// i\n0\n// j\n1\n// k\n0\n";
    WriteBytes(Config(), config);
    DeleteFileA((Here() + "init.log").c_str());
    PROCESS_INFORMATION p = Start("/s");
    ASSERT_NE(p.hProcess, nullptr);
    bool ranFullScreen = false, failedBox = false;
    EXPECT_TRUE(WaitFor(
        [&] {
            if (HasEnded(p))
                return true;
            if (HWND box = FindVisible(p.dwProcessId, "", "#32770")) {
                failedBox = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return false;
            }
            HWND main = FindVisible(p.dwProcessId, MAIN_TITLE);
            if (main && !ranFullScreen) {
                Sleep(2000);
                RECT r;
                GetWindowRect(main, &r);
                EXPECT_EQ(r.left, 0);
                EXPECT_EQ(r.top, 0);
                EXPECT_FALSE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
                ranFullScreen = !HasEnded(p) && !failedBox;
                if (ranFullScreen)
                    PostMessageA(main, WM_KEYDOWN, 'A', 0); // any key ends it
            }
            return false;
        },
        60000));
    long code = WaitForExit(p);
    EXPECT_EQ(code, failedBox ? 1 : 0);
    EXPECT_TRUE(ranFullScreen || failedBox);
    EXPECT_EQ(ReadBytes(Here() + "init.log").compare(0, 30, "Start Initial FullScreen Mode."), 0);
    EXPECT_EQ(ReadBytes(Config()), config);
    EXPECT_EQ(ReadBytes(State()), "<missing>");
}

RgbPicture Crop(const RgbPicture& p, int left, int top, int width, int height) {
    RgbPicture out;
    if (left < 0 || top < 0 || left + width > p.width || top + height > p.height)
        return out;
    out.width = width;
    out.height = height;
    for (int y = top; y < top + height; ++y) {
        auto row = p.rgb.begin() + (ptrdiff_t(y) * p.width + left) * 3;
        out.rgb.insert(out.rgb.end(), row, row + ptrdiff_t(width) * 3);
    }
    return out;
}

// The bare desktop around the window is black; the scene never is.
bool IsDesktop(const RgbPicture& p, int x, int y) {
    const uint8_t* px = &p.rgb[(size_t(y) * size_t(p.width) + size_t(x)) * 3];
    return px[0] + px[1] + px[2] < 12;
}

// The window and the desktop around it, a margin on each side.
const int MARGIN = 16;

RgbPicture ShootWindow(HWND main) {
    RECT r;
    GetWindowRect(main, &r);
    RECT around = {r.left - MARGIN, r.top - MARGIN, r.right + MARGIN, r.bottom + MARGIN};
    return CaptureScreen(around);
}

// Share of the pixels of two pictures of one size with a channel more than 24 apart.
double ChangedShare(const RgbPicture& a, const RgbPicture& b) { return ComparePictures(a, b).changedShare; }

// A saved camera that overlooks the whole room from afar.
const float ROOM_CAMERA[4] = {1800.0f, 0.0f, 60.0f, 50.0f};

// The window on the desktop, against the kept picture: its outline exactly,
// the room inside it, Vesko in it. The camera is manual and starts from the
// saved place, so the view stays; she moves, and the sky and what shows
// beyond the room move with the world clock, so the room is compared within
// a tolerance and the window's top is left out.
TEST_F(Deskmate, VeskoInTheRoomLooksAsKept) {
    WriteBytes(Config(), ConfigText(false));
    WriteBytes(State(), StateBytes(ROOM_CAMERA, 50000, {}));
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(3000);
    RgbPicture shot = ShootWindow(main);
    ASSERT_FALSE(shot.rgb.empty());
    ASSERT_TRUE(WriteRgbPng(Here() + "deskmate_window.png", shot));
    const std::string reference = DESKMATE_SOURCE_DIR "/tests/shell/app/deskmate_window_reference.png";
    if (UpdatingReferences()) {
        ASSERT_TRUE(WriteRgbPng(reference, shot));
    }
    RgbPicture kept;
    ASSERT_TRUE(ReadRgbPng(reference, kept));
    ASSERT_EQ(kept.width, shot.width);
    ASSERT_EQ(kept.height, shot.height);

    int outlineDiffers = 0, desktop = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            desktop += IsDesktop(shot, x, y);
            outlineDiffers += IsDesktop(shot, x, y) != IsDesktop(kept, x, y);
        }
    EXPECT_GT(desktop, 4 * MARGIN * WIDTH); // the margin and the cut corners
    EXPECT_LT(outlineDiffers, shot.width * shot.height / 500);

    // The room below the windows, Vesko included.
    PictureDifference room = ComparePictures(Crop(shot, 40, 300, 592, 300), Crop(kept, 40, 300, 592, 300));
    ASSERT_TRUE(room.sameSize);
    EXPECT_LT(room.meanChannelDifference, 8.0);
    EXPECT_LT(room.changedShare, 0.08);
    // She is there and moves: in a view that stays, what changes from one
    // moment to the next is her. She may stand still for a while between
    // motions, so she is given several moments to move in.
    double most = 0.0;
    for (int i = 0; i < 8 && most <= 0.0005; ++i) {
        Sleep(1000);
        RgbPicture later = ShootWindow(main);
        double changed = ChangedShare(Crop(shot, 40, 120, 592, 480), Crop(later, 40, 120, 592, 480));
        EXPECT_LT(changed, 0.05);
        most = std::max(most, changed);
    }
    EXPECT_GT(most, 0.0005);
}

// The automatic camera follows her: over a few seconds the view moves on,
// and the camera it saves looks at the part of the room she is in. With the
// manual camera and the pointer away, the view stays where it was saved.
TEST_F(Deskmate, AutomaticCameraFollowsHerAndTheManualOneStays) {
    for (bool automatic : {true, false}) {
        WriteBytes(Config(), ConfigText(automatic));
        WriteBytes(State(), StateBytes(ROOM_CAMERA, 50000, {}));
        PROCESS_INFORMATION p = Start();
        HWND main = WaitForMain(p);
        ASSERT_NE(main, nullptr);
        Sleep(1500);
        RgbPicture early = ShootWindow(main);
        Sleep(3000);
        RgbPicture late = ShootWindow(main);
        ASSERT_FALSE(HasEnded(p)) << "ended with " << WaitForExit(p, 0);
        ASSERT_FALSE(early.rgb.empty());
        // The room below the windows, where the clock changes nothing.
        double moved = ChangedShare(Crop(early, 40, 300, 592, 300), Crop(late, 40, 300, 592, 300));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(p), 0);
        StateFile f = ParseState(ReadBytes(State()));
        ASSERT_TRUE(f.ok);
        if (automatic) {
            EXPECT_GT(moved, 0.1) << "the view did not follow her";
            EXPECT_NE(f.camera[0], ROOM_CAMERA[0]);
        } else {
            EXPECT_LT(moved, 0.05);
            for (int i = 0; i < 4; ++i)
                EXPECT_FLOAT_EQ(f.camera[i], ROOM_CAMERA[i]) << i;
        }
    }
}

// What a run ends with is what the next one starts from: her money, every
// item's state and the camera, through Escape and a second start. A name the
// catalogue does not know is dropped; a camera that is not finite is not
// taken, and the rest of the file still is.
TEST_F(Deskmate, StateFileCarriesHerMoneyItemsAndTheCameraToTheNextStart) {
    const float camera[4] = {1500.0f, -120.0f, 40.0f, 90.0f};
    WriteBytes(Config(), ConfigText(false));
    WriteBytes(State(), StateBytes(camera, 12345, {{"clothBlue", 1}, {"kotatsu", 2}, {"noSuchThing", 1}}));
    for (int run = 0; run < 2; ++run) {
        PROCESS_INFORMATION p = Start();
        HWND main = WaitForMain(p);
        ASSERT_NE(main, nullptr);
        Sleep(1500);
        PostEscape(main);
        EXPECT_EQ(WaitForExit(p), 0) << run;
        StateFile f = ParseState(ReadBytes(State()));
        ASSERT_TRUE(f.ok) << run;
        EXPECT_EQ(f.money, 12345u) << run;
        EXPECT_EQ(f.Code("clothBlue"), 1u) << run;
        EXPECT_EQ(f.Code("kotatsu"), 2u) << run; // a good used up
        EXPECT_EQ(f.Code("clothPink2"), 0u) << run;
        EXPECT_EQ(f.Code("noSuchThing"), 99u) << run; // not written back
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(f.camera[i], camera[i]) << run << " " << i;
    }

    const float broken[4] = {std::nanf(""), 0.0f, 0.0f, 0.0f};
    WriteBytes(State(), StateBytes(broken, 777, {{"clothBlue", 1}}));
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p), 0);
    StateFile f = ParseState(ReadBytes(State()));
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.money, 777u);
    EXPECT_EQ(f.Code("clothBlue"), 1u);
    for (float c : f.camera)
        EXPECT_TRUE(std::isfinite(c));
    EXPECT_GE(f.camera[0], 800.0f);
}

// The right button opens the configuration menu over the room; while it is
// open the room stands still (she does not move), a second right click
// changes nothing, and Escape still ends the program.
TEST_F(Deskmate, RightClickOpensTheMenuOverAStillRoom) {
    WriteBytes(Config(), ConfigText(false));
    WriteBytes(State(), StateBytes(ROOM_CAMERA, 4321, {}));
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(1500);
    RgbPicture before = ShootWindow(main);
    PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(320, 320));
    PostMessageA(main, WM_RBUTTONUP, 0, MAKELPARAM(320, 320));
    Sleep(2000);
    RgbPicture open = ShootWindow(main);
    PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(320, 320));
    PostMessageA(main, WM_RBUTTONUP, 0, MAKELPARAM(320, 320));
    Sleep(1500);
    RgbPicture still = ShootWindow(main);
    ASSERT_FALSE(open.rgb.empty());
    ASSERT_TRUE(WriteRgbPng(Here() + "deskmate_menu.png", open));
    // The panel covers the middle of the window.
    const int PANEL_LEFT = MARGIN + 160, PANEL_TOP = MARGIN + 180, PANEL_WIDTH = 320, PANEL_HEIGHT = 280;
    RgbPicture panel = Crop(open, PANEL_LEFT, PANEL_TOP, PANEL_WIDTH, PANEL_HEIGHT);
    EXPECT_GT(ChangedShare(panel, Crop(before, PANEL_LEFT, PANEL_TOP, PANEL_WIDTH, PANEL_HEIGHT)), 0.5);
    PictureDifference kept = CompareWithKept(panel, DESKMATE_SOURCE_DIR "/tests/shell/app/deskmate_menu_reference.png");
    ASSERT_TRUE(kept.sameSize);
    EXPECT_LT(kept.meanChannelDifference, 6.0);
    EXPECT_LT(kept.changedShare, 0.03);
    // Nothing moves behind it.
    EXPECT_LT(ChangedShare(open, still), 0.002);

    PostEscape(main);
    EXPECT_EQ(WaitForExit(p), 0);
    StateFile f = ParseState(ReadBytes(State()));
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.money, 4321u);
}

// A point of the open menu, in menu units (one unit a pixel at a width of
// 640, the panel's middle at the window's), as a client point of the window.
POINT MenuPoint(HWND main, float x, float y) {
    RECT client;
    GetClientRect(main, &client);
    const float width = float(client.right), height = float(client.bottom), unit = width / 640.0f;
    return {LONG(std::lround(width / 2 + x * unit)), LONG(std::lround(height / 2 + y * unit))};
}

void ClickMenu(HWND main, float x, float y) {
    POINT p = MenuPoint(main, x, y);
    ClickAt(main, p.x, p.y);
    Sleep(300);
}

// Where the menu's parts stand, in menu units: the mark columns and rows,
// the three buttons and each dialog's ok button.
const float MARK_X[3] = {-40, 36, 118};
float MarkY(int row) { return -112.0f + 25.0f * float(row); }
const float BUTTON_Y = 135, QUIT_X = -118, INITIALIZE_X = 0;
const float QUIT_OK_X = 110, RESET_OK_X = -5, DIALOG_OK_Y = 108;

// Every launch setting as expected but the window's centre.
void ExpectSettings(const std::vector<int>& values, const std::vector<int>& expected) {
    ASSERT_EQ(values.size(), size_t(CFG_COUNT));
    for (int i = 0; i < CFG_COUNT; ++i) {
        if (i != CFG_CENTRE_X && i != CFG_CENTRE_Y) {
            EXPECT_EQ(values[i], expected[i]) << "value " << i;
        }
    }
}

void OpenMenu(HWND main) {
    RECT client;
    GetClientRect(main, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, middle);
    PostMessageA(main, WM_RBUTTONUP, 0, middle);
    Sleep(1000); // past its slide
}

// Each of the seven rows of marks changes its setting with a click, and the
// launch settings file says so at once, while the program runs on; the
// window's size and mode rows change its size, and the menu follows. Quit,
// confirmed in its dialog, then ends the program with its files written.
TEST_F(Deskmate, EachMenuRowChangesItsSettingAndQuitEndsItThroughItsDialog) {
    WriteBytes(Config(), ConfigText(false));
    WriteBytes(State(), StateBytes(ROOM_CAMERA, 4321, {}));
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(1500);
    OpenMenu(main);
    const struct {
        const char* row;
        int rowIndex, mark, value;
        ConfigIndex setting;
        int width, height; // the client size after the click
    } clicks[] = {
        {"fixed", 2, 1, 1, CFG_FIXED, 640, 640},
        {"on top", 3, 1, 1, CFG_TOPMOST, 640, 640},
        {"camera", 4, 1, 1, CFG_CAMERA, 640, 640},
        {"QuillombMode", 5, 1, 1, CFG_QUILLOMB, 640, 640},
        {"sound", 6, 1, 1, CFG_SOUND, 640, 640},
        {"window mode: plain window", 1, 1, 1, CFG_WINDOW_MODE, 640, 480},
        {"window size: the middle one", 0, 1, 1, CFG_WINDOW_SIZE, 800, 600},
        {"window size: the smallest", 0, 0, 0, CFG_WINDOW_SIZE, 640, 480},
        {"window mode: clipped", 1, 0, 0, CFG_WINDOW_MODE, 640, 640},
        {"camera: manual again", 4, 0, 0, CFG_CAMERA, 640, 640},
    };
    std::vector<int> expected = ConfigValues(ConfigText(false));
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.row);
        ClickMenu(main, MARK_X[click.mark], MarkY(click.rowIndex));
        expected[click.setting] = click.value;
        std::vector<int> values;
        EXPECT_TRUE(WaitFor(
            [&] {
                values = ConfigValues(ReadBytes(Config()));
                return values.size() == CFG_COUNT && values[click.setting] == click.value;
            },
            5000));
        ExpectSettings(values, expected);
        ASSERT_FALSE(HasEnded(p));
        RECT client = {};
        EXPECT_TRUE(WaitFor(
            [&] {
                GetClientRect(main, &client);
                return client.right == click.width && client.bottom == click.height;
            },
            5000))
            << client.right << " x " << client.bottom;
    }

    ClickMenu(main, QUIT_X, BUTTON_Y);
    EXPECT_FALSE(HasEnded(p)); // the dialog asks first
    ClickMenu(main, QUIT_OK_X, DIALOG_OK_Y);
    EXPECT_EQ(WaitForExit(p, 20000), 0);
    std::vector<int> values = ConfigValues(ReadBytes(Config()));
    ExpectSettings(values, expected);
    StateFile f = ParseState(ReadBytes(State()));
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.money, 4321u);
}

// Reset, confirmed in its dialog, only sets ClearMode: the menu stays, the
// run goes on and saves her game as it is at its end; the next start then
// does not read that file and begins a fresh game.
TEST_F(Deskmate, ResetThroughItsDialogMakesTheNextStartAFreshGame) {
    WriteBytes(Config(), ConfigText(false));
    WriteBytes(State(), StateBytes(ROOM_CAMERA, 12345, {{"clothBlue", 1}}));
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(1500);
    OpenMenu(main);
    ClickMenu(main, INITIALIZE_X, BUTTON_Y);
    Sleep(500);
    EXPECT_EQ(ConfigValues(ReadBytes(Config())).at(CFG_CLEAR), 0); // the dialog asks first
    ClickMenu(main, RESET_OK_X, DIALOG_OK_Y);
    EXPECT_TRUE(WaitFor([&] { return ConfigValues(ReadBytes(Config())).at(CFG_CLEAR) == 1; }, 5000));
    Sleep(1000);
    ASSERT_FALSE(HasEnded(p));
    PostEscape(main);
    EXPECT_EQ(WaitForExit(p), 0);
    EXPECT_EQ(ConfigValues(ReadBytes(Config())).at(CFG_CLEAR), 1);
    StateFile saved = ParseState(ReadBytes(State()));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.money, 12345u);
    EXPECT_EQ(saved.Code("clothBlue"), 1u);

    PROCESS_INFORMATION next = Start();
    main = WaitForMain(next);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ConfigValues(ReadBytes(Config())).at(CFG_CLEAR), 0); // written back at the start
    Sleep(1000);
    PostEscape(main);
    EXPECT_EQ(WaitForExit(next), 0);
    ExpectFreshGame(ParseState(ReadBytes(State())));
}

// How well the register's sound is found in a recording: its first stretch
// is looked for from sample `from` to sample `to`, the stretches after it in
// their order from there. Answers the stretches found of those looked for.
struct CueHeard {
    size_t found = 0, lookedFor = 0;
};

CueHeard FindRegister(const std::vector<float>& heard, size_t from, size_t to) {
    CueHeard result;
    std::string folder = GetDataFolder();
    SetDataFolder(Here().substr(0, Here().size() - 1)); // the program's data
    const std::vector<float> regi = sound_monitor::CueSamples("tvRegi");
    SetDataFolder(folder);
    const size_t stretch = 1024, fileOnset = sound_monitor::Onset(regi, 0.05f);
    if (regi.size() < fileOnset + 12 * stretch || to <= from)
        return result;
    result.lookedFor = 12;
    size_t expected = (from + to) / 2, reach = (to - from) / 2, last = 0;
    for (size_t k = 0; k < result.lookedFor; ++k) {
        std::vector<float> pattern(regi.begin() + long(fileOnset + k * stretch),
                                   regi.begin() + long(fileOnset + (k + 1) * stretch));
        size_t lag = 0;
        const float match = sound_monitor::BestMatch(heard, pattern, expected, reach, lag);
        if (match > 0.9f && lag >= last) {
            ++result.found;
            expected = lag + stretch;
            last = lag;
            reach = size_t(sound_monitor::RATE / 50);
        } else if (result.found > 0) {
            expected += stretch;
        }
    }
    return result;
}

// From 21:00 world time (90 s after the start at the clock's own pace) she
// goes to the TV and the show comes on; a click on its panel buys what it
// sells, and the register sounds. After Escape the state file holds less
// money and one more item owned than the fresh game it started from. The
// register is listened for on the test script's PulseAudio sink.
TEST_F(Deskmate, TheShowComesOnInTheEveningAndAClickOnItsPanelBuys) {
    WriteBytes(Config(), ConfigText(false, true));
    PROCESS_INFORMATION first = Start();
    HWND main = WaitForMain(first);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(first), 0);
    StateFile fresh = ParseState(ReadBytes(State()));
    ASSERT_TRUE(fresh.ok);

    // A point in the middle of the panel.
    const TvShowPlacement tv = PlaceTvShow(false, 0, WIDTH, HEIGHT);
    long sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            if (IsOnTvPanel(x, y, WIDTH, HEIGHT, tv))
                sumX += x, sumY += y, ++count;
    ASSERT_GT(count, 1000);
    const int panelX = int(sumX / count), panelY = int(sumY / count);

    PROCESS_INFORMATION p = Start();
    const DWORD started = GetTickCount();
    main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(2000);
    auto panelPicture = [&] { return Crop(ShootWindow(main), MARGIN + panelX - 100, MARGIN + panelY - 80, 200, 160); };
    RgbPicture before = panelPicture();
    bool shown = false;
    for (int waited = 0; waited < 240 && !HasEnded(p) && !shown; waited += 2) {
        Sleep(2000);
        shown = ChangedShare(panelPicture(), before) > 0.6;
    }
    ASSERT_TRUE(shown) << "no show by 21:00 and a few minutes of world time after";
    std::printf("show: on the panel %lu s after the start\n", (GetTickCount() - started) / 1000ul);
    // The show's jingle is over by now; its motion runs for 15 s.
    Sleep(3500);
    const char* monitor = std::getenv("DESKMATE_SOUND_MONITOR");
    const char* server = std::getenv("PULSE_SERVER");
    sound_monitor::Recording recording;
    const bool recorded = monitor && server && recording.Start(monitor, server);
    const DWORD recordingStart = GetTickCount();
    Sleep(1500);
    DWORD press = 0;
    EXPECT_TRUE(ClickAt(main, panelX, panelY, &press)) << "the pointer did not stay on the panel";
    std::vector<float> heard;
    const bool finished = recorded && recording.Finish(size_t(sound_monitor::RATE) * 5, heard);
    if (!finished)
        Sleep(2000);
    SetCursorPos(POINTER_AWAY_X, POINTER_AWAY_Y);
    PostEscape(main);
    EXPECT_EQ(WaitForExit(p), 0);
    StateFile after = ParseState(ReadBytes(State()));
    ASSERT_TRUE(after.ok);
    EXPECT_LT(after.money, fresh.money);
    ASSERT_EQ(after.items.size(), fresh.items.size());
    int bought = 0;
    for (size_t i = 0; i < after.items.size(); ++i) {
        EXPECT_EQ(after.items[i].first, fresh.items[i].first);
        if (fresh.items[i].second != 1 && after.items[i].second == 1)
            ++bought;
    }
    EXPECT_EQ(bought, 1);

    if (!monitor || !server)
        GTEST_SKIP() << "no PulseAudio sink to record (scripts/test starts one): the register was not listened for";
    ASSERT_TRUE(recorded && finished);
    // Heard within two seconds of the press, and not before it.
    const size_t rate = size_t(sound_monitor::RATE), pressAt = size_t(press - recordingStart) * rate / 1000;
    const CueHeard heardBefore = FindRegister(heard, 0, pressAt - rate / 10);
    const CueHeard heardAfter = FindRegister(heard, pressAt - rate / 10, pressAt + 2 * rate);
    std::printf("register: %zu of %zu stretches heard after the press, %zu before it\n", heardAfter.found,
                heardAfter.lookedFor, heardBefore.found);
    ASSERT_GT(heardAfter.lookedFor, 0u) << "no register sound in the data";
    EXPECT_GE(heardAfter.found, heardAfter.lookedFor / 2) << "the register was not heard after the click";
    EXPECT_EQ(heardBefore.found, 0u);
}

} // namespace
