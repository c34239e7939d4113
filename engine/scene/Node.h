#pragma once
#include <ostream>
#include <string>

#include "engine/resource/Handle.h"
#include "engine/resource/Resource.h"

struct Vec3;
class CNode;
class CTransform;

// Called just before a node is drawn (not owned by the node).
class CRenderHook {
public:
    virtual ~CRenderHook() = default;
    virtual void OnPreRender(CNode& node) = 0;
};

// Base of everything that hangs in the scene tree. A node knows its parent by
// transform handle; the parent's child list holds node handles. Nodes are
// resources owned by their registry (or by whoever made them outside one).
class CNode : public CResource {
public:
    CNode(const char* name, int kind);
    // The start of every clone: named source name + scope, same kind and hook,
    // attached under the source's parent when that still resolves.
    CNode(const CNode& source, const std::string& scope);
    ~CNode() override;

    // Draws or queues this node itself. Transforms draw nothing; shapes and
    // cameras fill this in with the renderer.
    virtual void Render() = 0;
    virtual void RenderTree();
    virtual CNode* Clone(const std::string& scope) = 0;
    virtual void Print(std::ostream& out, int depth);

    // Device-free seams for the node kinds the renderer brings: a shape stores
    // the light set it is lit with and answers its geometry's bounding sphere
    // (false: no sphere to give).
    virtual void SetLightSet(CHandle lightSet);
    virtual bool GetBoundingSphere(Vec3& centre, float& radius) const;

    // parent->AddChild(this); false when refused (see CTransform::AddChild).
    bool SetParent(CTransform* parent);

    CHandle GetNodeHandle() const { return m_nodeHandle; }
    CHandle GetParentHandle() const { return m_parent; }
    CTransform* GetParent() const;
    CRenderHook* GetRenderHook() const { return m_renderHook; }
    void SetRenderHook(CRenderHook* hook) { m_renderHook = hook; }

    // Used by CTransform when it links and unlinks children.
    void SetParentHandle(CHandle parent) { m_parent = parent; }

private:
    CHandle m_nodeHandle;
    CHandle m_parent;
    CRenderHook* m_renderHook;
};

HandleTable<CNode>& NodeHandles();
