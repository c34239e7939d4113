#include "engine/scene/Bone.h"

HandleTable<CBone>& BoneHandles() {
    static HandleTable<CBone> table;
    return table;
}

CBone::CBone(const char* name) : CTransform(name, RT_BONE) { m_boneHandle = BoneHandles().Register(this); }

CBone::CBone(const CBone& source, const std::string& scope) : CTransform(source, scope), m_offset(source.m_offset) {
    m_boneHandle = BoneHandles().Register(this);
}

CBone::~CBone() { BoneHandles().Release(m_boneHandle.index); }

CBone* CBone::Clone(const std::string& scope) {
    CBone* clone = new CBone(*this, scope);
    clone->CloneChildren(*this, scope);
    return clone;
}
