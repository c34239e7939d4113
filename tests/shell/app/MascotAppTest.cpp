// deskmate.exe as a user meets it: started beside its data, its windows found
// and driven from outside, its files read after it has ended.
#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "character/show/TvShowLayout.h"
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

// A state file as the program writes it: version, camera, money and the
// item records (counted names below 255 bytes, then the state code).
struct StateFile {
    bool ok = false;
    uint32_t version = 0;
    float camera[4] = {}; // distance, interest x, y, z
    uint32_t money = 0;
    std::vector<std::pair<std::string, uint32_t>> items;

    uint32_t Code(const std::string& name) const {
        for (const auto& item : items)
            if (item.first == name)
                return item.second;
        return 99;
    }
};

StateFile ParseState(const std::string& bytes) {
    StateFile f;
    size_t at = 0;
    auto word = [&](uint32_t& v) {
        if (at + 4 > bytes.size())
            return false;
        std::memcpy(&v, bytes.data() + at, 4);
        at += 4;
        return true;
    };
    uint32_t count = 0;
    if (!word(f.version))
        return f;
    for (float& c : f.camera) {
        uint32_t v = 0;
        if (!word(v))
            return f;
        std::memcpy(&c, &v, 4);
    }
    if (!word(f.money) || !word(count) || count > 10000)
        return f;
    for (uint32_t i = 0; i < count; ++i) {
        if (at >= bytes.size())
            return f;
        size_t length = uint8_t(bytes[at++]);
        uint32_t code = 0;
        if (length == 255 || at + length > bytes.size())
            return f;
        std::string name = bytes.substr(at, length);
        at += length;
        if (!word(code))
            return f;
        f.items.emplace_back(name, code);
    }
    f.ok = at == bytes.size();
    return f;
}

std::string StateBytes(const float camera[4], uint32_t money,
                       const std::vector<std::pair<std::string, uint32_t>>& items) {
    std::string out;
    auto word = [&](uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    word(0x10000);
    for (int i = 0; i < 4; ++i) {
        uint32_t v;
        std::memcpy(&v, &camera[i], 4);
        word(v);
    }
    word(money);
    word(uint32_t(items.size()));
    for (const auto& item : items) {
        out += char(item.first.size());
        out += item.first;
        word(item.second);
    }
    return out;
}

// Launch settings of a plain 640 x 640 clipped window in the middle of the
// screen, sound off, the camera manual or automatic.
std::string ConfigText(bool cameraAuto) {
    const int values[11] = {
        0, 0, 0, 0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, cameraAuto ? 1 : 0,
        0, 0};
    std::string text;
    for (int v : values)
        text += "// v\n" + std::to_string(v) + "\n";
    return text;
}

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
    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(main, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
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
        PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(main, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
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

    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(main, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
    EXPECT_EQ(WaitForExit(p), 0);
    StateFile f = ParseState(ReadBytes(State()));
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.money, 4321u);
}

// From 21:00 world time (90 s after the start at the clock's own pace) she
// goes to the TV and the show comes on; a click on its panel buys what it
// sells. After Escape the state file holds less money and one more item
// owned than the fresh game it started from.
TEST_F(Deskmate, TheShowComesOnInTheEveningAndAClickOnItsPanelBuys) {
    WriteBytes(Config(), ConfigText(false));
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
    main = WaitForMain(p);
    ASSERT_NE(main, nullptr);
    RECT r;
    GetWindowRect(main, &r);
    Sleep(2000);
    auto panelPicture = [&] { return Crop(ShootWindow(main), MARGIN + panelX - 100, MARGIN + panelY - 80, 200, 160); };
    RgbPicture before = panelPicture();
    bool shown = false;
    for (int waited = 0; waited < 240 && !HasEnded(p) && !shown; waited += 2) {
        Sleep(2000);
        shown = ChangedShare(panelPicture(), before) > 0.6;
    }
    ASSERT_TRUE(shown) << "no show by 21:00 and a few minutes of world time after";
    Sleep(1500);
    SetCursorPos(r.left + panelX, r.top + panelY);
    PostMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(panelX, panelY));
    Sleep(300);
    PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(panelX, panelY));
    Sleep(400);
    PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(panelX, panelY));
    Sleep(2000);
    SetCursorPos(1020, 760);
    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(main, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
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
}

} // namespace
