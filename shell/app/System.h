#pragma once
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "character/device/DeviceBindings.h"
#include "engine/render/ConsoleRenderer.h"
#include "shell/app/SystemBindings.h"
#include "shell/mascot/PointerZone.h"
#include "shell/mascot/SystemConsole.h"
#include "shell/settings/SettingSystem.h"
#include "shell/state/SavedState.h"

class CCharacter;
class CPointer;
class CConfigMenu;
class CEnding;
class CScreenSaverIndicator;
class CRenderManager;
class CSetting;
class CSoundManager;
class CWorld;

// The scope text that every model instance of the scene ends with.
extern const char* const ModelScope;

// The system object: the Direct3D device and frame loop (its renderer base),
// and everything the scene is made of, built in a fixed order by SetUp,
// stepped once per fixed update and deleted in reverse order. It answers the
// console as "system", classifies the pointer into zones for the main window
// and is what the settings object re-applies modes and reads the saved game
// through. The application controller owns it; the main window and the
// setting are not owned.
//
// The room is seen through the render manager's camera, which follows the
// character; the state file holds that camera, her money and her items.
class CSystem : public CConsoleRenderer, public ISettingSystem {
public:
    CSystem(HWND mainWindow, CSetting* setting);
    ~CSystem() override;

    // Builds the scene and reads the state file; false when the file was
    // refused (the loop must not run).
    bool SetUp(HWND mainWindow);
    int Update(float stepMs) override;
    // Saves the state file, when set-up completed, and deletes the scene.
    void TearDown();

    // Every message of the main window, before the input manager's view.
    void OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    PointerZone HitTest(int x, int y);
    void OpenMenu();

    bool ApplyWindowMode() override;
    void PostTopmost(bool topmost) override;
    ICameraModeSwitch* GetCameraModeSwitch() override;
    IClothRefresh* GetClothRefresh() override;
    ISoundSwitch* GetSoundSwitch() override;
    void CaptureState(CSavedState& state) override;
    void RestoreState(const CSavedState& state, uint32_t version) override;

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
        return m_console.HandleCommand(out, command, args);
    }
    CSystemConsole& GetConsole() { return m_console; }
    CWorld* GetWorld() const { return m_world; }
    CRenderManager* GetRenderManager() const { return m_render; }
    CCharacter* GetCharacter() const { return m_character; }
    CConfigMenu* GetMenu() const { return m_menu; }
    CEnding* GetEnding() const { return m_ending; }
    CScreenSaverIndicator* GetIndicator() const { return m_indicator; }
    bool IsSetUpComplete() const { return m_setUpComplete; }

private:
    void DeleteScene();
    // The ending or the menu, the camera, world, character and indicator of
    // one update; false when the menu's quit ends the program.
    bool StepScene(CPointer* pointer, PointerZone zone, float step);

    CSystemConsole m_console;
    HWND m_mainWindow;
    CSetting* m_setting;
    CStartSteps m_startSteps;
    CRenderManager* m_render = nullptr;
    CSoundManager* m_sound = nullptr;
    CWorld* m_world = nullptr;
    CCharacter* m_character = nullptr;
    CScreenSaverIndicator* m_indicator = nullptr;
    CConfigMenu* m_menu = nullptr;
    CEnding* m_ending = nullptr;
    bool m_setUpComplete = false;
    // An Escape press seen in the messages since the last update, so that a
    // tap that goes down and up within one pump still ends the program.
    bool m_escapePressed = false;
    CInputManagerCameraInput m_cameraInput;
    CCameraModeBinding m_cameraMode;
    CFocusPointBinding m_focus;
    CClothRefreshBinding m_clothRefresh;
    CShowHostBinding m_showHost;
    CShaderTextureBinder m_textures;
    CRendererColorTarget m_fades;
};
