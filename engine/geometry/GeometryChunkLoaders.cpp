#include "engine/geometry/GeometryChunkLoaders.h"

#include <vector>

#include "engine/chunk/ChunkHandlers.h"
#include "engine/texture/d3d/TextureChunkLoader.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "engine/resource/ResourceManager.h"
#include "engine/shader/ShaderChunkLoader.h"
#include "engine/shader/ShaderTypes.h"

namespace {

// The record's vertices and index groups are copied out of the stream (they
// lie there at any alignment); the reader has checked every index against
// the vertex count.
void LoadGeometry(const GeometryRecord& record) {
    CIndexedGeometry* geometry =
        new CIndexedGeometry(record.name.c_str(), record.vertexFormat, record.vertexCount, record.vertices);
    std::vector<uint16_t> indices;
    for (const GeometryIndexGroup& group : record.groups) {
        indices.resize(size_t(group.indexCount));
        for (int i = 0; i < group.indexCount; ++i)
            indices[size_t(i)] = group.Index(i);
        geometry->AddGroup(group.primitiveType, group.indexCount, indices.data());
    }
    geometry->SetBoundingSphere(record.radius, record.centre[0], record.centre[1], record.centre[2]);
    geometry->SetDoubleSided(record.doubleSided != 0);
}

// A dynamic shader skins its geometry's vertices on the CPU: a pair whose
// geometry has another layout, bone indices past the shader's bones or a
// link table naming points past the vertices is refused.
bool PairFits(CShader* shader, CGeometry* geometry) {
    CShaderLambertDynamic* dynamic = dynamic_cast<CShaderLambertDynamic*>(shader);
    if (!dynamic)
        return true;
    CIndexedGeometry* indexed = dynamic_cast<CIndexedGeometry*>(geometry);
    return indexed && dynamic->Fits(*indexed);
}

void LoadShape(const ShapeRecord& record) {
    CShape* shape = new CShape(record.name.c_str());
    for (const ShapePair& pair : record.pairs) {
        CResourceManager* registry = CurrentResourceManager;
        CShader* shader =
            registry ? dynamic_cast<CShader*>(registry->Find(pair.shaderName.c_str(), RT_SHADER)) : nullptr;
        CGeometry* geometry =
            registry ? dynamic_cast<CGeometry*>(registry->Find(pair.geometryName.c_str(), RT_GEOMETRY)) : nullptr;
        if (!shader || !geometry) {
            ReportMissingResource();
            continue;
        }
        if (!PairFits(shader, geometry))
            continue;
        shape->AddPair(shader, geometry);
    }
}

} // namespace

void RegisterModelChunkHandlers() {
    SetChunkHandler(static_cast<GeometryHandler>(LoadGeometry));
    SetChunkHandler(static_cast<ShapeHandler>(LoadShape));
    RegisterShaderChunkHandler();
    RegisterTextureChunkHandler();
}
