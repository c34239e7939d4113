#pragma once
#include <string>
#include <vector>

#include "engine/anim/ChangeStamp.h"
#include "engine/anim/Channel.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/math/Color.h"
#include "engine/resource/Resource.h"

class CTexture;
class CBone;

// How the geometry of a shape is drawn: the vertex program (per light-set
// kind) that transforms and lights it, its texture, material colour,
// translucency and blend factors, and for skinned meshes the bones whose
// palette deforms it. Nine types, one subclass each; the programs of a type
// exist while any shader of the type does. Shaders belong to their registry.
class CShader : public CResource, public CChangeStamp {
public:
    CShader(const char* name, int type);
    ~CShader() override;

    // The translucency channel for AA_TRANSLUCENT; the null handle otherwise.
    CHandle GetChannel(int attribute) override;
    // The channel's owner notification: an animation wrote the translucency.
    void Touch() override;

    // The type's program for the light-set kind (a kind without one gives
    // the null program), then texture stages 1-6 cleared.
    virtual void SetVertexShader(int lightSetKind);
    // Blend factors, stage-0 texture, colour to c78; the lit types also
    // hand their material ambient to the ambient light.
    virtual void Apply();
    // Called once for each queued shape that draws with this shader.
    virtual void UpdateSkin();
    // The shader a model instance draws with: stateless types answer
    // themselves, skinned types a copy bound to the scoped bones.
    virtual CShader* Instance(const std::string& scope);
    virtual bool IsTranslucent() const;

    void SetTexture(CTexture* texture);
    CTexture* GetTexture() const { return m_texture; }
    void SetColor(float r, float g, float b, float a);
    // Alpha from the translucency; an animated translucency marks it translucent.
    ColorRGBA GetColor();
    // Blend indices 0-10 (D3DBLEND value - 1); others are refused.
    void SetBlend(int sourceIndex, int destinationIndex);
    int GetSourceBlend() const { return m_sourceBlend; }
    int GetDestinationBlend() const { return m_destinationBlend; }
    float GetTranslucency() const { return m_translucency.m_value; }

    // The lit types only (a no-op for ST_CONSTANT).
    virtual void SetMaterialAmbient(const ColorRGBA& ambient) {}
    // The skinned types only; false for the others, and beyond 20 bones.
    virtual bool AddBone(CBone* bone) { return false; }

    int GetShaderType() const { return m_type; }
    CHandle GetShaderHandle() const { return m_shaderHandle; }

protected:
    ColorRGBA m_colour;
    CTexture* m_texture;
    bool m_textureTranslucent;
    bool m_colourTranslucent;
    bool m_translucencyAnimated;

private:
    int m_type;
    CHandle m_shaderHandle;
    int m_sourceBlend;
    int m_destinationBlend;
    CChannel m_translucency;
};

HandleTable<CShader>& ShaderHandles();

// A new shader of the stored type (0-8); null for any other value.
CShader* CreateShader(const char* name, int type);
// Live shaders of a type, for the program tables' reference count.
int GetShaderTypeReferenceCount(int type);
