#include "engine/geometry/Geometry.h"

#include <windows.h>
#include <d3d8.h>

#include <algorithm>
#include <cstring>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/VertexSize.h"
#include "engine/render/Renderer.h"

namespace {

CGeometry* g_currentGeometry = nullptr;

constexpr DWORD BUFFER_USAGE = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;

IDirect3DDevice8* GeometryDevice() {
    CRenderer* renderer = CRenderer::Current();
    return renderer ? renderer->GetDevice() : nullptr;
}

// Triangles a group of n indices draws; 0 for a count its primitive cannot
// draw (a list not a multiple of three, a strip under three, any fan).
UINT PrimitiveCount(int primitiveType, int n) {
    switch (primitiveType) {
    case PT_TRIANGLE_LIST: return n >= 3 && n % 3 == 0 ? UINT(n / 3) : 0;
    case PT_TRIANGLE_STRIP: return n >= 3 ? UINT(n - 2) : 0;
    default: return 0;
    }
}

D3DPRIMITIVETYPE D3dPrimitive(int primitiveType) {
    return primitiveType == PT_TRIANGLE_STRIP ? D3DPT_TRIANGLESTRIP : D3DPT_TRIANGLELIST;
}

template <class T>
void ReleaseBuffer(T*& buffer) {
    if (buffer) {
        buffer->Release();
        buffer = nullptr;
    }
}

} // namespace

HandleTable<CGeometry>& GeometryHandles() {
    static HandleTable<CGeometry> table;
    return table;
}

void SetCurrentGeometry(CGeometry* geometry) { g_currentGeometry = geometry; }
CGeometry* GetCurrentGeometry() { return g_currentGeometry; }

CGeometry::CGeometry(const char* name, uint32_t vertexMask)
    : CResource(name, RT_GEOMETRY),
      m_vertexMask(vertexMask),
      m_geometryType(GT_INDEXED),
      m_radius(-1.0f),
      m_centre{0.0f, 0.0f, 0.0f},
      m_doubleSided(true),
      m_translucent(false) {
    m_geometryHandle = GeometryHandles().Register(this);
}

CGeometry::~CGeometry() {
    if (g_currentGeometry == this)
        g_currentGeometry = nullptr;
    GeometryHandles().Release(m_geometryHandle.index);
}

CGeometry* CGeometry::Instance(const char*) { return this; }

void CGeometry::SetBoundingSphere(float radius, float x, float y, float z) {
    m_radius = radius;
    m_centre[0] = x;
    m_centre[1] = y;
    m_centre[2] = z;
}

CIndexedGeometry::CIndexedGeometry(const char* name, uint32_t vertexMask, int vertexCount, const void* vertexData)
    : CGeometry(name, vertexMask),
      m_vertexSize(::GetVertexSize(vertexMask)),
      m_vertexCount(vertexCount > 0 ? vertexCount : 0),
      m_uploadCount(0),
      m_vertexBuffer(nullptr) {
    const size_t bytes = size_t(m_vertexSize) * size_t(m_vertexCount);
    m_source.assign(bytes, 0);
    if (vertexData && bytes)
        std::memcpy(m_source.data(), vertexData, bytes);
    m_working = m_source;
    m_uploadCount = m_vertexCount;
    CreateVertexBuffer();
}

CIndexedGeometry::~CIndexedGeometry() { CIndexedGeometry::ReleaseDeviceObjects(); }

void CIndexedGeometry::CreateVertexBuffer() {
    ReleaseBuffer(m_vertexBuffer);
    IDirect3DDevice8* device = GeometryDevice();
    const UINT bytes = UINT(m_vertexSize) * UINT(m_vertexCount);
    if (!device || bytes == 0)
        return;
    IDirect3DVertexBuffer8* buffer = nullptr;
    if (FAILED(device->CreateVertexBuffer(bytes, BUFFER_USAGE, 0, D3DPOOL_DEFAULT, &buffer)))
        buffer = nullptr;
    m_vertexBuffer = buffer;
    UploadVertices(0);
}

