#pragma once
// A settings object that answers a fixed window size and defaults for the
// rest, for the objects that read their size from the settings.
#include "shell/settings/Setting.h"

class CFixedSizeSetting : public ISetting {
public:
    CFixedSizeSetting(int width, int height) : ISetting(""), m_width(width), m_height(height) {}
    void ResetDefaults(bool) override {}
    bool LoadConfig() override { return true; }
    bool SaveConfig() override { return true; }
    bool LoadState() override { return true; }
    bool SaveState() override { return true; }
    void SetClearMode(bool) override {}
    bool EnterScreenSaverMode() override { return false; }
    bool IsSoftwareShader() override { return false; }
    int GetWidth() override { return m_width; }
    int GetHeight() override { return m_height; }
    int GetWindowConfig() override { return 0; }
    void SetWindowConfig(int) override {}
    bool IsFullscreen() override { return false; }
    bool IsWindowClip() override { return false; }
    int GetWindowMode() override { return 0; }
    void SetWindowMode(int) override {}
    bool IsTopmost() override { return false; }
    void SetTopmost(bool) override {}
    bool IsFixed() override { return false; }
    void SetFixed(bool) override {}
    int GetLeft() override { return 0; }
    int GetTop() override { return 0; }
    void SetPosition(int, int) override {}
    bool IsCameraAuto() override { return true; }
    void SetCameraAuto(bool) override {}
    bool IsQuillombMode() override { return false; }
    void SetQuillombMode(bool) override {}
    bool IsSoundOn() override { return false; }
    void SetSoundOn(bool) override {}
    bool IsNoSave() override { return true; }
    bool IsWindows9x() override { return false; }

    void SetSize(int width, int height) { m_width = width, m_height = height; }

private:
    int m_width, m_height;
};
