#pragma once
#include "engine/console/ConsoleObject.h"
#include "shell/settings/LaunchConfig.h"
#include "shell/state/SavedState.h"

class ISettingHost;
class ISettingSystem;

// The settings interface: every part of the program reads and changes the
// launch settings, and loads and saves the state file, through it. The
// setters do more than store: they re-apply the window mode, switch the
// camera, the dress and the sound, and rewrite the launch settings file.
class ISetting : public CConsoleObject {
public:
    explicit ISetting(const char* name) : CConsoleObject(name) {}

    virtual void ResetDefaults(bool initial) = 0;
    virtual bool LoadConfig() = 0;
    virtual bool SaveConfig() = 0;
    virtual bool LoadState() = 0;
    virtual bool SaveState() = 0;
    virtual void SetClearMode(bool clear) = 0;
    virtual bool EnterScreenSaverMode() = 0;
    virtual bool IsSoftwareShader() = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual int GetWindowConfig() = 0;
    virtual void SetWindowConfig(int config) = 0;
    virtual bool IsFullscreen() = 0;
    virtual bool IsWindowClip() = 0;
    virtual int GetWindowMode() = 0;
    virtual void SetWindowMode(int mode) = 0;
    virtual bool IsTopmost() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    virtual bool IsFixed() = 0;
    virtual void SetFixed(bool fixed) = 0;
    virtual int GetLeft() = 0;
    virtual int GetTop() = 0;
    virtual void SetPosition(int left, int top) = 0;
    virtual bool IsCameraAuto() = 0;
    virtual void SetCameraAuto(bool automatic) = 0;
    virtual bool IsQuillombMode() = 0;
    virtual void SetQuillombMode(bool on) = 0;
    virtual bool IsSoundOn() = 0;
    virtual void SetSoundOn(bool on) = 0;
    virtual bool IsNoSave() = 0;
    virtual bool IsWindows9x() = 0;
};

// The settings object "setting", owned by the application controller for the
// whole run, longer than the system object. It owns the launch config record;
// the system object registers itself with SetSystem once it exists.
class CSetting : public ISetting {
public:
    CSetting(const char* name, ISettingHost& host);
    ~CSetting() override;

    void SetSystem(ISettingSystem* system) { m_system = system; }
    bool GetClearMode() const;
    const CLaunchConfig& GetLaunchConfig() const { return *m_config; }

    void ResetDefaults(bool initial) override;
    bool LoadConfig() override;
    bool SaveConfig() override;
    bool LoadState() override;
    bool SaveState() override;
    void SetClearMode(bool clear) override;
    bool EnterScreenSaverMode() override;
    bool IsSoftwareShader() override;
    int GetWidth() override;
    int GetHeight() override;
    int GetWindowConfig() override;
    void SetWindowConfig(int config) override;
    bool IsFullscreen() override;
    bool IsWindowClip() override;
    int GetWindowMode() override;
    void SetWindowMode(int mode) override;
    bool IsTopmost() override;
    void SetTopmost(bool topmost) override;
    bool IsFixed() override;
    void SetFixed(bool fixed) override;
    int GetLeft() override;
    int GetTop() override;
    void SetPosition(int left, int top) override;
    bool IsCameraAuto() override;
    void SetCameraAuto(bool automatic) override;
    bool IsQuillombMode() override;
    void SetQuillombMode(bool on) override;
    bool IsSoundOn() override;
    void SetSoundOn(bool on) override;
    bool IsNoSave() override;
    bool IsWindows9x() override;

private:
    // WindowConfig and WindowMode change the same way: store, re-apply, and
    // put the old value back when the device refuses the new one.
    void ChangeWindowValue(int index, int value, int highest);
    void RememberCamera(const CSavedState& state);

    ISettingSystem* m_system = nullptr;
    bool m_noSave = false;
    bool m_windows9x = false;
    CLaunchConfig* m_config = nullptr;
    ISettingHost& m_host;
    // A state file that was there but refused or unreadable stays as it is
    // for this run.
    bool m_keepStateFile = false;
    // The last finite camera read or saved: what a save writes when the
    // camera it is handed is not finite.
    float m_lastCameraDistance = SAVED_CAMERA_DEFAULT_DISTANCE;
    float m_lastCameraInterest[3] = {0.0f, 0.0f, 0.0f};
};