void CIndexedGeometry::UploadVertices(int count) {
    // Never more than the working copy holds; a count below 1 keeps the last.
    if (count > 0)
        m_uploadCount = std::min(count, m_vertexCount);
    if (!m_vertexBuffer || m_uploadCount <= 0)
        return;
    const UINT bytes = UINT(m_uploadCount) * UINT(m_vertexSize);
    BYTE* data = nullptr;
    if (FAILED(m_vertexBuffer->Lock(0, bytes, &data, D3DLOCK_DISCARD)) || !data)
        return;
    std::memcpy(data, m_working.data(), bytes);
    m_vertexBuffer->Unlock();
}

void CIndexedGeometry::FillIndexBuffer(Group& group) {
    ReleaseBuffer(group.buffer);
    IDirect3DDevice8* device = GeometryDevice();
    const UINT bytes = UINT(group.indices.size()) * 2;
    if (!device || bytes == 0)
        return;
    IDirect3DIndexBuffer8* buffer = nullptr;
    if (FAILED(device->CreateIndexBuffer(bytes, BUFFER_USAGE, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &buffer)) || !buffer)
        return;
    BYTE* data = nullptr;
    if (SUCCEEDED(buffer->Lock(0, bytes, &data, D3DLOCK_DISCARD)) && data) {
        std::memcpy(data, group.indices.data(), bytes);
        buffer->Unlock();
    }
    group.buffer = buffer;
}

void CIndexedGeometry::AddGroup(int primitiveType, int indexCount, const uint16_t* indices) {
    Group group;
    group.indexCount = indexCount > 0 && indices ? indexCount : 0;
    group.drawCount = group.indexCount;
    group.primitiveType = primitiveType;
    group.indices.assign(indices, indices + group.indexCount);
    // An index past the vertices would have the device read beside them:
    // such a group keeps its place but never draws.
    group.valid = std::all_of(group.indices.begin(), group.indices.end(),
                              [this](uint16_t index) { return int(index) < m_vertexCount; });
    group.buffer = nullptr;
    m_groups.push_back(std::move(group));
    FillIndexBuffer(m_groups.back());
}

void CIndexedGeometry::SetGroupDrawCount(int group, int count) {
    if (group < 0 || group >= (int)m_groups.size())
        return;
    Group& g = m_groups[group];
    g.drawCount = std::min(std::max(count, 0), g.indexCount);
}

int CIndexedGeometry::GetGroupCount() const { return (int)m_groups.size(); }

int CIndexedGeometry::GetGroupDrawCount(int group) const {
    return group >= 0 && group < (int)m_groups.size() ? m_groups[group].drawCount : 0;
}

void CIndexedGeometry::Draw() {
    IDirect3DDevice8* device = GeometryDevice();
    if (!device || !m_vertexBuffer || m_uploadCount <= 0)
        return;
    device->SetRenderState(D3DRS_CULLMODE, IsDoubleSided() ? D3DCULL_NONE : D3DCULL_CW);
    device->SetStreamSource(0, m_vertexBuffer, UINT(m_vertexSize));
    for (const Group& group : m_groups) {
        UINT primitives = PrimitiveCount(group.primitiveType, group.drawCount);
        if (!group.buffer || !group.valid || primitives == 0)
            continue;
        device->SetIndices(group.buffer, 0);
        device->DrawIndexedPrimitive(D3dPrimitive(group.primitiveType), 0, UINT(m_uploadCount), 0, primitives);
    }
}

void CIndexedGeometry::RestoreDeviceObjects() {
    CreateVertexBuffer();
    for (Group& group : m_groups)
        FillIndexBuffer(group);
}

void CIndexedGeometry::ReleaseDeviceObjects() {
    ReleaseBuffer(m_vertexBuffer);
    for (Group& group : m_groups)
        ReleaseBuffer(group.buffer);
}
