#include "engine/textconsole/Console.h"

#include <cstdint>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/VertexSize.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "engine/math/Vec3.h"
#include "engine/render/Renderer.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"

namespace {

constexpr uint32_t CONSOLE_VERTEX_MASK = (1u << VE_POSITION) | (1u << VE_TEXCOORDINATE_0);
constexpr int BLEND_ONE_INDEX = 1; // D3DBLEND_ONE - 1

IConsoleOverlay* MakeConsole(int capacity) { return new CConsole(capacity); }

} // namespace

CConsole::CConsole(int capacity)
    : m_cellWidth(CELL_SIZE),
      m_cellHeight(CELL_SIZE),
      m_cursorX(0),
      m_cursorY(0),
      m_capacity(capacity < 1              ? 1
                 : capacity > MAX_CAPACITY ? MAX_CAPACITY
                                           : capacity),
      m_characterCount(0) {
    CShader* shader = CreateShader("consoleShader", ST_CONSTANT);
    // The font: linear filters, wrapped, one level.
    CFileTexture* font =
        new CFileTexture("font", "fontTable.TGA", TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_WRAP, TAM_WRAP, 1, false);

    // Two triangles of their own per character; the vertices are written when
    // characters are, so they start zeroed.
    const int vertexCount = m_capacity * VERTICES_PER_CHARACTER;
    std::vector<uint8_t> vertices((size_t)vertexCount * GetVertexSize(CONSOLE_VERTEX_MASK), 0);
    CIndexedGeometry* geometry =
        new CIndexedGeometry("consoleGeometry", CONSOLE_VERTEX_MASK, vertexCount, vertices.data());
    std::vector<uint16_t> indices(vertexCount);
    for (int i = 0; i < vertexCount; ++i)
        indices[i] = (uint16_t)i;
    geometry->AddGroup(PT_TRIANGLE_LIST, vertexCount, indices.data());

    if (shader) {
        shader->SetColor(1, 1, 1, 1);
        shader->SetTexture(font);
        shader->SetBlend(BLEND_ONE_INDEX, BLEND_ONE_INDEX);
    }
    CShape* shape = new CShape("consoleShape");
    shape->AddPair(shader, geometry);

    m_projection.SetOrthoRH((float)SCREEN_WIDTH, (float)SCREEN_HEIGHT, 0.1f, 1000.0f);
    m_view.SetLookAtRH(Vec3(0, 0, 10), Vec3(0, 0, 0), Vec3(0, 1, 0));

    m_shader = shader ? shader->GetShaderHandle() : NULL_HANDLE;
    m_geometry = geometry->GetGeometryHandle();
    m_texture = font->GetHandle();
    m_shape = shape->GetShapeHandle();
}

void CConsole::Draw() {
    if (m_characterCount <= 0)
        return;
    CRenderer* renderer = CRenderer::Current();
    CIndexedGeometry* geometry = static_cast<CIndexedGeometry*>(GeometryHandles().Resolve(m_geometry));
    CShape* shape = ShapeHandles().Resolve(m_shape);
    if (renderer && geometry && shape) {
        const int vertices = m_characterCount * VERTICES_PER_CHARACTER;
        geometry->UploadVertices(vertices);
        geometry->SetGroupDrawCount(0, vertices);
        renderer->SetProjection(m_projection);
        renderer->SetView(m_view);
        renderer->SetWorld(CMatrix());
        // Depth writes stay as the last draw list left them (off).
        shape->DrawOpaque();
    }
    m_characterCount = 0;
}

void InstallConsoleHook() { SetConsoleFactory(MakeConsole); }
