#include "engine/scene/Node.h"

#include "engine/resource/ResourceKind.h"
#include "engine/scene/Transform.h"

HandleTable<CNode>& NodeHandles() {
    static HandleTable<CNode> table;
    return table;
}

CNode::CNode(const char* name, int kind) : CResource(name, kind), m_renderHook(nullptr) {
    m_nodeHandle = NodeHandles().Register(this);
}

CNode::CNode(const CNode& source, const std::string& scope)
    : CResource((source.GetName() + scope).c_str(), source.GetKind()),
      m_renderHook(source.m_renderHook) {
    m_nodeHandle = NodeHandles().Register(this);
    if (CTransform* parent = source.GetParent())
        parent->AddChild(this);
}

CNode::~CNode() {
    if (CTransform* parent = GetParent())
        parent->RemoveChild(this);
    NodeHandles().Release(m_nodeHandle.index);
}

CTransform* CNode::GetParent() const { return TransformHandles().Resolve(m_parent); }

bool CNode::SetParent(CTransform* parent) { return parent && parent->AddChild(this); }

void CNode::RenderTree() {
    if (m_renderHook)
        m_renderHook->OnPreRender(*this);
    Render();
}

void CNode::Print(std::ostream& out, int depth) {
    for (int i = 0; i < depth; ++i)
        out << "  ";
    out << GetName() << "[" << ResourceKindName(GetKind()) << "]\n";
}

void CNode::SetLightSet(CHandle lightSet) {}

bool CNode::GetBoundingSphere(Vec3& centre, float& radius) const { return false; }
