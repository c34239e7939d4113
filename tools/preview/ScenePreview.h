#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "engine/math/Matrix.h"
#include "tools/content/TexturePainter.h"

// A software view of generated models, to look at them (and keep pictures of
// them in tests) without the renderer. It reads the models' chunk streams
// into one tree of named nodes, as the engine's one registry would, lights
// them like the room (the lamp at (0, 300, 0) and an ambient share), skins
// skinned geometry by its shader's bones, and draws with a depth buffer.
// Hidden nodes hide their subtree.

struct PreviewPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // rows top first
};

struct PreviewCamera {
    float eye[3] = {950, 460, 850};
    float target[3] = {0, 0, 0};
    float fovY = 0.314f;
};

class CScenePreview {
public:
    CScenePreview();
    ~CScenePreview();
    CScenePreview(const CScenePreview&) = delete;
    CScenePreview& operator=(const CScenePreview&) = delete;

    // Reads a model's records. False, with a message, for a broken chunk or a
    // record the engine would refuse; names a record refers to must already
    // be read (as in the registry).
    bool AddModel(const std::vector<uint8_t>& bytes, std::string& error);
    // The picture a texture record's file name stands for.
    void AddImage(const std::string& fileName, const CPaintImage* image);

    // Node channel values (the transform channel order: translation x y z,
    // rotation x y z, scale x y z, visibility); false for an unknown node.
    bool SetChannel(const std::string& node, int channel, float value);
    bool GetChannel(const std::string& node, int channel, float& value) const;
    bool HasNode(const std::string& node) const;
    // The world position of a node's origin.
    bool WorldPosition(const std::string& node, float out[3]) const;
    // The sphere round every drawn vertex below a node, in world space.
    bool Bounds(const std::string& node, float centre[3], float& radius) const;

    void SetBackground(float r, float g, float b) { m_background[0] = r, m_background[1] = g, m_background[2] = b; }
    // Draws everything, or only what lies below `only` when it is given.
    PreviewPicture Render(const PreviewCamera& camera, int width, int height, const std::string& only = "") const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
    float m_background[3] = {0.1f, 0.1f, 0.12f};
};
