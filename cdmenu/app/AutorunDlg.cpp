#include "cdmenu/app/AutorunDlg.h"

#include <cstdlib>

#include "cdmenu/menu/MenuRules.h"
#include "platform/framework/WinApp.h"

namespace {

// The uninstall registration of the product, below HKEY_LOCAL_MACHINE.
const std::vector<const char*> UNINSTALL_KEY = {"Software",       "Microsoft", "Windows",
                                                "CurrentVersion", "Uninstall", "Tavelune"};

const char TEXT_SETUP_FAILED[] = u8"Setup.exe を呼び出せませんでした";
const char TEXT_UNINSTALL_FAILED[] = u8"アンインストールシールドを呼び出せませんでした";
const char TEXT_DX_FAILED[] = u8"DirectX のインストールに失敗しました";
const char TEXT_DX_RESTART[] =
    u8"新しい設定を有効にするには、コンピュータを再起動する必要があります。\n\n今すぐ再起動しますか？";
const char TEXT_DX_DONE[] = u8"DirectX のインストールに成功しました。";

} // namespace

CAutorunDlg::CAutorunDlg()
    : CDialog(IDD_AUTORUN),
      m_hIcon(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_bInitialized(false),
      m_waiting(false) {}

BOOL CAutorunDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char drive[_MAX_DRIVE] = {}, folder[_MAX_DIR] = {};
    _splitpath(path, drive, folder, nullptr, nullptr);
    m_strDir = std::string(drive) + folder;

    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_btnInstall.AutoLoad(IDC_INSTALL, this);
    m_btnUninstall.AutoLoad(IDC_UNINSTALL, this);
    m_btnDxInstall.AutoLoad(IDC_DXINSTALL, this);
    m_btnInstall.MoveWindow(0, 337, 640, 28, FALSE);
    m_btnUninstall.MoveWindow(0, 365, 640, 28, FALSE);
    m_btnDxInstall.MoveWindow(0, 393, 640, 24, FALSE);
    FitClientToPicture();

    m_dxSetup.Load(m_strDir + "directx81");
    UpdateButtons();
    m_bInitialized = true;
    return TRUE;
}

bool CAutorunDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_PAINT:
        if (!IsIconic())
            return false;
        OnPaint();
        result = TRUE;
        return true;
    case WM_QUERYDRAGICON: result = reinterpret_cast<INT_PTR>(m_hIcon); return true;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return false;
        switch (LOWORD(wParam)) {
        case IDC_INSTALL: OnInstall(); break;
        case IDC_UNINSTALL: OnUninstall(); break;
        case IDC_DXINSTALL: OnDxInstall(); break;
        default: return false;
        }
        result = TRUE;
        return true;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam)); return false; // the default handling moves the focus
    default: return false;
    }
}

HKEY CAutorunDlg::OpenKeyPath(HKEY root, const std::vector<const char*>& names) {
    if (names.empty())
        return nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, names[0], 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    for (size_t i = 1; i < names.size(); ++i) {
        HKEY child = nullptr;
        LONG status = RegOpenKeyExA(key, names[i], 0, KEY_READ, &child);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return nullptr;
        key = child;
    }
    return key;
}

void CAutorunDlg::UpdateButtons() {
    m_strUninstall.clear();
    if (HKEY key = OpenKeyPath(HKEY_LOCAL_MACHINE, UNINSTALL_KEY)) {
        std::vector<char> value(UNINSTALL_VALUE_CAPACITY, '\0');
        DWORD size = DWORD(value.size() - 1);
        if (RegQueryValueExA(key, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) ==
            ERROR_SUCCESS)
            m_strUninstall = UninstallCommandFromValue(value.data(), size, value.size());
        RegCloseKey(key);
    }
    const bool installed = !m_strUninstall.empty();
    m_btnInstall.EnableWindow(!installed);
    m_btnUninstall.EnableWindow(installed);

    DWORD version = 0, revision = 0;
    const bool queried = m_dxSetup.GetVersion(version, revision);
    m_btnDxInstall.EnableWindow(DxInstallEnabled(m_dxSetup.IsLoaded(), queried, version, revision));
}

bool CAutorunDlg::Start(const std::string& commandLine, HANDLE* process) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    if (process)
        *process = info.hProcess;
    else
        CloseHandle(info.hProcess);
    return true;
}

void CAutorunDlg::OnInstall() {
    if (m_waiting)
        return;
    std::string line;
    if (!JoinCommandLine(m_strDir, "Setup\\Setup.exe", COMMAND_LINE_CAPACITY, line) || !Start(line, nullptr))
        MessageBox(TEXT_SETUP_FAILED, "Error", MB_OK);
}

void CAutorunDlg::OnUninstall() {
    if (m_waiting || m_strUninstall.empty())
        return;
    std::string line;
    HANDLE process = nullptr;
    if (!JoinCommandLine(m_strUninstall, "", COMMAND_LINE_CAPACITY, line) || !Start(line, &process)) {
        MessageBox(TEXT_UNINSTALL_FAILED, "Error", MB_OK);
        return;
    }
    WaitKeepingResponsive(process);
    CloseHandle(process);
    UpdateButtons();
}

void CAutorunDlg::WaitKeepingResponsive(HANDLE process) {
    m_waiting = true;
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            break; // the process ended, or the wait failed
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                quit = true;
                break;
            }
            if (!m_hWnd || !IsDialogMessageA(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (quit || !m_hWnd)
            break;
    }
    m_waiting = false;
}

void CAutorunDlg::OnDxInstall() {
    if (m_waiting)
        return;
    std::string folder;
    int result = -1;
    if (JoinCommandLine(m_strDir, "directx81", COMMAND_LINE_CAPACITY, folder))
        result = m_dxSetup.Setup(m_hWnd, folder, CDirectXSetupLibrary::DSETUP_DIRECTX);
    switch (ClassifyDxSetupResult(result)) {
    case DXO_FAILED: MessageBox(TEXT_DX_FAILED, "Error", MB_OK); return;
    case DXO_RESTART:
        if (MessageBox(TEXT_DX_RESTART, "Succeeded", MB_YESNO | MB_ICONQUESTION) == IDYES)
            Restart();
        break;
    case DXO_DONE: MessageBox(TEXT_DX_DONE, "Succeeded", MB_OK); break;
    }
    UpdateButtons();
}

void CAutorunDlg::Restart() {
    HANDLE token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    ExitWindowsEx(EWX_REBOOT, 0);
}

void CAutorunDlg::OnActivate(UINT state) {
    if (state != WA_INACTIVE && m_bInitialized)
        UpdateButtons();
}

void CAutorunDlg::FitClientToPicture() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (client.right == PICTURE_WIDTH && client.bottom == PICTURE_HEIGHT)
        return;
    RECT frame = {0, 0, PICTURE_WIDTH, PICTURE_HEIGHT};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAutorunDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(m_hWnd, &client);
    DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2, m_hIcon);
    EndPaint(m_hWnd, &paint);
}
