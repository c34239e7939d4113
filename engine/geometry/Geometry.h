#pragma once
#include <cstdint>
#include <vector>

#include "engine/resource/Handle.h"
#include "engine/resource/Resource.h"

struct IDirect3DVertexBuffer8;
struct IDirect3DIndexBuffer8;
struct Vec3;

// Vertex and index data of a mesh in Direct3D 8 buffers, drawn by shapes.
// Geometry belongs to the registry it was made in and is shared by every
// instance of its model; the device buffers are rebuilt from kept copies
// after a device reset.
class CGeometry : public CResource {
public:
    CGeometry(const char* name, uint32_t vertexMask);
    ~CGeometry() override;

    virtual void Draw() = 0;
    // Geometry is shared by all instances of a model: this answers itself.
    virtual CGeometry* Instance(const char* scope);

    uint32_t GetVertexMask() const { return m_vertexMask; }
    int GetGeometryType() const { return m_geometryType; }
    CHandle GetGeometryHandle() const { return m_geometryHandle; }

    // Radius -1: no bounds (the value at creation).
    void SetBoundingSphere(float radius, float x, float y, float z);
    float GetBoundingRadius() const { return m_radius; }
    const float* GetBoundingCentre() const { return m_centre; }

    bool IsDoubleSided() const { return m_doubleSided; }
    void SetDoubleSided(bool doubleSided) { m_doubleSided = doubleSided; }
    bool IsTranslucent() const { return m_translucent; }
    void SetTranslucent(bool translucent) { m_translucent = translucent; }

private:
    uint32_t m_vertexMask;
    int m_geometryType;
    CHandle m_geometryHandle;
    float m_radius;
    float m_centre[3];
    bool m_doubleSided;
    bool m_translucent;
};

HandleTable<CGeometry>& GeometryHandles();

// Indexed triangle geometry: a bind-pose and a working copy of the vertices
// (skinning reads the first and writes the second), a dynamic vertex buffer
// filled from the working copy, and index groups each with its own buffer.
class CIndexedGeometry : public CGeometry {
public:
    CIndexedGeometry(const char* name, uint32_t vertexMask, int vertexCount, const void* vertexData);
    ~CIndexedGeometry() override;

    // Appends a group (draw count = index count) and fills its index buffer.
    void AddGroup(int primitiveType, int indexCount, const uint16_t* indices);
    // Clamped to the group's index count.
    void SetGroupDrawCount(int group, int count);
    int GetGroupCount() const;
    int GetGroupDrawCount(int group) const;
    // A count above 0 becomes the upload count (at most the vertex count);
    // then the working copy's first upload-count vertices go to the vertex
    // buffer.
    void UploadVertices(int count);

    void Draw() override;
    void RestoreDeviceObjects() override;
    void ReleaseDeviceObjects() override;

    uint8_t* GetWorkingVertices() { return m_working.data(); }
    const uint8_t* GetSourceVertices() const { return m_source.data(); }
    int GetVertexSize() const { return m_vertexSize; }
    int GetVertexCount() const { return m_vertexCount; }
    int GetUploadCount() const { return m_uploadCount; }

private:
    struct Group {
        int indexCount;
        int drawCount;
        int primitiveType;
        std::vector<uint16_t> indices;
        // False when an index lies past the vertices: never drawn.
        bool valid;
        IDirect3DIndexBuffer8* buffer;
    };
    void CreateVertexBuffer();
    void FillIndexBuffer(Group& group);

    int m_vertexSize;
    int m_vertexCount;
    std::vector<uint8_t> m_source;
    std::vector<uint8_t> m_working;
    int m_uploadCount;
    IDirect3DVertexBuffer8* m_vertexBuffer;
    std::vector<Group> m_groups;
};

// The geometry a shape makes current before it calls a shader's skin update,
// so that the dynamic shaders know which vertices to skin. Null outside it.
void SetCurrentGeometry(CGeometry* geometry);
CGeometry* GetCurrentGeometry();
