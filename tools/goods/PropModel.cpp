#include "tools/goods/PropModel.h"

#include "engine/chunk/ChunkEnums.h"
#include "engine/resource/ResourceKind.h"
#include "tools/chunkwriter/ChunkWriter.h"

void CPropModel::Texture(const std::string& name, const std::string& file, int addressMode) {
    TextureRecord t;
    t.name = name;
    t.fileName = file;
    t.magFilter = TFM_LINEAR;
    t.minFilter = TFM_LINEAR;
    t.mipFilter = TFM_NONE;
    t.addressU = addressMode;
    t.addressV = addressMode;
    m_textures.push_back(t);
}

void CPropModel::Shader(const std::string& name, const std::string& texture, float r, float g, float b, float a,
                        int type) {
    ShaderRecord s;
    s.name = name;
    s.shaderType = type;
    s.textureName = texture.empty() ? NO_TEXTURE_NAME : texture;
    const float colour[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i) {
        s.colour[i] = colour[i];
        s.ambient[i] = i < 3 ? MATERIAL_AMBIENT * colour[i] : 1.0f;
    }
    m_shaders.push_back(s);
    m_shaderTypes[name] = type;
}

int CPropModel::Node(const std::string& name, int parent, MeshPoint translation, MeshPoint rotation, bool visible) {
    auto node = std::make_unique<PropNode>();
    node->name = name;
    node->parent = parent;
    node->translation = translation;
    node->rotation = rotation;
    node->visible = visible;
    m_nodes.push_back(std::move(node));
    return int(m_nodes.size()) - 1;
}

int CPropModel::Find(const std::string& name) const {
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i]->name == name)
            return int(i);
    return -1;
}

CMeshBuilder& CPropModel::Mesh(int node, const std::string& shader, bool doubleSided) {
    PropNode& n = *m_nodes[size_t(node)];
    for (auto& p : n.pairs)
        if (p->shader == shader && p->doubleSided == doubleSided)
            return p->mesh;
    auto pair = std::make_unique<Pair>();
    pair->shader = shader;
    pair->geometry = n.name + "_g" + std::to_string(n.pairs.size());
    pair->doubleSided = doubleSided;
    n.pairs.push_back(std::move(pair));
    return n.pairs.back()->mesh;
}

void CPropModel::AppendTree(int index, int parent, HierarchyRecord& out) const {
    const PropNode& node = *m_nodes[size_t(index)];
    int at = int(out.nodes.size());
    out.nodes.push_back({node.name, RT_TRANSFORM, 0, parent});
    if (!node.pairs.empty()) {
        out.nodes.push_back({ShapeName(node), RT_SHAPE, 0, at});
        ++out.nodes[size_t(at)].childCount;
    }
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i]->parent == index) {
            ++out.nodes[size_t(at)].childCount;
            AppendTree(int(i), at, out);
        }
}

bool CPropModel::Write(std::vector<uint8_t>& bytes, std::string& error) const {
    CChunkWriter writer;
    for (const TextureRecord& t : m_textures)
        writer.Write(t);
    for (const ShaderRecord& s : m_shaders)
        writer.Write(s);
    std::vector<std::unique_ptr<BuiltGeometry>> built;
    for (const auto& node : m_nodes)
        for (const auto& pair : node->pairs) {
            auto type = m_shaderTypes.find(pair->shader);
            if (type == m_shaderTypes.end()) {
                error = "no material " + pair->shader + " for " + node->name;
                return false;
            }
            built.push_back(std::make_unique<BuiltGeometry>());
            if (!BuildGeometry(pair->mesh, pair->geometry, ShaderVertexMask(type->second), pair->doubleSided,
                               *built.back())) {
                error = "cannot build geometry " + pair->geometry;
                return false;
            }
            writer.Write(built.back()->record);
        }
    for (const auto& node : m_nodes) {
        if (node->pairs.empty())
            continue;
        ShapeRecord shape;
        shape.name = ShapeName(*node);
        for (const auto& pair : node->pairs)
            shape.pairs.push_back({pair->shader, pair->geometry});
        writer.Write(shape);
    }
    for (const auto& node : m_nodes) {
        TransformRecord t;
        t.name = node->name;
        t.visible = node->visible ? 1 : 0;
        const MeshPoint* v[2] = {&node->translation, &node->rotation};
        float* out[2] = {t.translation, t.rotation};
        for (int k = 0; k < 2; ++k) {
            out[k][0] = v[k]->x;
            out[k][1] = v[k]->y;
            out[k][2] = v[k]->z;
        }
        writer.Write(t);
    }
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i]->parent < 0) {
            HierarchyRecord hierarchy;
            AppendTree(int(i), -1, hierarchy);
            writer.Write(hierarchy);
        }
    return writer.TakeBytes(bytes, error);
}
