#pragma once
// A settings object for the tests: the answers that objects read (window
// size, the camera, dress and sound switches, the no-save run) are plain
// fields a test sets, the switches' setters store into them, and the rest
// answers defaults and does nothing.
#include "shell/settings/Setting.h"

class FakeSetting : public ISetting {
public:
    FakeSetting() : ISetting("") {}
    FakeSetting(int w, int h) : ISetting(""), width(w), height(h) {}

    void ResetDefaults(bool) override {}
    bool LoadConfig() override { return true; }
    bool SaveConfig() override { return true; }
    bool LoadState() override { return true; }
    bool SaveState() override { return true; }
    void SetClearMode(bool) override {}
    bool EnterScreenSaverMode() override { return false; }
    bool IsSoftwareShader() override { return false; }
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
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
    bool IsCameraAuto() override { return cameraAuto; }
    void SetCameraAuto(bool on) override { cameraAuto = on; }
    bool IsQuillombMode() override { return quillomb; }
    void SetQuillombMode(bool on) override { quillomb = on; }
    bool IsSoundOn() override { return soundOn; }
    void SetSoundOn(bool on) override { soundOn = on; }
    bool IsNoSave() override { return noSave; }
    bool IsWindows9x() override { return false; }

    void SetSize(int w, int h) { width = w, height = h; }

    int width = 0, height = 0;
    bool cameraAuto = true;
    bool quillomb = false;
    bool soundOn = false;
    bool noSave = false;
};
