// The disc menu as a user meets it: autorun.exe started from a disc folder
// with its installer, its DirectX folder and set-up library, the registry
// prepared by the test, its buttons read and pressed from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ScreenCapture.h"

namespace {

const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavelune";
const char DIRECTX_KEY[] = "Software\\Microsoft\\DirectX";

// The programs' folder: the tests run in it.
std::string Here() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    std::string s = path;
    if (s.empty() || (s.back() != '\\' && s.back() != '/'))
        s += '\\';
    return s;
}

bool SetString(const char* keyPath, const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status =
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool GetString(const char* keyPath, const char* name, std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[512] = {};
    DWORD size = sizeof buffer - 1;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    value = buffer;
    return status == ERROR_SUCCESS;
}

void SetInstalled(const std::string* uninstall) {
    if (uninstall)
        ASSERT_TRUE(SetString(UNINSTALL_KEY, "UninstallString", *uninstall));
    else
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
}

void SetDirectX(const char* version) {
    if (version)
        ASSERT_TRUE(SetString(DIRECTX_KEY, "Version", version));
    else {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DIRECTX_KEY, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Version");
            RegCloseKey(key);
        }
    }
}

// A top-level dialog-class window of the process with the caption, if any.
struct FindRequest {
    DWORD process;
    std::wstring caption;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != request->process || !IsWindowVisible(window))
        return TRUE;
    wchar_t cls[64] = {}, caption[256] = {};
    GetClassNameW(window, cls, 64);
    GetWindowTextW(window, caption, 256);
    if (std::wstring(cls) == L"#32770" && caption == request->caption) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD process, const std::wstring& caption, DWORD timeoutMs = 30000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        FindRequest request = {process, caption, nullptr};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&request));
        if (request.found)
            return request.found;
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    wchar_t cls[32] = {}, text[512] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(child, text, 512) > 0)
        *reinterpret_cast<std::wstring*>(param) += text;
    return TRUE;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::wstring Wide(const char* utf8) {
    wchar_t out[512] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, 511);
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

// A disc folder: the menu, its DirectX folder and the installer probe.
class DiscMenu : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_disc = Here() + "autorun_disc\\";
        CreateDirectoryA(s_disc.c_str(), nullptr);
        CreateDirectoryA((s_disc + "directx81").c_str(), nullptr);
        CreateDirectoryA((s_disc + "Setup").c_str(), nullptr);
        CopyFileA((Here() + "autorun.exe").c_str(), (s_disc + "autorun.exe").c_str(), FALSE);
        CopyFileA((Here() + "directx81\\dsetup.dll").c_str(), (s_disc + "directx81\\dsetup.dll").c_str(), FALSE);
        CopyFileA((Here() + "setup_probe.exe").c_str(), (s_disc + "Setup\\Setup.exe").c_str(), FALSE);
        s_hadDirectX = GetString(DIRECTX_KEY, "Version", s_directX);
    }
    static void TearDownTestSuite() {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
        if (s_hadDirectX)
            SetString(DIRECTX_KEY, "Version", s_directX);
    }
    void TearDown() override { Stop(); }

    // Starts the menu from the disc folder; false when no dialog appears.
    bool Start() {
        std::string line = "\"" + s_disc + "autorun.exe\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, s_disc.c_str(), &startup,
                            &m_process))
            return false;
        CloseHandle(m_process.hThread);
        m_dialog = WaitForWindow(m_process.dwProcessId, Wide(u8"Tavelune インストーラー"));
        return m_dialog != nullptr;
    }
    void Stop() {
        if (!m_process.hProcess)
            return;
        if (m_dialog && IsWindow(m_dialog))
            PostMessageW(m_dialog, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hProcess);
        m_process = {};
        m_dialog = nullptr;
    }
    // What the user sees of the three buttons: enabled or not.
    std::string States() {
        std::string s;
        for (int id = 1000; id <= 1002; ++id)
            s += IsWindowEnabled(GetDlgItem(m_dialog, id)) ? '1' : '0';
        return s;
    }
    void Activate() { SendMessageW(m_dialog, WM_ACTIVATE, WA_ACTIVE, 0); }
    void Press(int id) {
        PostMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(m_dialog, id)));
    }
    HWND Box(const wchar_t* caption) { return WaitForWindow(m_process.dwProcessId, caption, 15000); }

    static std::string s_disc, s_directX;
    static bool s_hadDirectX;
    PROCESS_INFORMATION m_process = {};
    HWND m_dialog = nullptr;
};

std::string DiscMenu::s_disc, DiscMenu::s_directX;
bool DiscMenu::s_hadDirectX = false;

