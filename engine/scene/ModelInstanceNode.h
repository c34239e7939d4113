#pragma once
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "engine/resource/Handle.h"
#include "engine/resource/ResourceKind.h"

class CTransform;

// One model to attach: the loaded resource's name and kind (the model's top
// transform, RT_TRANSFORM).
struct ModelRef {
    std::string name;
    int kind;
};

// A named object that shows loaded models in the scene: it owns a root
// transform "<local>_root<scope>" (under the default parent) and hangs a
// scoped copy of each attached model under it, so several instances of one
// model live side by side and are found by their scoped names. The root is
// held by handle: if its registry goes first, the instance holds nothing.
class CModelInstanceNode : public CConsoleObject {
public:
    CModelInstanceNode(const std::string& localName, const std::string& scope);
    CModelInstanceNode(const std::string& localName, const std::string& modelName, int kind, const std::string& scope);
    CModelInstanceNode(const std::string& localName, const std::vector<ModelRef>& models, const std::string& scope);
    ~CModelInstanceNode() override;

    // False when (name, kind) is not loaded; nothing is attached then.
    bool AttachModel(const std::string& name, int kind);

    // Null once the registry holding the root has been destroyed.
    CTransform* GetRoot() const;
    const std::string& GetScope() const { return m_scope; }

private:
    CHandle m_root;
    std::string m_scope;
};
