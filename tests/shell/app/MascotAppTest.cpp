// deskmate.exe as a user meets it: started beside its data, its windows found
// and driven from outside, its files read after it has ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/window/DibRegion.h"
#include "tests/support/ScreenCapture.h"

namespace {

std::string Here() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    std::string s = path;
    if (s.empty() || (s.back() != '\\' && s.back() != '/'))
        s += '\\';
    return s;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The eleven values of a launch settings file, in file order.
std::vector<int> ConfigValues(const std::string& text) {
    std::vector<int> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 2, "//") != 0 && !line.empty() && line[0] != '\r')
            values.push_back(std::atoi(line.c_str()));
    return values;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

struct FindRequest {
    DWORD process;
    std::string title;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (pid == request->process && IsWindowVisible(window) && request->title == title) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisible(DWORD process, const char* title) {
    FindRequest request = {process, title, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

const int WIDTH = 640, HEIGHT = 640;

// One run of deskmate.exe from the programs' folder, with no settings or
// state file left from earlier runs unless a test writes one.
class Deskmate : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(Config().c_str());
        DeleteFileA(State().c_str());
        SetCursorPos(1020, 760); // the real pointer stays off the window
    }
    void TearDown() override {
        for (PROCESS_INFORMATION& p : m_processes)
            End(p);
        DeleteFileA(Config().c_str());
        DeleteFileA(State().c_str());
    }
    static std::string Config() { return Here() + "tavelune.cfg"; }
    static std::string State() { return Here() + "tavelune.dat"; }

    PROCESS_INFORMATION Start(const char* arguments = "", const std::string& folder = Here()) {
        std::string line = "\"" + Here() + "deskmate.exe\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                           &process)) {
            CloseHandle(process.hThread);
            process.hThread = nullptr;
            m_processes.push_back(process);
        }
        return process;
    }
    // The main window once it shows (the splash has gone by then).
    HWND WaitForMain(const PROCESS_INFORMATION& p, DWORD timeoutMs = 60000) {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindVisible(p.dwProcessId, "Tavelune")) != nullptr || HasEnded(p); }, timeoutMs);
        return found;
    }
    static bool HasEnded(const PROCESS_INFORMATION& p) { return WaitForSingleObject(p.hProcess, 0) == WAIT_OBJECT_0; }
    // The exit code once the process has ended within the time; -1 otherwise.
    static long WaitForExit(const PROCESS_INFORMATION& p, DWORD timeoutMs = 30000) {
        if (WaitForSingleObject(p.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(p.hProcess, &code);
        return long(code);
    }
    static void End(PROCESS_INFORMATION& p) {
        if (!p.hProcess)
            return;
        if (!HasEnded(p)) {
            if (HWND main = FindVisible(p.dwProcessId, "Tavelune"))
                PostMessageA(main, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(p.hProcess, 15000) != WAIT_OBJECT_0)
                TerminateProcess(p.hProcess, 1);
        }
        CloseHandle(p.hProcess);
        p.hProcess = nullptr;
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

BOOL CALLBACK FindSplash(HWND window, LPARAM param) {
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[16] = {};
    GetWindowTextA(window, title, sizeof title);
    if (pid == request->process && IsWindowVisible(window) && std::string(title) == "test") {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(Deskmate, SplashFirstThenTheWindowShapedByItsMask) {
    PROCESS_INFORMATION p = Start();
    ASSERT_NE(p.hProcess, nullptr);
    bool mainBeforeSplash = false;
    HWND splash = nullptr;
    WaitFor([&] {
        FindRequest request = {p.dwProcessId, "test", nullptr};
        EnumWindows(FindSplash, reinterpret_cast<LPARAM>(&request));
        splash = request.found;
        mainBeforeSplash = mainBeforeSplash || (!splash && FindVisible(p.dwProcessId, "Tavelune"));
        return splash != nullptr || mainBeforeSplash;
    });
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(mainBeforeSplash);
    EXPECT_EQ(FindVisible(p.dwProcessId, "Tavelune"), nullptr); // hidden while the splash shows

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
    std::string state = ReadBytes(State());
    ASSERT_EQ(state.size(), 28u); // version, camera, money, no items
    EXPECT_EQ(state.substr(0, 4), std::string("\x00\x00\x01\x00", 4));
    EXPECT_EQ(state.substr(20, 8), std::string("\x50\xc3\x00\x00\x00\x00\x00\x00", 8)); // 50000 yen, 0 items
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
    EXPECT_EQ(ReadBytes(State()).size(), 28u);
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
    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(main, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
    EXPECT_EQ(WaitForExit(p), 0);
    EXPECT_EQ(ReadBytes(State()).size(), 28u);
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
    EXPECT_EQ(ReadBytes(State()).size(), 28u);
    EXPECT_EQ(ConfigValues(ReadBytes(Config())).at(10), 0);
}

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == request->process && IsWindowVisible(window) && std::string(cls) == "#32770") {
        request->found = window;
        return FALSE;
    }
    return TRUE;
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
            FindRequest box = {p.dwProcessId, "", nullptr};
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
            if (box.found) {
                failedBox = true;
                PostMessageA(box.found, WM_COMMAND, IDOK, 0);
                return false;
            }
            HWND main = FindVisible(p.dwProcessId, "Tavelune");
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

// The window on the desktop, against the kept picture: its outline exactly,
// and the room inside it. The sky and what shows beyond the room move with
// the world clock, which runs from the first update at a pace the machine
// sets, so those parts are left out of the colour comparison.
TEST_F(Deskmate, WindowOnTheDesktopLooksAsKept) {
    PROCESS_INFORMATION p = Start();
    HWND main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    Sleep(3000);
    RECT r;
    GetWindowRect(main, &r);
    // The window and the desktop around it, a margin on each side.
    const int MARGIN = 16;
    RECT around = {r.left - MARGIN, r.top - MARGIN, r.right + MARGIN, r.bottom + MARGIN};
    RgbPicture shot = CaptureScreen(around);
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

    // The floor with the rug, the cushions and the chest (picture pixels).
    RgbPicture room = Crop(shot, 30, 250, 530, 215);
    RgbPicture keptRoom = Crop(kept, 30, 250, 530, 215);
    PictureDifference d = ComparePictures(room, keptRoom);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.02);
}

} // namespace
