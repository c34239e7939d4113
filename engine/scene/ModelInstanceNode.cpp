#include "engine/scene/ModelInstanceNode.h"

#include "engine/resource/ResourceManager.h"
#include "engine/scene/Node.h"
#include "engine/scene/Transform.h"

CModelInstanceNode::CModelInstanceNode(const std::string& localName, const std::string& scope)
    : CConsoleObject(localName + scope),
      m_scope(scope) {
    CTransform* root = new CTransform((localName + "_root" + scope).c_str(), RT_TRANSFORM);
    m_root = root->GetTransformHandle();
}

CModelInstanceNode::CModelInstanceNode(const std::string& localName, const std::string& modelName, int kind,
                                       const std::string& scope)
    : CModelInstanceNode(localName, scope) {
    AttachModel(modelName, kind);
}

CModelInstanceNode::CModelInstanceNode(const std::string& localName, const std::vector<ModelRef>& models,
                                       const std::string& scope)
    : CModelInstanceNode(localName, scope) {
    for (const ModelRef& model : models)
        AttachModel(model.name, model.kind);
}

CModelInstanceNode::~CModelInstanceNode() { delete GetRoot(); }

CTransform* CModelInstanceNode::GetRoot() const { return TransformHandles().Resolve(m_root); }

bool CModelInstanceNode::AttachModel(const std::string& name, int kind) {
    CTransform* root = GetRoot();
    if (!root || !CurrentResourceManager)
        return false;
    CNode* model = dynamic_cast<CNode*>(CurrentResourceManager->Find(name.c_str(), kind));
    if (!model)
        return false;
    CNode* copy = model->Clone(m_scope);
    if (!copy)
        return false;
    if (!root->AddChild(copy)) {
        delete copy;
        return false;
    }
    return true;
}