TEST_F(DiscMenu, ButtonsFollowTheInstallationAndTheDirectXVersion) {
    SetInstalled(nullptr);
    SetDirectX("4.08.00.0900"); // revision 0x10384
    ASSERT_TRUE(Start());
    EXPECT_EQ(States(), "101");

    struct Case {
        const char* uninstall; // null: no key
        const char* directX;   // null: the version query fails
        const char* states;    // INSTALL, UNINSTALL, DXINSTALL
    } cases[] = {
        {nullptr, "4.08.01.0900", "101"},          // 0x40008 / 0x10384: older than 8.1
        {"C:\\uninst.exe", "4.08.01.0901", "010"}, // installed, 8.1
        {"", "4.09.00.0904", "100"},               // an empty command is not installed; newer DirectX
        {"C:\\uninst.exe", "4.09.00.0000", "010"}, // any version above 8 disables, whatever the revision
        {nullptr, "4.07.00.0700", "101"},
        {nullptr, nullptr, "101"}, // a failed query offers the set-up
    };
    for (const Case& c : cases) {
        std::string uninstall = c.uninstall ? c.uninstall : "";
        SetInstalled(c.uninstall ? &uninstall : nullptr);
        SetDirectX(c.directX);
        // The states are read again when the dialog becomes active.
        Activate();
        EXPECT_EQ(States(), c.states) << (c.uninstall ? c.uninstall : "(none)") << " "
                                      << (c.directX ? c.directX : "(none)");
    }
}

TEST_F(DiscMenu, InstallStartsTheDiscsSetup) {
    SetInstalled(nullptr);
    DeleteFileA((s_disc + "Setup\\ran.txt").c_str());
    ASSERT_TRUE(Start());
    Press(1000);
    ASSERT_TRUE(WaitFor([&] { return !ReadFile(s_disc + "Setup\\ran.txt").empty(); }));
    EXPECT_NE(ReadFile(s_disc + "Setup\\ran.txt").find("Setup\\Setup.exe"), std::string::npos);
    EXPECT_TRUE(IsWindow(m_dialog));
}

TEST_F(DiscMenu, OversizedUninstallCommandIsRefusedAsAFailedStart) {
    std::string huge = "C:\\" + std::string(300, 'u') + ".exe";
    SetInstalled(&huge);
    ASSERT_TRUE(Start());
    ASSERT_EQ(States().substr(0, 2), "01");
    Press(1001);
    HWND box = Box(L"Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), Wide(u8"アンインストールシールドを呼び出せませんでした"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(m_dialog));
}

TEST_F(DiscMenu, UninstallWaitsForTheUninstallerWhileStayingResponsive) {
    std::string command = "\"" + s_disc + "Setup\\Setup.exe\" uninstall";
    SetInstalled(&command);
    DeleteFileA((s_disc + "Setup\\ran.txt").c_str());
    ASSERT_TRUE(Start());
    ASSERT_EQ(States().substr(0, 2), "01");
    Press(1001);
    // While the uninstaller runs (two seconds) the dialog answers at once.
    Sleep(500);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(m_dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
    EXPECT_TRUE(ReadFile(s_disc + "Setup\\ran.txt").empty()); // not finished yet
    // When it has ended the buttons follow without another activation.
    ASSERT_TRUE(WaitFor([&] { return !ReadFile(s_disc + "Setup\\ran.txt").empty(); }));
    EXPECT_TRUE(WaitFor([&] { return States().substr(0, 2) == "10"; }, 5000)) << States();
}

TEST_F(DiscMenu, DirectXSetupAsksToRestartAndFollowsTheNewVersion) {
    SetInstalled(nullptr);
    SetDirectX("4.08.00.0400");
    ASSERT_TRUE(Start());
    ASSERT_EQ(States(), "101");
    Press(1002);
    HWND box = Box(L"Succeeded");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              Wide(u8"新しい設定を有効にするには、コンピュータを再起動する必要があります。\n\n今すぐ再起動しますか？"));
    // No: the dialog stays and its buttons are updated.
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitFor([&] { return States() == "100"; }, 5000)) << States();
    std::string version;
    EXPECT_TRUE(GetString(DIRECTX_KEY, "Version", version));
    EXPECT_EQ(version, "4.08.01.0901");
    EXPECT_TRUE(IsWindow(m_dialog));
}

TEST_F(DiscMenu, WithoutTheSetupLibraryTheMenuStartsWithDirectXDisabled) {
    SetInstalled(nullptr);
    SetDirectX("4.07.00.0700");
    const std::string library = s_disc + "directx81\\dsetup.dll", aside = s_disc + "directx81\\dsetup.aside";
    ASSERT_TRUE(MoveFileExA(library.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
    bool started = Start();
    std::string states = started ? States() : "";
    Stop();
    MoveFileExA(aside.c_str(), library.c_str(), MOVEFILE_REPLACE_EXISTING);
    ASSERT_TRUE(started);
    EXPECT_EQ(states, "100");
}

// The dialog's picture with INSTALL and DXINSTALL offered, against the kept one.
TEST_F(DiscMenu, LooksAsKept) {
    SetInstalled(nullptr);
    SetDirectX("4.07.00.0700");
    ASSERT_TRUE(Start());
    SetForegroundWindow(m_dialog);
    Sleep(1500);
    RECT client;
    GetClientRect(m_dialog, &client);
    POINT origin = {0, 0};
    ClientToScreen(m_dialog, &origin);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    RgbPicture shot = CaptureScreen({origin.x, origin.y, origin.x + 640, origin.y + 480});
    ASSERT_FALSE(shot.rgb.empty());
    ASSERT_TRUE(WriteRgbPng(Here() + "autorun.png", shot));
    PictureDifference d = CompareWithKept(shot, DESKMATE_SOURCE_DIR "/tests/cdmenu/app/autorun_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 2.0);
    EXPECT_LT(d.changedShare, 0.005);
}

} // namespace
