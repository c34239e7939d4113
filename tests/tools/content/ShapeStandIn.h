#pragma once
#include <string>

#include "engine/scene/Node.h"

// Stands in for the renderer's shape so that hierarchy leaves resolve.
class CShapeStandIn : public CNode {
public:
    explicit CShapeStandIn(const char* name) : CNode(name, RT_SHAPE) {}
    void Render() override {}
    CNode* Clone(const std::string&) override { return nullptr; }
};
