#include "shell/app/MascotApp.h"

#include <cstdlib>

#include "engine/drawlist/DrawList.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "platform/cmdline/CommandLineInfo.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/WideText.h"
#include "shell/app/AppController.h"
#include "shell/app/AppMessages.h"
#include "shell/app/MascotWnd.h"
#include "shell/placement/WindowPlacementKeeper.h"
#include "shell/settings/Setting.h"
#include "shell/splash/SplashThread.h"
#include "shell/startup/MascotCommandLine.h"

const char* const STARTUP_FAILURE_CAPTION = "\x8bN\x93\xae\x8e\xb8\x94s"; // 起動失敗
// 起動に失敗しました。 / 起動設定ファイルが初期化されます。
const char* const STARTUP_FAILURE_TEXT = "\x8bN\x93\xae\x82\xc9\x8e\xb8\x94s\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
                                         "B\n\n\x8bN\x93\xae\x90\xdd\x92\xe8\x83t\x83@\x83"
                                         "C\x83\x8b\x82\xaa\x8f\x89\x8a\xfa\x89\xbb\x82\xb3\x82\xea\x82\xdc\x82\xb7\x81"
                                         "B";
// 起動に必要なファイルが読み込めませんでした。 / アップデートパッチのみしかお持ちでない方は、
// 「Tavelune」本体が必要となります。 / 詳しくは、(address)をご覧下さい。
const char* const MISSING_DATA_TEXT =
    "\x8bN\x93\xae\x82\xc9\x95K\x97v\x82\xc8\x83t\x83@\x83"
    "C\x83\x8b\x82\xaa\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81"
    "B\n\n\x83"
    "A\x83"
    "b\x83v\x83"
    "f\x81[\x83g\x83p\x83"
    "b\x83`\x82\xcc\x82\xdd\x82\xb5\x82\xa9\x82\xa8\x8e\x9d\x82\xbf\x82\xc5\x82\xc8\x82\xa2\x95\xfb\x82\xcd\x81"
    "A\n\x81uTavelune\x81v\x96{\x91\xcc\x82\xaa\x95K\x97v\x82\xc6\x82\xc8\x82\xe8\x82\xdc\x82\xb7\x81"
    "B\n\n\x8f\xda\x82\xb5\x82\xad\x82\xcd\x81"
    "Ahttp://www.tavelune.example/\x82\xf0\x82\xb2\x97\x97\x89\xba\x82\xb3\x82\xa2\x81"
    "B";

namespace {

void ShowFailureBox(const char* text) {
    MessageBoxW(nullptr, WideFromCodePage932(text).c_str(), WideFromCodePage932(STARTUP_FAILURE_CAPTION).c_str(),
                MB_ICONWARNING);
}

} // namespace

CMascotApp* GetMascotApp() { return static_cast<CMascotApp*>(AfxGetApp()); }

BOOL CMascotApp::InitInstance() {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, MUTEX_NAME);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return FALSE;
    // The settings, state and device log files live beside the program, as
    // its data does, wherever it was started from.
    std::string folder = GetProgramFolder();
    if (!folder.empty())
        SetCurrentDirectoryA(folder.c_str());

    CMascotCommandLineInfo commandLine;
    ParseCommandLine(commandLine, __argc, __argv);
    m_screenSaver = commandLine.m_runMode == RUN_SCREEN_SAVER;
    if (!m_screenSaver)
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    if (!m_screenSaver)
        CSplashThread::Start();
    LoadCursors();
    const char* className = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr, CreateSolidBrush(0),
                                                LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_MASCOT)));
    InstallTextureHooks();
    InstallConsoleHook();
    InstallDrawListHooks();

    CAppController& controller = CAppController::Instance();
    controller.Init(m_screenSaver);
    CSetting* setting = controller.GetSettingObject();
    if (setting->IsFullscreen())
        CWindowPlacementKeeper::Instance().SaveAndMinimize(nullptr);
    CMascotWnd* window = new CMascotWnd(className, setting, m_screenSaver);
    m_mainWindow = window->GetSafeHwnd();
    bool ready = controller.SetUp(m_mainWindow);
    window->RecordStartCursor();
    if (!m_screenSaver)
        CSplashThread::Close(5000);
    if (m_mainWindow && IsWindow(m_mainWindow)) {
        ::ShowWindow(m_mainWindow, SW_SHOW);
        ::UpdateWindow(m_mainWindow);
    }
    if (ready)
        controller.Run();
    controller.TearDown();
    CWindowPlacementKeeper::Instance().RestoreAll();
    return FALSE;
}

void CMascotApp::LoadCursors() {
    static const UINT IDS[CURSOR_COUNT] = {0, IDC_MASCOT_MOVE, IDC_MASCOT_ROTATE, IDC_MASCOT_YEN, IDC_MASCOT_PICTURE};
    m_cursors[0] = static_cast<HCURSOR>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_CURSOR, 0, 0, LR_SHARED));
    for (int i = 1; i < CURSOR_COUNT; ++i) {
        m_cursors[i] = static_cast<HCURSOR>(
            LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDS[i]), IMAGE_CURSOR, 0, 0, LR_SHARED));
        if (!m_cursors[i])
            m_cursors[i] = m_cursors[0];
    }
}

HCURSOR CMascotApp::GetCursor(int index) const {
    return index >= 0 && index < CURSOR_COUNT ? m_cursors[index] : m_cursors[0];
}

void OnStartupFailure() {
    CSplashThread::Close(0);
    ShowFailureBox(STARTUP_FAILURE_TEXT);
    CAppController& controller = CAppController::Instance();
    if (ISetting* setting = controller.GetSetting()) {
        setting->ResetDefaults(false);
        setting->SaveConfig();
    }
    controller.TearDown();
    std::exit(1);
}

void OnMissingData() {
    CSplashThread::Close(0);
    ShowFailureBox(MISSING_DATA_TEXT);
    CAppController::Instance().TearDown();
    std::exit(1);
}

void OnDeviceLostChange(int lost) {
    CMascotApp* app = GetMascotApp();
    if (lost)
        CWindowPlacementKeeper::Instance().SaveAndMinimize(app ? app->GetMainWindow() : nullptr);
    else
        CWindowPlacementKeeper::Instance().RestoreAll();
}
