#pragma once
#include "engine/resource/Handle.h"

class CItem;
class CTransform;

// The node the show draws for a good while it is on sale: taken into the
// show's layer when the show starts and given back to the parent it had in
// the room when the show ends, so that the good is found where it was.
// Clothes and the ending item have no such node.
class CShowDisplay {
public:
    CShowDisplay();

    // False (nothing moved) for clothes, the ending item, a node that is not
    // loaded or a missing layer. A node still held is given back first.
    bool Take(const CItem& item, CTransform* showLayer);
    // Back under its own parent, or under fallback when that has gone.
    void GiveBack(CTransform* fallback);

    CTransform* GetNode() const;
    bool IsHolding() const;

private:
    CHandle m_node;
    CHandle m_ownParent;
};
