#include "shell/app/AppController.h"

#include "engine/archive/ModelPathPrefix.h"
#include "engine/core/DeleteOwned.h"
#include "engine/input/win32/InputManager.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceManager.h"
#include "shell/app/MascotApp.h"
#include "shell/app/System.h"
#include "shell/settings/Setting.h"
#include "platform/win32/SystemInfo.h"
#include "shell/settings/SettingHost.h"

namespace {

// The settings' view of the machine; their notes go to the debugger's output.
class CWin32SettingHost : public ISettingHost {
public:
    int GetScreenWidth() override { return GetPrimaryScreenWidth(); }
    int GetScreenHeight() override { return GetPrimaryScreenHeight(); }
    bool IsWindows9x() override { return IsWindows9xPlatform(); }
    void WriteLog(const char* line) override {
        OutputDebugStringA(line);
        OutputDebugStringA("\n");
    }
};

CWin32SettingHost g_settingHost;

// Loaders report a missing resource with nothing; during set-up that ends
// the program.
void RequireResource(void* resource) {
    if (!resource)
        OnMissingData();
}

} // namespace

CAppController& CAppController::Instance() {
    // Never destroyed: the members go only through TearDown.
    static CAppController* instance = new CAppController();
    return *instance;
}

bool CAppController::Init(bool screenSaver) {
    m_setting = new CSetting("setting", g_settingHost);
    if (!m_setting->LoadConfig()) {
        m_setting->ResetDefaults(true);
        m_setting->SaveConfig();
    }
    if (screenSaver)
        m_setting->EnterScreenSaverMode();
    return true;
}

ISetting* CAppController::GetSetting() { return m_setting; }

bool CAppController::SetUp(HWND mainWindow) {
    DeviceFailureHandler = OnStartupFailure;
    SetMissingResourceHandler(RequireResource);
    SetModelPathPrefix(0);
    m_system = new CSystem(mainWindow, m_setting);
    bool result = m_system->SetUp(mainWindow);
    SetMissingResourceHandler(nullptr);
    m_system->ResetFrameTimer();
    return result;
}

void CAppController::Run() {
    if (m_system)
        m_system->Run();
}

void CAppController::TearDown() {
    if (m_system) {
        m_system->TearDown();
        DeleteOwned(m_system);
    }
    DeleteOwned(m_setting);
}

void CAppController::OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_system) {
        m_system->OnWindowMessage(message, wParam, lParam);
        CInputManager::Instance().OnMessage(window, message, wParam, lParam);
    }
}

void CAppController::OnRightClick() {
    if (m_system)
        m_system->OpenMenu();
}

PointerZone CAppController::HitTest(int x, int y) { return m_system ? m_system->HitTest(x, y) : ZONE_NONE; }
