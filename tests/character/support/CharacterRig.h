#pragma once
#include <string>
#include <vector>

#include "character/act/BoneChainNode.h"
#include "engine/anim/AnimationSet.h"
#include "engine/anim/Animator.h"
#include "engine/anim/KeyframeData.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/Transform.h"

// A small skinned body laid out like hers: "vesko2002" > "veskoRoot" >
// "koshi" > "head", with the three hand anchors under "koshi", and a room
// model "kotatsu" > "kotatsuBody". Everything lives in the rig's own registry;
// the body instance "vesko_mdl" and the room instance carry the scope "::the".
struct CharacterRig {
    static constexpr const char* SCOPE = "::the";

    CharacterRig() : saved(CurrentResourceManager) {
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        auto* top = new CTransform("vesko2002");
        auto* root = new CTransform("veskoRoot");
        auto* koshi = new CBone("koshi");
        auto* head = new CBone("head");
        top->AddChild(root);
        root->AddChild(koshi);
        koshi->AddChild(head);
        for (const char* anchor : {"veskoHandlingC", "veskoHandlingR", "veskoHandlingL"})
            koshi->AddChild(new CTransform(anchor));
        auto* kotatsu = new CTransform("kotatsu");
        kotatsu->AddChild(new CTransform("kotatsuBody"));
        kotatsu->SetTranslation(5.0f, 0.0f, 5.0f);
    }
    ~CharacterRig() {
        delete room;
        delete body;
        SetDefaultParent(nullptr);
        CurrentResourceManager = saved;
    }

    // Builds the instances once the sets and extra models are in place.
    void Build() {
        BoneChainDesc desc;
        desc.models = {{"vesko2002", RT_TRANSFORM}};
        desc.root = {"vesko2002", RT_TRANSFORM};
        desc.tip = {"koshi", RT_BONE};
        desc.extra = {"veskoRoot", RT_TRANSFORM};
        body = new CBoneChainNode("vesko_mdl", desc, SCOPE);
        room = new CModelInstanceNode("room", "kotatsu", RT_TRANSFORM, SCOPE);
    }

    // A set of the given frames whose animators write value(frame) = start +
    // slope × frame into the named node's attribute (one animator per entry).
    struct Curve {
        const char* node;
        int attribute;
        float start;
        float slope;
    };
    CAnimationSet* AddSet(const std::string& name, float frames, const std::vector<Curve>& curves) {
        auto* set = new CAnimationSet(name.c_str());
        for (const Curve& curve : curves) {
            auto* data = new CKeyframeData((name + curve.node).c_str());
            data->AppendKey(frames, curve.slope * frames, curve.start);
            auto* animator = new CAnimator((name + curve.node).c_str());
            animator->SetTarget(registry.Find(curve.node, RT_TRANSFORM) ? registry.Find(curve.node, RT_TRANSFORM)
                                                                        : registry.Find(curve.node, RT_BONE),
                                curve.attribute, data);
            set->AddAnimator(animator);
        }
        set->SetLength(frames);
        return set;
    }

    CTransform* Scoped(const std::string& name, int kind = RT_TRANSFORM) {
        return dynamic_cast<CTransform*>(registry.Find((name + SCOPE).c_str(), kind));
    }
    // The probe value the test sets write: the head's x offset.
    float HeadProbe() { return Scoped("head", RT_BONE)->GetChannelValue(CTransform::TC_TRANSLATION_X); }
    CTransform* BodyRoot() { return body->GetRoot(); }

    CResourceManager* saved;
    CResourceManager registry;
    CBoneChainNode* body = nullptr;
    CModelInstanceNode* room = nullptr;
};
