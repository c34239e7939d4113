#pragma once
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "engine/math/Matrix.h"
#include "engine/shader/Shader.h"
#include "engine/spring/DynamicSkin.h"

struct IDirect3DDevice8;
class CIndexedGeometry;

// The nine shader types. CShaderConstant draws unlit; every other type is a
// CShaderLambert, lit by the light set and adding its material ambient to
// the ambient light. The skinned types list up to 20 bones whose palette
// deforms the mesh: types 2-4 in the vertex program, the dynamic types on
// the CPU with springs on the dynamics bone.

// The current renderer's device, or null.
IDirect3DDevice8* ShaderDevice();

class CShaderConstant : public CShader {
public:
    explicit CShaderConstant(const char* name) : CShader(name, ST_CONSTANT) {}
};

class CShaderLambert : public CShader {
public:
    explicit CShaderLambert(const char* name) : CShaderLambert(name, ST_LAMBERT) {}

    // Also hands the material ambient to the ambient light's next upload.
    void Apply() override;
    void SetMaterialAmbient(const ColorRGBA& ambient) override { m_materialAmbient = ambient; }
    const ColorRGBA& GetMaterialAmbient() const { return m_materialAmbient; }

protected:
    CShaderLambert(const char* name, int type) : CShader(name, type) {}

    ColorRGBA m_materialAmbient{0.8f, 0.8f, 0.8f, 0.0f};
};

// Lit colour times the vertex colour.
class CShaderLambertVB : public CShaderLambert {
public:
    explicit CShaderLambertVB(const char* name) : CShaderLambert(name, ST_LAMBERT_VB) {}
};

// The bones of a skinned type, in palette order. An entry whose bone is
// missing or gone keeps its place (the vertices address the palette by
// position) and stands for the identity.
class CShaderSkinned : public CShaderLambert {
public:
    static constexpr int MAX_BONES = SHADER_PALETTE_LIMIT;

    // A null bone keeps an empty entry; the 21st bone is refused.
    bool AddBone(CBone* bone) override;
    int GetBoneCount() const { return (int)m_bones.size(); }
    CHandle GetBoneHandle(int i) const { return m_bones[i]; }
    // Resolved; null when missing or gone.
    CBone* GetBone(int i) const;

    // A copy of the same type named name + scope, bound to the bones named
    // bone name + scope.
    CShader* Instance(const std::string& scope) override;

protected:
    CShaderSkinned(const char* name, int type) : CShaderLambert(name, type) {}
    // Bone offset × bone world for every entry.
    void BoneMatrices(std::vector<CMatrix>& out) const;
    // What a dynamic type copies on top of the skinned fields.
    virtual void CopyExtraInto(CShaderSkinned& copy) const {}

    std::vector<CHandle> m_bones;
};

// Types 2-4: the palette is built while queueing and uploaded to c12 on.
class CShaderLambertWS : public CShaderSkinned {
public:
    // Lambert's Apply, then the palette from the draw list's cursor.
    void Apply() override;
    // Pushes offset × world × camera view, transposed, per bone.
    void UpdateSkin() override;

protected:
    using CShaderSkinned::CShaderSkinned;
};

class CShaderLambert2WS : public CShaderLambertWS {
public:
    explicit CShaderLambert2WS(const char* name) : CShaderLambertWS(name, ST_LAMBERT_2WS) {}
};
class CShaderLambert3WS : public CShaderLambertWS {
public:
    explicit CShaderLambert3WS(const char* name) : CShaderLambertWS(name, ST_LAMBERT_3WS) {}
};
class CShaderLambert4WS : public CShaderLambertWS {
public:
    explicit CShaderLambert4WS(const char* name) : CShaderLambertWS(name, ST_LAMBERT_4WS) {}
};

// Types 6-8: skinned on the CPU into the current geometry's working vertices
// with springs on the dynamics bone, then uploaded.
class CShaderLambertDynamic : public CShaderSkinned {
public:
    void UpdateSkin() override;

    CDynamicSkin& GetSkin() { return m_skin; }
    const CDynamicSkin& GetSkin() const { return m_skin; }
    // True when the geometry has this type's vertex layout and its vertices
    // and the link table stay within it and within the bones.
    bool Fits(const CIndexedGeometry& geometry) const;

protected:
    CShaderLambertDynamic(const char* name, int type, int weights) : CShaderSkinned(name, type), m_skin(weights) {}
    void CopyExtraInto(CShaderSkinned& copy) const override;

private:
    CDynamicSkin m_skin;
};

class CShaderLambert2WSDy : public CShaderLambertDynamic {
public:
    explicit CShaderLambert2WSDy(const char* name) : CShaderLambertDynamic(name, ST_LAMBERT_2WS_DY, 2) {}
};
class CShaderLambert3WSDy : public CShaderLambertDynamic {
public:
    explicit CShaderLambert3WSDy(const char* name) : CShaderLambertDynamic(name, ST_LAMBERT_3WS_DY, 3) {}
};
class CShaderLambert4WSDy : public CShaderLambertDynamic {
public:
    explicit CShaderLambert4WSDy(const char* name) : CShaderLambertDynamic(name, ST_LAMBERT_4WS_DY, 4) {}
};
