#include "platform/framework/Dialog.h"

#include "platform/framework/BitmapButton.h"
#include "platform/framework/WinApp.h"
#include "platform/win32/WideText.h"

CDialog::CDialog(UINT templateId) : m_templateId(templateId) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    return DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_templateId), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int result) {
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}

int CDialog::MessageBox(const char* text, const char* caption, UINT type) {
    return MessageBoxW(m_hWnd, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
}

void CDialog::AttachBitmapButton(int id, CBitmapButton* button) {
    if (button)
        m_buttons[id] = button;
    else
        m_buttons.erase(id);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->m_hWnd = window;
        return dialog->OnInitDialog();
    }
    dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        auto found = item ? dialog->m_buttons.find(int(item->CtlID)) : dialog->m_buttons.end();
        if (found != dialog->m_buttons.end()) {
            found->second->DrawItem(*item);
            return TRUE;
        }
    }
    INT_PTR result = 0;
    if (dialog->OnMessage(message, wParam, lParam, result))
        return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_CLOSE) {
        ::EndDialog(window, IDCANCEL);
        return TRUE;
    }
    if (message == WM_NCDESTROY)
        dialog->m_hWnd = nullptr;
    return FALSE;
}
