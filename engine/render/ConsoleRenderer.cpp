#include "engine/render/ConsoleRenderer.h"

CConsoleRenderer::CConsoleRenderer(HWND window, int width, int height, bool windowed, bool forceSoftware)
    : CRenderer(window, width, height, windowed, forceSoftware) {
    if (ConsoleFactory makeConsole = GetConsoleFactory())
        m_console = makeConsole(CONSOLE_CAPACITY);
}

CConsoleRenderer::~CConsoleRenderer() {
    delete m_console;
    m_console = nullptr;
}

int CConsoleRenderer::Run() {
    OnLoopStart();
    for (;;) {
        RunUpdates();
        if (m_console)
            m_console->Draw();
        PaceFrame();
        // WM_QUIT ends the loop at once: this pass is neither ended nor presented.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return OnLoopEnd();
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        PresentFrame();
    }
}
