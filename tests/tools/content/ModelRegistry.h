#pragma once
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"

// A registry of a test's own to walk generated model streams into, as the
// program's one registry would take them: OpenRegistry makes it current with
// a root transform as the loading parent, clears the chunk handlers and
// registers the scene loaders; CloseRegistry clears the handlers and the
// missing-resource handler and puts the previous registry back.
class ModelRegistry {
protected:
    void OpenRegistry() {
        m_saved = CurrentResourceManager;
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        root = CreateRootTransform();
        SetDefaultParent(root);
        ClearChunkHandlers();
        RegisterSceneChunkHandlers();
        m_open = true;
    }
    void CloseRegistry() {
        ClearChunkHandlers();
        SetMissingResourceHandler(nullptr);
        SetDefaultParent(nullptr);
        if (m_open)
            CurrentResourceManager = m_saved;
        m_open = false;
    }

    CResourceManager registry;
    CTransform* root = nullptr;

private:
    CResourceManager* m_saved = nullptr;
    bool m_open = false;
};

// What a test's chunk handlers kept of the records walked, and how many
// names the registry could not resolve.
struct ModelReadBack {
    std::vector<GeometryRecord> geometries;
    std::vector<ShaderRecord> shaders;
    std::vector<ShapeRecord> shapes;
    std::vector<TextureRecord> textures;
    int missing = 0;
};
