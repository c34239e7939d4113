#pragma once
#include "character/show/TvShow.h"
#include "character/show/TvShowHost.h"
#include "shell/camera/CameraInput.h"
#include "shell/settings/SettingSystem.h"

class CCharacter;
class CRenderManager;

// The camera controls read the process's input manager, whose devices may be
// replaced at any time.
class CInputManagerCameraInput : public ICameraInput {
public:
    CKeyboard* GetKeyboard() override;
    CPointer* GetPointer() override;
};

// The settings object's camera switch, passed to the render manager's camera.
class CCameraModeBinding : public ICameraModeSwitch {
public:
    void Bind(CRenderManager* render) { m_render = render; }
    void SetAuto(bool automatic) override;

private:
    CRenderManager* m_render = nullptr;
};

// The character's focus points go to the render manager's camera.
class CFocusPointBinding : public IFocusPointSink {
public:
    void Bind(CRenderManager* render) { m_render = render; }
    void AddFocusPoint(float x, float y, float z, float weight) override;

private:
    CRenderManager* m_render = nullptr;
};

// The settings object's default-dress refresh, passed to the character.
class CClothRefreshBinding : public IClothRefresh {
public:
    void Bind(CCharacter* character) { m_character = character; }
    void RefreshCloth() override;

private:
    CCharacter* m_character = nullptr;
};

// What the TV-shopping show reads and drives: the main window's messages,
// the input manager's pointer and the render manager's camera.
class CShowHostBinding : public ITvShowHost {
public:
    void Bind(void* mainWindow, CRenderManager* render) {
        m_mainWindow = mainWindow;
        m_render = render;
    }
    void PostToMainWindow(unsigned message) override;
    bool GetPointerPosition(int& x, int& y) override;
    bool IsLeftButtonDown() override;
    CCameraResource* GetCurrentView() override;
    void AddFocusPoint(float x, float y, float z, float weight) override;
    void RefreshCursor() override;

private:
    void* m_mainWindow = nullptr;
    CRenderManager* m_render = nullptr;
};
