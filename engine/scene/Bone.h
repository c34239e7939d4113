#pragma once
#include <string>

#include "engine/math/Matrix.h"
#include "engine/scene/Transform.h"

// A transform that skinned shaders address through the bone family, with the
// bind-pose offset matrix of its record.
class CBone : public CTransform {
public:
    explicit CBone(const char* name);
    ~CBone() override;

    CBone* Clone(const std::string& scope) override;

    const CMatrix& GetOffsetMatrix() const { return m_offset; }
    void SetOffsetMatrix(const CMatrix& offset) { m_offset = offset; }
    CHandle GetBoneHandle() const { return m_boneHandle; }

protected:
    CBone(const CBone& source, const std::string& scope);

private:
    CHandle m_boneHandle;
    CMatrix m_offset;
};

HandleTable<CBone>& BoneHandles();
