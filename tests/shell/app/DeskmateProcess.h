#pragma once
// What the tests that start deskmate.exe share: its folder and the files it
// keeps there, the launch settings and state file bytes, starting the
// program, finding its windows, driving it with posted input and ending it.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace deskmate_process {

// The programs' folder (the test's working folder), with a trailing backslash.
inline std::string Here() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    std::string s = path;
    if (s.empty() || (s.back() != '\\' && s.back() != '/'))
        s += '\\';
    return s;
}

inline std::string ConfigPath() { return Here() + "tavelune.cfg"; }
inline std::string StatePath() { return Here() + "tavelune.dat"; }

// A file's bytes; "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The eleven values of a launch settings file, in file order: shader mode,
// window size, window mode, topmost, fixed, centre x and y, sound, camera,
// QuillombMode, ClearMode.
enum ConfigIndex {
    CFG_SHADER,
    CFG_WINDOW_SIZE,
    CFG_WINDOW_MODE,
    CFG_TOPMOST,
    CFG_FIXED,
    CFG_CENTRE_X,
    CFG_CENTRE_Y,
    CFG_SOUND,
    CFG_CAMERA,
    CFG_QUILLOMB,
    CFG_CLEAR,
    CFG_COUNT
};

inline std::vector<int> ConfigValues(const std::string& text) {
    std::vector<int> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 2, "//") != 0 && !line.empty() && line[0] != '\r')
            values.push_back(std::atoi(line.c_str()));
    return values;
}

// A launch settings file of the given eleven values.
inline std::string ConfigFile(const std::vector<int>& values) {
    std::string text;
    for (int v : values)
        text += "// v\n" + std::to_string(v) + "\n";
    return text;
}

// Launch settings of a plain 640 x 640 clipped window in the middle of the
// screen, the camera manual or automatic, the sound as asked.
inline std::string ConfigText(bool cameraAuto, bool soundOn = false) {
    std::vector<int> values(CFG_COUNT, 0);
    values[CFG_CENTRE_X] = GetSystemMetrics(SM_CXSCREEN) / 2;
    values[CFG_CENTRE_Y] = GetSystemMetrics(SM_CYSCREEN) / 2;
    values[CFG_SOUND] = soundOn ? 1 : 0;
    values[CFG_CAMERA] = cameraAuto ? 1 : 0;
    return ConfigFile(values);
}

// A state file as the program writes it: version, camera, money and the
// item records (counted names below 255 bytes, then the state code).
struct StateFile {
    bool ok = false;
    uint32_t version = 0;
    float camera[4] = {}; // distance, interest x, y, z
    uint32_t money = 0;
    std::vector<std::pair<std::string, uint32_t>> items;

    // An item's state code; 99 for a name the file does not hold.
    uint32_t Code(const std::string& name) const {
        for (const auto& item : items)
            if (item.first == name)
                return item.second;
        return 99;
    }
};

inline StateFile ParseState(const std::string& bytes) {
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
    if (!word(f.money) || !word(count) || count > 100000)
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

// The bytes of a state file of this version with the items in the order given.
inline std::string StateBytes(const float camera[4], uint32_t money,
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

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

struct WindowRequest {
    DWORD process;
    const std::string& title;
    const std::string& windowClass;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* r = reinterpret_cast<WindowRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != r->process || !IsWindowVisible(window))
        return TRUE;
    char text[64] = {};
    if (r->windowClass.empty())
        GetWindowTextA(window, text, sizeof text);
    else
        GetClassNameA(window, text, sizeof text);
    if ((r->windowClass.empty() ? r->title : r->windowClass) != text)
        return TRUE;
    r->found = window;
    return FALSE;
}

// A visible top-level window of the process with this title, or with this
// class when the title is empty.
inline HWND FindVisible(DWORD process, const std::string& title, const std::string& windowClass = "") {
    WindowRequest request = {process, title, windowClass, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

// The title of deskmate's main window.
constexpr const char* MAIN_TITLE = "Tavelune";

// Starts deskmate.exe of the programs' folder with the arguments, in the
// given working folder; the process handle is null when it did not start.
inline PROCESS_INFORMATION StartDeskmate(const std::string& arguments = "", const std::string& folder = Here()) {
    std::string line = "\"" + Here() + "deskmate.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process)) {
        CloseHandle(process.hThread);
        process.hThread = nullptr;
    }
    return process;
}

inline bool HasEnded(const PROCESS_INFORMATION& p) { return WaitForSingleObject(p.hProcess, 0) == WAIT_OBJECT_0; }

// The main window once it shows (the splash has gone by then); null when the
// process ends or nothing shows within the time.
inline HWND WaitForMain(const PROCESS_INFORMATION& p, DWORD timeoutMs = 60000) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindVisible(p.dwProcessId, MAIN_TITLE)) != nullptr || HasEnded(p); }, timeoutMs);
    return found;
}

// The exit code once the process has ended within the time; -1 otherwise.
inline long WaitForExit(const PROCESS_INFORMATION& p, DWORD timeoutMs = 30000) {
    if (WaitForSingleObject(p.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(p.hProcess, &code);
    return long(code);
}

// Closes the main window if it still runs, kills the process if it does not
// end within 15 s, and releases the handle.
inline void EndDeskmate(PROCESS_INFORMATION& p) {
    if (!p.hProcess)
        return;
    if (!HasEnded(p)) {
        if (HWND main = FindVisible(p.dwProcessId, MAIN_TITLE))
            PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(p.hProcess, 15000) != WAIT_OBJECT_0)
            TerminateProcess(p.hProcess, 1);
        WaitForSingleObject(p.hProcess, 15000);
    }
    CloseHandle(p.hProcess);
    p = {};
}

// An Escape tap as the window's messages carry it.
inline void PostEscape(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(window, WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001));
}

// Where the real pointer waits, off the window.
constexpr int POINTER_AWAY_X = 1020, POINTER_AWAY_Y = 760;

// A left click at a client point: the real pointer is put there too, since
// the program reads the pointer's place from the cursor. Wine trusts its own
// copy of a place it was just given for 100 ms, then asks the X server,
// which may have refused the warp (it does while another client holds the
// pointer): the pointer is put there again until it reads there after that
// time. False when it never did; the click is sent all the same. pressedAt,
// when given, takes the tick count at which the button went down.
inline bool ClickAt(HWND window, int x, int y, DWORD* pressedAt = nullptr) {
    POINT screen = {x, y};
    ClientToScreen(window, &screen);
    bool placed = false;
    for (int attempt = 0; attempt < 10 && !placed; ++attempt) {
        SetCursorPos(screen.x, screen.y);
        Sleep(150);
        POINT now;
        placed = GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    }
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    Sleep(300);
    if (pressedAt)
        *pressedAt = GetTickCount();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Sleep(400);
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    return placed;
}

} // namespace deskmate_process
