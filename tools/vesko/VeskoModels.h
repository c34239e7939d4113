#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "tools/content/MeshBuilder.h"
#include "tools/content/SkeletonBuilder.h"

// Vesko's eleven model files of model archive 4 ("model/vesko/"): her rig
// with the body, face, hair, shadow and accessories (vesko.hgm), the
// long-sleeved body and the nine clothes. Everything is in model units
// (VeskoRig.h) except the shadow, which the program places in room units.
//
// Texture layout of the body (u round each part, 0.5 at the front; v down):
//   arms:  v = (4.50 - y) / 2 down to the wrist (0.86), hands 0.9 to 1;
//   torso: v = (4.50 - y) / 1.8 from the neck's base to the crotch;
//   legs:  v = (3.05 - y) * 0.296 down to the ankle (0.86), feet 0.9 to 1;
//   neck:  v = (4.95 - y) * 2;
//   face:  u = 0.5 + x / 1.04, v = (1.12 - y) / 1.2 in the head bone's space.

// One mesh of a file, drawn with one shader.
struct VeskoPart {
    std::string shape;    // the shape node it belongs to
    std::string shader;   // shader name
    std::string geometry; // geometry name
    bool doubleSided = false;
    CMeshBuilder mesh;
};

class CVeskoModelFile {
public:
    CVeskoModelFile(std::string path, std::string top);

    const std::string& Path() const { return m_path; }
    const std::string& Top() const { return m_top; }
    CSkeletonBuilder& Nodes() { return m_nodes; }
    const CSkeletonBuilder& Nodes() const { return m_nodes; }

    // A texture record named as its file (or `name`), linear, wrapping.
    void Texture(const std::string& file, const std::string& name = "", bool animated = false);
    // A skinned shader over `bones`, or a rigid lambert one (no bones).
    ShaderRecord& Shader(const std::string& name, int type, const std::string& texture, const float colour[4],
                         const std::vector<std::string>& bones = {});
    // The mesh of shader `shader` in the shape hung under `node` (made on
    // first use; the shape is named node + "Shape").
    VeskoPart& Part(const std::string& node, const std::string& shader, bool doubleSided = false);

    const std::vector<TextureRecord>& Textures() const { return m_textures; }
    const std::vector<ShaderRecord>& Shaders() const { return m_shaders; }
    const std::vector<std::unique_ptr<VeskoPart>>& Parts() const { return m_parts; }
    const ShaderRecord* FindShader(const std::string& name) const;

    // The chunk stream: textures, nodes, shaders, geometry, shapes and the
    // hierarchy. False with a message when a mesh or record is refused.
    bool Write(std::vector<uint8_t>& bytes, std::string& error);

private:
    std::string m_path, m_top;
    CSkeletonBuilder m_nodes;
    std::vector<TextureRecord> m_textures;
    std::vector<ShaderRecord> m_shaders;
    std::vector<std::unique_ptr<VeskoPart>> m_parts;
    std::vector<std::string> m_shapes;
};

// The rig as a skeleton (the rest pose every mesh is bound in).
bool BuildVeskoSkeleton(CSkeletonBuilder& skeleton);

// The eleven files in the order of the archive's directory. False with a
// message when something cannot be built.
bool BuildVeskoModels(std::vector<std::unique_ptr<CVeskoModelFile>>& files, std::string& error);

// Folder of her files in the archives (model path prefix 4).
constexpr const char* VESKO_ENTRY_FOLDER = "model/vesko/";
