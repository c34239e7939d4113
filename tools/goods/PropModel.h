#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "tools/content/MeshBuilder.h"

// One model file of props: textures, plain (unskinned) materials and a tree
// of transforms, each with meshes per material. Written in the order the
// loaders need: textures, shaders, geometry, shapes, transforms, then one
// hierarchy record for the top node. Geometry and shape names follow their
// node's name, so names unique per node stay unique per file and kind.
class CPropModel {
public:
    // The material ambient share: faces turned from the lamp stay readable.
    static constexpr float MATERIAL_AMBIENT = 0.18f;

    void Texture(const std::string& name, const std::string& file, int addressMode = 0);
    void Shader(const std::string& name, const std::string& texture, float r, float g, float b, float a = 1.0f,
                int type = 1 /* ST_LAMBERT */);

    // A transform under `parent` (-1 for the top); answers its index.
    int Node(const std::string& name, int parent, MeshPoint translation = {0, 0, 0}, MeshPoint rotation = {0, 0, 0},
             bool visible = true);
    // The mesh of `node` drawn with `shader`.
    CMeshBuilder& Mesh(int node, const std::string& shader, bool doubleSided = false);

    int Find(const std::string& name) const;
    const std::string& NodeName(int node) const { return m_nodes[size_t(node)]->name; }

    // False, with a message, when a mesh cannot be built or the writer refused
    // a record.
    bool Write(std::vector<uint8_t>& bytes, std::string& error) const;

private:
    struct Pair {
        std::string shader;
        std::string geometry;
        bool doubleSided;
        CMeshBuilder mesh;
    };
    struct PropNode {
        std::string name;
        int parent;
        MeshPoint translation, rotation;
        bool visible;
        std::vector<std::unique_ptr<Pair>> pairs;
    };
    static std::string ShapeName(const PropNode& node) { return node.name + "Shape"; }
    void AppendTree(int index, int parentInRecord, HierarchyRecord& out) const;

    std::vector<TextureRecord> m_textures;
    std::vector<ShaderRecord> m_shaders;
    std::map<std::string, int> m_shaderTypes;
    std::vector<std::unique_ptr<PropNode>> m_nodes;
};
