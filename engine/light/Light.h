#pragma once
#include <string>

#include "engine/chunk/ChunkEnums.h"
#include "engine/math/Color.h"
#include "engine/resource/Handle.h"
#include "engine/scene/Node.h"

// A light uploaded as vertex shader constants for each drawn pair. The
// ambient light has no place; directional and point lights are scene nodes
// that take their direction or position from the transform they hang under.
// Owned by whoever makes them (the render manager); deleting a node light
// deletes the whole light.
class CLightObject {
public:
    explicit CLightObject(int lightType);
    virtual ~CLightObject();

    // slot -1 for the ambient light, 0-2 for the others.
    virtual void Upload(int slot) = 0;

    int GetLightType() const { return m_lightType; }
    ColorRGBA& Color() { return m_colour; }
    const ColorRGBA& Color() const { return m_colour; }
    void SetColor(const ColorRGBA& colour) { m_colour = colour; }
    CHandle GetLightHandle() const { return m_lightHandle; }

    CLightObject(const CLightObject&) = delete;
    CLightObject& operator=(const CLightObject&) = delete;

private:
    int m_lightType;
    ColorRGBA m_colour;
    CHandle m_lightHandle;
};

HandleTable<CLightObject>& LightHandles();

// c80 = colour + material ambient; then the material ambient is cleared.
class CAmbientLight : public CLightObject {
public:
    CAmbientLight();
    void Upload(int slot) override;
};

class CDirectionalLight : public CLightObject, public CNode {
public:
    explicit CDirectionalLight(const char* name);
    void Upload(int slot) override;
    void Render() override {}
    CNode* Clone(const std::string& scope) override { return nullptr; }
};

class CPointLight : public CLightObject, public CNode {
public:
    explicit CPointLight(const char* name);
    void Upload(int slot) override;
    void Render() override {}
    CNode* Clone(const std::string& scope) override { return nullptr; }
};
