#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/framework/BitmapButton.h"
#include "platform/framework/Dialog.h"
#include "platform/setup/DirectXSetupLibrary.h"

// Control and resource numbers of the disc menu.
enum AutorunResource {
    IDD_AUTORUN = 102,
    IDR_MAINFRAME = 128,
    IDB_BACKGROUND = 142,
    IDC_INSTALL = 1000,
    IDC_UNINSTALL = 1001,
    IDC_DXINSTALL = 1002,
};

// The disc menu: the picture with the three buttons that start the
// installer, the registered uninstaller and the DirectX set-up. Each button
// is enabled only where it makes sense, read again at every activation.
class CAutorunDlg : public CDialog {
public:
    CAutorunDlg();

    void UpdateButtons();
    // Opens the names one level at a time below root; null (and nothing left
    // open) when any level fails.
    static HKEY OpenKeyPath(HKEY root, const std::vector<const char*>& names);

    std::string m_strDir;
    std::string m_strUninstall;
    HICON m_hIcon;
    CBitmapButton m_btnInstall;
    CBitmapButton m_btnUninstall;
    CBitmapButton m_btnDxInstall;
    bool m_bInitialized;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnPaint();
    void OnInstall();
    void OnUninstall();
    void OnDxInstall();
    void OnActivate(UINT state);
    // Starts the command line; the process handle when wanted, else closed.
    bool Start(const std::string& commandLine, HANDLE* process);
    // Waits for the process to end while the dialog keeps answering.
    void WaitKeepingResponsive(HANDLE process);
    void Restart();
    // The dialog's size comes from its font; the picture is 640 × 480 pixels
    // whatever the font, so the client area is made to match it.
    void FitClientToPicture();
    static constexpr int PICTURE_WIDTH = 640;
    static constexpr int PICTURE_HEIGHT = 480;

    CDirectXSetupLibrary m_dxSetup;
    bool m_waiting;
};
