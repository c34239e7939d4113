#pragma once
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/render/ConsoleRenderer.h"
#include "shell/mascot/PointerZone.h"
#include "shell/mascot/SystemConsole.h"
#include "shell/settings/SettingSystem.h"
#include "shell/state/SavedState.h"

class CCameraResource;
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
// The room is seen through its fixed view until the camera manager drives
// the main camera; the character, the configuration menu, the indicator and
// the ending are not part of the scene yet. The saved game's parts that no live object holds (camera, money,
// items) are carried from the file read at set-up to the file written at
// tear-down unchanged, so that a run never loses them.
class CSystem : public CConsoleRenderer, public ISettingSystem {
public:
    // The money of a fresh game, until the character keeps her own.
    static constexpr uint32_t FRESH_MONEY = 50000;

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
    ICameraModeSwitch* GetCameraModeSwitch() override { return nullptr; }
    IClothRefresh* GetClothRefresh() override { return nullptr; }
    ISoundSwitch* GetSoundSwitch() override;
    void CaptureState(CSavedState& state) override;
    void RestoreState(const CSavedState& state, uint32_t version) override;

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
        return m_console.HandleCommand(out, command, args);
    }
    CSystemConsole& GetConsole() { return m_console; }
    CWorld* GetWorld() const { return m_world; }
    CRenderManager* GetRenderManager() const { return m_render; }
    bool IsSetUpComplete() const { return m_setUpComplete; }

private:
    CSystemConsole m_console;
    HWND m_mainWindow;
    CSetting* m_setting;
    CStartSteps m_startSteps;
    CRenderManager* m_render = nullptr;
    CSoundManager* m_sound = nullptr;
    CWorld* m_world = nullptr;
    CSavedState m_savedGame;
    bool m_setUpComplete = false;
    // An Escape press seen in the messages since the last update, so that a
    // tap that goes down and up within one pump still ends the program.
    bool m_escapePressed = false;
    // The room's fixed view, a node of the main scene.
    CCameraResource* m_roomCamera = nullptr;
};
