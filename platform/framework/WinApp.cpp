#include "platform/framework/WinApp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleA(nullptr);
}

int RunWinApp(HINSTANCE instance) {
    if (!g_app)
        return 1;
    g_app->m_hInstance = instance;
    g_app->InitInstance();
    return 0;
}
