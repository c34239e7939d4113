#include "shell/app/SystemBindings.h"

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
