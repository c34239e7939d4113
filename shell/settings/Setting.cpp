#include "shell/settings/Setting.h"

#include <climits>
#include <cstdint>
#include <string>

#include "engine/archive/DataFolder.h"
#include "engine/core/DeleteOwned.h"
#include "shell/settings/SettingHost.h"
#include "shell/settings/SettingSystem.h"
#include "shell/settings/WindowSizeTable.h"
#include "shell/state/StateFile.h"

namespace {

int32_t Flag(bool value) { return value ? 1 : 0; }

int ClampToInt(int64_t value) {
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

} // namespace

CSetting::CSetting(const char* name, ISettingHost& host) : ISetting(name), m_host(host) {
    m_config = new CLaunchConfig();
    m_windows9x = host.IsWindows9x();
    ResetDefaults(true);
}

CSetting::~CSetting() { DeleteOwned(m_config); }

bool CSetting::GetClearMode() const { return m_config->values[LC_CLEAR_MODE] != 0; }

void CSetting::ResetDefaults(bool initial) {
    int32_t* v = m_config->values;
    v[LC_SHADER_MODE] = 0;
    v[LC_WINDOW_CONFIG] = 0;
    v[LC_WINDOW_MODE] = initial ? 0 : 1;
    v[LC_TOPMOST_MODE] = 0;
    v[LC_FIX_MODE] = 0;
    v[LC_INIT_X] = m_host.GetScreenWidth() / 2;
    v[LC_INIT_Y] = m_host.GetScreenHeight() / 2;
    v[LC_SOUND_MODE] = 1;
    v[LC_CAMERA_MODE] = 1;
    v[LC_QUILLOMB_MODE] = 1;
    v[LC_CLEAR_MODE] = 0;
}

bool CSetting::LoadConfig() { return LoadLaunchConfig(*m_config); }

bool CSetting::SaveConfig() {
    if (!m_noSave)
        SaveLaunchConfig(*m_config); // an unwritable file is silently skipped
    return true;
}

void CSetting::RememberCamera(const CSavedState& state) {
    m_lastCameraDistance = state.cameraDistance;
    for (int i = 0; i < 3; ++i)
        m_lastCameraInterest[i] = state.cameraInterest[i];
}

bool CSetting::LoadState() {
    CSavedState state;
    uint32_t version = 0;
    const std::string path = DataFilePath(STATE_FILE_NAME);
    switch (ReadStateFile(path.c_str(), state, version)) {
    case SR_MISSING: return true;
    case SR_OK:
        if (!m_system)
            return false;
        if (state.hasCamera)
            RememberCamera(state);
        else
            m_host.WriteLog("tavelune.dat: the camera values are not finite numbers; the camera starts afresh, "
                            "the money and the items are loaded");
        m_system->RestoreState(state, version);
        return true;
    case SR_UNREADABLE:
        // Neither loaded nor cleared, and not overwritten at the end: the run
        // goes on with the starting state and the file keeps what it holds.
        m_keepStateFile = true;
        m_host.WriteLog("tavelune.dat: the file is there but cannot be opened or read (locked by another program "
                        "or access denied); it is not loaded and will not be overwritten, this run starts with "
                        "a fresh state");
        return true;
    case SR_TOO_NEW:
        m_keepStateFile = true;
        m_host.WriteLog("tavelune.dat: written by a newer version; it is not loaded and will not be overwritten");
        return false;
    default:
        m_keepStateFile = true;
        m_host.WriteLog("tavelune.dat: the file is damaged; it is not loaded and will not be overwritten");
        return false;
    }
}

bool CSetting::SaveState() {
    if (m_noSave)
        return true;
    if (m_keepStateFile || !m_system)
        return false;
    CSavedState state;
    m_system->CaptureState(state);
    // A camera that is not finite would cost the whole file at the next
    // start: the last finite one is written instead.
    if (HasUsableCamera(state)) {
        RememberCamera(state);
    } else {
        state.hasCamera = true;
        state.cameraDistance = m_lastCameraDistance;
        for (int i = 0; i < 3; ++i)
            state.cameraInterest[i] = m_lastCameraInterest[i];
    }
    const std::string path = DataFilePath(STATE_FILE_NAME);
    return WriteStateFile(path.c_str(), state);
}

void CSetting::SetClearMode(bool clear) {
    m_config->values[LC_CLEAR_MODE] = Flag(clear);
    SaveConfig();
}

bool CSetting::EnterScreenSaverMode() {
    m_config->values[LC_WINDOW_MODE] = 2;
    m_config->values[LC_CAMERA_MODE] = 1;
    m_noSave = true;
    return true;
}

bool CSetting::IsSoftwareShader() { return m_config->values[LC_SHADER_MODE] != 0; }

int CSetting::GetWidth() {
    const int config = m_config->values[LC_WINDOW_CONFIG];
    const int index = config >= 0 && config <= 2 ? config : 0;
    return IsWindowClip() ? CLIP_WINDOW_WIDTHS[index] : PLAIN_WINDOW_WIDTHS[index];
}

int CSetting::GetHeight() {
    const int config = m_config->values[LC_WINDOW_CONFIG];
    const int index = config >= 0 && config <= 2 ? config : 0;
    return IsWindowClip() ? CLIP_WINDOW_HEIGHTS[index] : PLAIN_WINDOW_HEIGHTS[index];
}

int CSetting::GetWindowConfig() { return m_config->values[LC_WINDOW_CONFIG]; }

void CSetting::ChangeWindowValue(int index, int value, int highest) {
    int32_t& field = m_config->values[index];
    // A value the file could not hold would make the next start refuse it.
    if (value == field || value < 0 || value > highest)
        return;
    const int32_t old = field;
    field = value;
    if (m_system && !m_system->ApplyWindowMode()) {
        field = old;
        m_system->ApplyWindowMode();
    }
    SaveConfig();
}

void CSetting::SetWindowConfig(int config) { ChangeWindowValue(LC_WINDOW_CONFIG, config, 2); }

bool CSetting::IsFullscreen() { return m_config->values[LC_WINDOW_MODE] == 2; }

bool CSetting::IsWindowClip() { return m_config->values[LC_WINDOW_MODE] == 0; }

int CSetting::GetWindowMode() { return m_config->values[LC_WINDOW_MODE]; }

void CSetting::SetWindowMode(int mode) { ChangeWindowValue(LC_WINDOW_MODE, mode, 2); }

bool CSetting::IsTopmost() { return m_config->values[LC_TOPMOST_MODE] != 0; }

void CSetting::SetTopmost(bool topmost) {
    if (topmost == IsTopmost())
        return;
    m_config->values[LC_TOPMOST_MODE] = Flag(topmost);
    if (m_system)
        m_system->PostTopmost(topmost);
    SaveConfig();
}

bool CSetting::IsFixed() { return m_config->values[LC_FIX_MODE] != 0; }

void CSetting::SetFixed(bool fixed) {
    m_config->values[LC_FIX_MODE] = Flag(fixed);
    SaveConfig();
}

int CSetting::GetLeft() { return ClampToInt(static_cast<int64_t>(m_config->values[LC_INIT_X]) - GetWidth() / 2); }

int CSetting::GetTop() { return ClampToInt(static_cast<int64_t>(m_config->values[LC_INIT_Y]) - GetHeight() / 2); }

void CSetting::SetPosition(int left, int top) {
    m_config->values[LC_INIT_X] = ClampToInt(static_cast<int64_t>(left) + GetWidth() / 2);
    m_config->values[LC_INIT_Y] = ClampToInt(static_cast<int64_t>(top) + GetHeight() / 2);
}

bool CSetting::IsCameraAuto() { return m_config->values[LC_CAMERA_MODE] == 1; }

void CSetting::SetCameraAuto(bool automatic) {
    m_config->values[LC_CAMERA_MODE] = Flag(automatic);
    if (ICameraModeSwitch* camera = m_system ? m_system->GetCameraModeSwitch() : nullptr)
        camera->SetAuto(automatic);
    SaveConfig();
}

bool CSetting::IsQuillombMode() { return m_config->values[LC_QUILLOMB_MODE] == 1; }

void CSetting::SetQuillombMode(bool on) {
    m_config->values[LC_QUILLOMB_MODE] = Flag(on);
    if (!on)
        if (IClothRefresh* character = m_system ? m_system->GetClothRefresh() : nullptr)
            character->RefreshCloth();
    SaveConfig();
}

bool CSetting::IsSoundOn() { return m_config->values[LC_SOUND_MODE] == 1; }

void CSetting::SetSoundOn(bool on) {
    m_config->values[LC_SOUND_MODE] = Flag(on);
    if (ISoundSwitch* sound = m_system ? m_system->GetSoundSwitch() : nullptr)
        sound->SetEnabled(on);
    SaveConfig();
}

bool CSetting::IsNoSave() { return m_noSave; }

bool CSetting::IsWindows9x() { return m_windows9x; }
