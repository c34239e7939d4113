#pragma once
#include "engine/render/RenderHooks.h"
#include "engine/render/Renderer.h"

// The renderer with the text console drawn over the scene, and the frame
// loop. The application's system object derives from it, overrides Update
// and enters Run once.
class CConsoleRenderer : public CRenderer {
public:
    static constexpr int CONSOLE_CAPACITY = 4800;

    CConsoleRenderer(HWND window, int width, int height, bool windowed, bool forceSoftware);
    ~CConsoleRenderer() override;

    // Runs passes until WM_QUIT; answers OnLoopEnd's result.
    int Run();

    // Null until the console area registers its factory.
    IConsoleOverlay* GetConsole() const { return m_console; }

private:
    IConsoleOverlay* m_console = nullptr;
};
