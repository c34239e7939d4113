#pragma once
#include <windows.h>

#include <map>

class CBitmapButton;

// Our stand-in for the framework's modal dialog: a dialog template from the
// program's resources, run by DoModal. Messages reach OnMessage, the class's
// message map; what it does not handle gets the dialog defaults (Enter,
// Escape and the close box end the dialog). Owner-drawn buttons attached
// with AttachBitmapButton draw themselves.
class CDialog {
public:
    explicit CDialog(UINT templateId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // The dialog's result (EndDialog's value), or -1 when it could not be made.
    INT_PTR DoModal();
    void EndDialog(int result);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    // A message box owned by the dialog; text and caption are UTF-8.
    int MessageBox(const char* text, const char* caption, UINT type = MB_OK);

    // Draws the button's item from WM_DRAWITEM; the button stays the caller's.
    void AttachBitmapButton(int id, CBitmapButton* button);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // The message map: true when handled, with the dialog procedure's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    std::map<int, CBitmapButton*> m_buttons;
};
