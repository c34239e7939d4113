#include "shell/app/SystemBindings.h"

#include <windows.h>

#include "character/Character.h"
#include "engine/input/win32/InputManager.h"
#include "engine/math/Vec3.h"
#include "shell/camera/CameraManager.h"
#include "shell/render/RenderManager.h"

CKeyboard* CInputManagerCameraInput::GetKeyboard() { return CInputManager::Instance().GetKeyboard(); }

CPointer* CInputManagerCameraInput::GetPointer() { return CInputManager::Instance().GetPointer(); }

void CCameraModeBinding::SetAuto(bool automatic) {
    if (ICameraManager* camera = m_render ? m_render->GetCameraManager() : nullptr)
        camera->SetAuto(automatic);
}

void CFocusPointBinding::AddFocusPoint(float x, float y, float z, float weight) {
    if (ICameraManager* camera = m_render ? m_render->GetCameraManager() : nullptr)
        camera->AddFocusPoint(Vec3(x, y, z), weight);
}

void CClothRefreshBinding::RefreshCloth() {
    if (m_character)
        m_character->RefreshCloth();
}

void CShowHostBinding::PostToMainWindow(unsigned message) {
    if (m_mainWindow)
        PostMessageA(static_cast<HWND>(m_mainWindow), message, 0, 0);
}

bool CShowHostBinding::GetPointerPosition(int& x, int& y) {
    CPointer* pointer = CInputManager::Instance().GetPointer();
    if (!pointer)
        return false;
    x = pointer->GetAxis(PA_X).value;
    y = pointer->GetAxis(PA_Y).value;
    return true;
}

bool CShowHostBinding::IsLeftButtonDown() {
    CPointer* pointer = CInputManager::Instance().GetPointer();
    return pointer && KeyDown(pointer->GetButton(PB_LEFT));
}

CCameraResource* CShowHostBinding::GetCurrentView() { return m_render ? m_render->GetMainCamera() : nullptr; }

void CShowHostBinding::AddFocusPoint(float x, float y, float z, float weight) {
    if (ICameraManager* camera = m_render ? m_render->GetCameraManager() : nullptr)
        camera->AddFocusPoint(Vec3(x, y, z), weight);
}

// The window chooses its cursor again on the message the show posts as it closes.
void CShowHostBinding::RefreshCursor() {}
