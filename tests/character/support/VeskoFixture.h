#pragma once
// A small stand-in for her loaded data: every model top, node, bone and
// animation set that her assembly looks up, in a registry of its own, laid
// out as her files are (body and clothes as templates, goods models
// "<name>Root" > "<name>Init" > "<name>Handling" > view node, the room TVs
// in the tv model, sound nodes in the models that play them). Names in skip
// are left out, so a test can take one away.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/item/Catalogue.h"
#include "character/item/TextureSwap.h"
#include "character/preload/PreloadLists.h"
#include "engine/anim/AnimationSet.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/Transform.h"

// Texture swaps without a device: a texture not loaded is made on the spot;
// every shader set is recorded.
class RecordingTextureBinder : public ITextureBinder {
public:
    CResource* FindOrLoadTexture(const std::string& fileName) override {
        made.push_back(fileName);
        return new CResource(fileName.c_str(), RT_TEXTURE);
    }
    void SetShaderTexture(CResource* shader, CResource* texture) override {
        applied.push_back(shader->GetName() + "=" + texture->GetName());
    }
    std::vector<std::string> made;
    std::vector<std::string> applied;
};

struct VeskoFixture {
    static constexpr const char* SCOPE = "::the";

    explicit VeskoFixture(std::set<std::string> skip = {}) : saved(CurrentResourceManager), m_skip(std::move(skip)) {
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        mainRoot = new CTransform("renderRootMain");
        BuildBody();
        BuildClothes();
        BuildGoods();
        for (const char* set : CHARACTER_ANIMATION_SETS) {
            if (!m_skip.count(set)) {
                auto* animation = new CAnimationSet(set);
                animation->SetLength(30.0f);
            }
        }
        // The shaders of her swaps, as her instance's copies.
        for (const ClothRow& row : CLOTH_ROWS)
            for (int i = 0; i < row.swapCount; ++i)
                Shader(row.swaps[i].material);
        for (int i = 0; i < BODY_VARIANT_ROWS[0].swapCount; ++i)
            Shader(BODY_VARIANT_ROWS[0].swaps[i].material);
        // One texture already loaded; the others come through the binder.
        new CResource("vesko_skinArm.tga", RT_TEXTURE);
    }
    ~VeskoFixture() {
        character.reset();
        SetDefaultParent(nullptr);
        CurrentResourceManager = saved;
    }

    CCharacter* Assemble(std::string& missing, ITvShow* show = nullptr) {
        CharacterScene scene;
        scene.mainRoot = mainRoot;
        scene.textures = &binder;
        scene.setting = setting;
        scene.focus = focus;
        character.reset(CCharacter::Assemble("vesko", SCOPE, scene, show, missing));
        return character.get();
    }

    CTransform* Scoped(const std::string& name, int kind = RT_TRANSFORM) {
        return dynamic_cast<CTransform*>(registry.Find((name + SCOPE).c_str(), kind));
    }

    CResourceManager* saved;
    CResourceManager registry;
    CTransform* mainRoot = nullptr;
    RecordingTextureBinder binder;
    ISetting* setting = nullptr;
    IFocusPointSink* focus = nullptr;
    std::unique_ptr<CCharacter> character;

private:
    CTransform* Node(const std::string& name, CTransform* parent, int kind = RT_TRANSFORM) {
        if (m_skip.count(name))
            return nullptr;
        CTransform* node = kind == RT_BONE ? new CBone(name.c_str()) : new CTransform(name.c_str());
        if (parent)
            parent->AddChild(node);
        return node;
    }
    void Shader(const std::string& material) {
        const std::string name = material + SCOPE;
        if (!registry.Find(name.c_str(), RT_SHADER))
            new CResource(name.c_str(), RT_SHADER);
    }

