#include "engine/input/win32/DIMouse.h"

#include <cstddef>

#include "engine/input/win32/DIKeyboard.h"
#include "engine/input/WindowMessages.h"

static_assert(CDIMouseState::OFFSET_X == DIMOFS_X && CDIMouseState::OFFSET_Y == DIMOFS_Y &&
                  CDIMouseState::OFFSET_Z == DIMOFS_Z && CDIMouseState::OFFSET_BUTTON0 == DIMOFS_BUTTON0,
              "mouse state offsets");

CDIMouse::CDIMouse(IDirectInput8A* directInput, CAxisFilter* filterX, CAxisFilter* filterY, CAxisFilter* filterWheel)
    : m_directInput(directInput),
      m_state(filterX, filterY, filterWheel, GetSystemMetrics(SM_SWAPBUTTON) != 0) {
    m_directInput->AddRef();
}

CDIMouse::~CDIMouse() {
    if (m_device) {
        m_device->Unacquire();
        m_device->Release();
    }
    m_directInput->Release();
}

bool CDIMouse::Open(HWND window) {
    if (FAILED(m_directInput->CreateDevice(GUID_SysMouse, &m_device, nullptr))) {
        m_device = nullptr;
        return false;
    }
    if (FAILED(m_device->SetDataFormat(&c_dfDIMouse)) ||
        FAILED(m_device->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND)))
        return false;
    DIPROPDWORD buffer = {};
    buffer.diph.dwSize = sizeof buffer;
    buffer.diph.dwHeaderSize = sizeof buffer.diph;
    buffer.diph.dwObj = 0;
    buffer.diph.dwHow = DIPH_DEVICE;
    buffer.dwData = BUFFER_RECORDS;
    if (FAILED(m_device->SetProperty(DIPROP_BUFFERSIZE, &buffer.diph)))
        return false;
    m_device->Acquire();
    m_state.Clear();
    return true;
}

void CDIMouse::Update() {
    DIDEVICEOBJECTDATA records[BUFFER_RECORDS];
    DWORD count = BUFFER_RECORDS;
    if (FAILED(m_device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0))) {
        ReacquireInputDevice(m_device);
        m_state.Clear();
        return;
    }
    if (count > BUFFER_RECORDS)
        count = BUFFER_RECORDS;
    m_state.BeginUpdate();
    for (DWORD i = 0; i < count; ++i)
        m_state.ApplyRecord(records[i].dwOfs, records[i].dwData);
    m_state.EndUpdate();
}

void CDIMouse::OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (ClassifyFocusMessage(message, wParam)) {
    case FC_ACTIVATED:
    case FC_MENU_EXIT:
        m_device->Acquire();
        m_state.Clear();
        break;
    case FC_MENU_ENTER: m_device->Unacquire(); break;
    case FC_DEACTIVATED: m_state.Clear(); break;
    default: break;
    }
}
