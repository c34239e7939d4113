#pragma once
#include "engine/math/Matrix.h"
#include "engine/render/RenderHooks.h"
#include "engine/resource/Handle.h"

// The text console: a fixed number of character cells drawn as quads over
// the scene with their own orthographic camera, after every draw list. Its
// shader, font texture, geometry and shape belong to the registry that is
// current when it is built (the renderer's). Nothing writes characters to it
// yet, so it draws nothing.
class CConsole : public IConsoleOverlay {
public:
    static constexpr int CELL_SIZE = 16;
    static constexpr int VERTICES_PER_CHARACTER = 6;
    static constexpr int SCREEN_WIDTH = 640;
    static constexpr int SCREEN_HEIGHT = 480;
    // Each vertex takes one 16-bit index.
    static constexpr int MAX_CAPACITY = 65535 / VERTICES_PER_CHARACTER;

    // A capacity outside 1 - MAX_CAPACITY is clamped into it.
    explicit CConsole(int capacity);

    // Nothing unless characters were written since the last draw.
    void Draw() override;

    int GetCapacity() const { return m_capacity; }
    int GetCharacterCount() const { return m_characterCount; }
    const CMatrix& GetProjection() const { return m_projection; }
    const CMatrix& GetView() const { return m_view; }
    CHandle GetShapeHandle() const { return m_shape; }

private:
    CHandle m_shader;
    CHandle m_geometry;
    CHandle m_texture;
    CHandle m_shape;
    CMatrix m_projection;
    CMatrix m_view;
    int m_cellWidth;
    int m_cellHeight;
    int m_cursorX;
    int m_cursorY;
    int m_capacity;
    int m_characterCount;
};

// Gives console renderers their console (through SetConsoleFactory).
void InstallConsoleHook();