    void BuildBody() {
        CTransform* top = Node("vesko2002", nullptr);
        CTransform* root = Node("veskoRoot", top);
        CTransform* koshi = Node("koshi", root, RT_BONE);
        if (koshi)
            koshi->SetTranslation(0.0f, 3.0f, 0.0f);
        Node("legL1", koshi, RT_BONE);
        Node("legR1", koshi, RT_BONE);
        CTransform* head = Node("head", koshi, RT_BONE);
        if (head)
            head->SetTranslation(0.0f, 2.0f, 0.0f);
        // Strands start sideways and backwards, so that they have somewhere to fall.
        struct Strand {
            std::vector<const char*> bones;
            float x, z;
        } strands[] = {
            {{"hairMomiL", "hairMomiLm", "hairMomiLe"}, 0.3f, 0.0f},
            {{"hairMomiR", "hairMomiRm", "hairMomiRe"}, -0.3f, 0.0f},
            {{"hairBackLA", "hairBackLAe"}, 0.1f, -0.3f},
            {{"hairBackRA", "hairBackRAe"}, -0.1f, -0.3f},
            {{"hairBackLB", "hairBackLBe"}, 0.15f, -0.25f},
            {{"hairBackRB", "hairBackRBe"}, -0.15f, -0.25f},
            {{"hairBackC", "hairBackCe"}, 0.0f, -0.35f},
        };
        for (const Strand& strand : strands) {
            CTransform* parent = head;
            for (const char* bone : strand.bones) {
                CTransform* node = Node(bone, parent, RT_BONE);
                if (!node)
                    break;
                node->SetTranslation(strand.x, parent == head ? 0.2f : 0.0f, strand.z);
                parent = node;
            }
        }
        for (const char* anchor : {"veskoHandlingC", "veskoHandlingR", "veskoHandlingL"})
            Node(anchor, koshi);
        for (const AccessoryRow& row : ACCESSORY_ROWS)
            Node(row.modelNode, head);
        Node("osageBexlaR", head);
        Node("osageBexlaL", head);
        Node("vesko2003E", top);
        Node("maruKage", top);
    }

    void BuildClothes() {
        for (int i = 1; i < BODY_MODEL_COUNT; ++i)
            Node(BODY_MODEL_NAMES[i], nullptr);
    }

    void BuildGoods() {
        auto goods = [this](const GoodsRow& row) {
            const std::string name = row.name;
            CTransform* root = Node(name + "Root", nullptr);
            CTransform* init = Node(name + "Init", root);
            CTransform* handling = Node(name + "Handling", init);
            CTransform* view = Node(row.viewNode, handling);
            if (view)
                view->SetTranslation(1.0f, 2.0f, 3.0f);
            return root;
        };
        for (const GoodsRow& row : ROOM_PROP_ROWS) {
            CTransform* root = goods(row);
            if (name(row) == "tv") {
                Node("Tv", root);
                Node("tv2003lcdvc", root);
                Node("tvBrokenSound", root);
            } else if (name(row) == "door") {
                for (const char* sound :
                     {"doorOutSound", "doorInSound", "furoSound0", "furoSound1", "furoSound2", "furoSound3"})
                    Node(sound, root);
            } else if (name(row) == "chair") {
                Node("chairSound0", root);
                Node("chairSound1", root);
            }
        }
        for (const GoodsRow& row : GOODS_ROWS) {
            CTransform* root = goods(row);
            const std::string n = name(row);
            if (n == "kotatsu")
                Node("kotatsuBody", Scan("kotatsu"));
            else if (n == "lightSaber")
                Node("lightSaberSound", root);
            else if (n == "teleporter") {
                Node("teleporterSound0", root);
                Node("teleporterSound1", root);
            } else if (n == "conga") {
                for (const char* sound : {"congaSound0", "congaSound1", "congaSound2", "congaSound3"})
                    Node(sound, root);
            } else if (n == "otama")
                Node("otamaSound", root);
            else if (n == "bodyBlade")
                Node("bodyBladeSound", root);
        }
    }

    static std::string name(const GoodsRow& row) { return row.name; }
    CTransform* Scan(const char* plain) { return dynamic_cast<CTransform*>(registry.Find(plain, RT_TRANSFORM)); }

    std::set<std::string> m_skip;
};
