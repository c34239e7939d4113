#pragma once
#include "engine/resource/Handle.h"

class CNode;
class CTransform;

// Hangs a node under another parent for a while (to draw it elsewhere) and
// gives it back; the root takes it when the old parent has gone.
class CParentSwap {
public:
    CParentSwap(CNode* node, CTransform* newParent);
    void Restore();

private:
    CNode* m_node;
    CHandle m_oldParent;
};
