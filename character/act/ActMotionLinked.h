#pragma once
#include "character/act/ActMotion.h"
#include "character/act/BoneChainNode.h"

class CNode;

// A motion that hangs a prop node under another node, either as it starts or,
// with attach-at-end set, as it ends.
class CActMotionLinked : public CActMotion {
public:
    CActMotionLinked(const std::string& name, CBoneChainNode* owner, const std::string& setName,
                     const std::string& scope, const NodeRef& parent, const NodeRef& moved, unsigned char attachAtEnd);

    bool Start(const std::vector<std::string>& words) override;
    void End() override;

    bool GetAttachAtEnd() const { return m_attachAtEnd != 0; }
    CNode* GetParentNode() const { return m_parentNode; }
    CNode* GetMovedNode() const { return m_movedNode; }

private:
    void Relink();

    unsigned char m_attachAtEnd;
    CNode* m_parentNode;
    CNode* m_movedNode;
};
