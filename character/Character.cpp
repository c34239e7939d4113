#include "character/Character.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "character/act/Act.h"
#include "character/act/BoneChainNode.h"
#include "character/ai/NeedsProposer.h"
#include "character/ai/PajamaAdjuster.h"
#include "character/ai/RoomWalkTest.h"
#include "character/assembly/AssemblyTables.h"
#include "character/assembly/SoundCueHook.h"
#include "character/collision/CollisionCapsule.h"
#include "character/collision/CollisionSphere.h"
#include "character/hair/HairRig.h"
#include "character/item/AccessoryItem.h"
#include "character/item/Catalogue.h"
#include "character/item/ClothItem.h"
#include "character/item/EndingItem.h"
#include "character/item/GoodsItem.h"
#include "character/item/Item.h"
#include "character/item/ItemNodes.h"
#include "character/proto/ActionPrototypes.h"
#include "character/show/TvShowProgram.h"
#include "engine/core/Random.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "shell/settings/Setting.h"

namespace {

bool IsWalkName(const std::string& name) { return name == "walk" || name == "walkSleep00"; }

bool HasWord(const std::vector<std::string>& words, const char* word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

CResource* FindLoaded(const std::string& name, int kind) {
    return CurrentResourceManager ? CurrentResourceManager->Find(name.c_str(), kind) : nullptr;
}

// True when the resource is loaded; otherwise its name becomes the failure.
bool Require(const std::string& name, int kind, std::string& missing) {
    if (FindLoaded(name, kind))
        return true;
    missing = name;
    return false;
}

std::vector<TextureSwapRow> SwapRows(const TextureSwapEntry* entries, int count) {
    std::vector<TextureSwapRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({entries[i].material, entries[i].texture});
    return rows;
}

// New transforms hang under the main scene root while she is built; the
// previous default parent comes back afterwards.
class DefaultParentScope {
public:
    explicit DefaultParentScope(CTransform* parent) : m_saved(GetDefaultParent()) { SetDefaultParent(parent); }
    ~DefaultParentScope() { SetDefaultParent(m_saved); }

private:
    CTransform* m_saved;
};

} // namespace

// The evaluators only keep the registry's address; it is built right after
// the AI player base.
CCharacter::CCharacter(const std::string& name, const CharacterSetup& setup)
    : CAiPlayer(name, new CNeedsProposer(&m_items), new CPajamaAdjuster(), new CRoomWalkTest(&m_items),
                RETHINK_SECONDS),
      m_body(setup.body),
      m_shadow(NULL_HANDLE),
      m_scope(setup.scope),
      m_items(name + "_items"),
      m_setting(setup.setting),
      m_focus(nullptr),
      m_tvShownToday(0),
      m_showPending(0),
      m_endingPending(0),
      m_oldTv(NULL_HANDLE),
      m_newTv(NULL_HANDLE),
      m_hairSetUp(false),
      m_walkDetours(0),
      m_hasLastDetour(false) {
    GetStats().mny = START_MONEY;
    for (CHandle& node : m_cueNodes)
        node = NULL_HANDLE;
    for (CItem* item : setup.items) {
        if (!m_items.Add(item))
            delete item;
    }
    if (m_body) {
        PrototypeContext context;
        context.owner = m_body;
        context.scope = m_scope;
        context.items = &m_items;
        context.callbacks = this;
        context.renderer = setup.renderer;
        RegisterActionPrototypes(*this, context);
    }
}

CCharacter::~CCharacter() {
    // The sound nodes belong to the registry and may outlive her cues.
    for (int i = 0; i < CUE_SLOT_COUNT; ++i) {
        CTransform* node = ResolveTransform(m_cueNodes[i]);
        if (node && node->GetRenderHook() == m_cues[i].get())
            node->SetRenderHook(nullptr);
    }
    // The prototypes (owned by the player base) only point at the body.
    delete m_body;
}

CCharacter* CCharacter::Assemble(const std::string& name, const std::string& scope, const CharacterScene& scene,
                                 ITvShow* show, std::string& missing) {
    CharacterSetup setup;
    setup.scope = scope;
    setup.setting = scene.setting;
    setup.renderer = scene.renderer;
    auto* character = new CCharacter(name, setup);
    character->SetShow(show);
    character->m_focus = scene.focus;
    missing.clear();
    if (!character->Build(scene, missing)) {
        delete character;
        return nullptr;
    }
    return character;
}

bool CCharacter::Build(const CharacterScene& scene, std::string& missing) {
    DefaultParentScope parent(scene.mainRoot);
    if (!BuildBody(scene, missing) || !BuildCollisionShapes(missing))
        return false;
    m_hairSetUp = CharacterHair().SetUp(m_scope);
    if (!BuildCatalogue(scene, missing) || !BuildCues(scene, missing) || !BuildActions(scene, missing))
        return false;
    if (!Require(OLD_TV_NODE + m_scope, RT_TRANSFORM, missing) ||
        !Require(NEW_TV_NODE + m_scope, RT_TRANSFORM, missing))
        return false;
    m_oldTv = FindTransformHandle(OLD_TV_NODE, m_scope);
    m_newTv = FindTransformHandle(NEW_TV_NODE, m_scope);
    m_body->GetRootTransform()->SetTranslation(START_X, 0.0f, START_Z);
    Request(CActRequest(START_ACTION, START_WORD));
    return true;
}

bool CCharacter::BuildBody(const CharacterScene& scene, std::string& missing) {
    BoneChainDesc desc;
    for (const char* model : BODY_MODEL_NAMES) {
        if (!Require(model, RT_TRANSFORM, missing))
            return false;
        desc.models.push_back({model, RT_TRANSFORM});
    }
    desc.root = {BODY_CHAIN_ROOT, RT_TRANSFORM};
    desc.tip = {BODY_CHAIN_TIP, RT_BONE};
    desc.extra = {BODY_EXTRA_NODE, RT_TRANSFORM};
    m_body = new CBoneChainNode(BODY_INSTANCE_NAME, desc, m_scope);
    CTransform* root = m_body->GetRootTransform();
    if (!root) {
        missing = std::string(BODY_INSTANCE_NAME) + "_root" + m_scope;
        return false;
    }
    if (!m_body->IsChainComplete()) {
        missing = BODY_CHAIN_TIP + m_scope;
        return false;
    }
    auto* extra = dynamic_cast<CTransform*>(m_body->GetExtraNode());
    if (!extra) {
        missing = BODY_EXTRA_NODE + m_scope;
        return false;
    }
    if (scene.mainRoot)
        root->SetParent(scene.mainRoot);
    root->SetLightSetTree(scene.lightSet);
    extra->SetScale(BODY_SCALE, BODY_SCALE, BODY_SCALE);
    if (!Require(SHADOW_NODE + m_scope, RT_TRANSFORM, missing))
        return false;
    m_shadow = FindTransformHandle(SHADOW_NODE, m_scope);
    return true;
}

bool CCharacter::BuildCollisionShapes(std::string& missing) {
    for (const CollisionShapeRow& row : COLLISION_SHAPE_ROWS) {
        auto* bone = dynamic_cast<CTransform*>(FindLoaded(row.bone + m_scope, RT_BONE));
        if (!bone) {
            missing = row.bone + m_scope;
            return false;
        }
        auto* holder = new CTransform((row.transform + m_scope).c_str());
        holder->SetParent(bone);
        CMatrix rotation;
        rotation.SetRotationXYZ(row.rotation[0], row.rotation[1], row.rotation[2]);
        CMatrix translation;
        translation.SetTranslation(row.translation[0], row.translation[1], row.translation[2]);
        CMatrix local;
        translation.PreMultiply(local, rotation);
        holder->SetLocalMatrix(local);
        const std::string node = row.node + m_scope;
        CNode* shape = row.kind == CS_CAPSULE
                           ? static_cast<CNode*>(new CCollisionCapsule(node.c_str(), row.radius, row.length, row.flag))
                           : static_cast<CNode*>(new CCollisionSphere(node.c_str(), row.radius));
        shape->SetParent(holder);
    }
    return true;
}

bool CCharacter::BuildCatalogue(const CharacterScene& scene, std::string& missing) {
    ItemContext context;
    context.lightSet = scene.lightSet;
    context.textures = scene.textures;
    auto addGoods = [&](const GoodsRow& row) {
        if (!Require(std::string(row.name) + "Root", RT_TRANSFORM, missing))
            return false;
        CItem* item =
            new CGoodsItem(row.name, context, row.name, row.tvId, row.viewNode, m_scope, row.twoPart, (int)row.price);
        if (row.ownedAtStart)
            item->SetOwned(true);
        return m_items.Add(item) || (delete item, true);
    };
    for (const GoodsRow& row : ROOM_PROP_ROWS) {
        if (!addGoods(row))
            return false;
    }
    for (const BodyVariantRow& row : BODY_VARIANT_ROWS) {
        if (!Require(row.node + m_scope, RT_TRANSFORM, missing))
            return false;
        m_variants.push_back(MakeClothVariant(row.node, SwapRows(row.swaps, row.swapCount), m_scope, scene.textures));
    }
    for (const ClothRow& row : CLOTH_ROWS) {
        if (*row.modelNode && !Require(row.modelNode + m_scope, RT_TRANSFORM, missing))
            return false;
        CItem* item =
            new CClothItem(row.name, context, row.modelNode, &m_variants, row.bodyVariant,
                           SwapRows(row.swaps, row.swapCount), row.quillombOnly, row.tvId, m_scope, (int)row.price);
        if (row.ownedAtStart)
            item->SetOwned(true);
        if (!m_items.Add(item))
            delete item;
    }
    for (const AccessoryRow& row : ACCESSORY_ROWS) {
        if (!Require(row.modelNode + m_scope, RT_TRANSFORM, missing))
            return false;
        CItem* item =
            new CAccessoryItem(row.name, context, row.modelNode, row.tvId, m_scope, row.group, (int)row.price);
        if (row.ownedAtStart)
            item->SetOwned(true);
        if (!m_items.Add(item))
            delete item;
    }
    for (const GoodsRow& row : GOODS_ROWS) {
        if (!addGoods(row))
            return false;
    }
    CItem* ending = new CEndingItem(ENDING_ITEM_NAME, context, m_scope);
    if (!m_items.Add(ending))
        delete ending;
    return true;
}

bool CCharacter::BuildCues(const CharacterScene& scene, std::string& missing) {
    for (const SoundCueRow& row : SOUND_CUE_ROWS) {
        const int slot = row.slot - 1;
        if (slot < 0 || slot >= CUE_SLOT_COUNT)
            continue;
        m_cues[slot].reset(new CSoundCueHook(scene.sound, row.cue));
        CTransform* node = ResolveTransform(FindTransformHandle(row.node, m_scope));
        if (!node) {
            missing = row.node + m_scope;
            return false;
        }
        node->SetRenderHook(m_cues[slot].get());
        m_cueNodes[slot] = node->GetTransformHandle();
    }
    return true;
}

// Every set a motion plays and every node a linked motion moves must be
// loaded before the prototypes are built on them.
bool CCharacter::BuildActions(const CharacterScene& scene, std::string& missing) {
    for (const ActionPrototypeRow& row : ActionPrototypeTable()) {
        if (row.animationSet && !Require(row.animationSet, RT_ANIMATION_SET, missing))
            return false;
        for (const LinkRef* link : {&row.parent, &row.moved}) {
            if (!link->name)
                continue;
            std::string node;
            if (link->source == LINK_NODE) {
                node = link->name;
            } else if (auto* goods = dynamic_cast<CGoodsItem*>(m_items.Find(link->name))) {
                node = link->source == LINK_ITEM_CARRIED ? goods->GetHandlingNodeName() : goods->GetInitNodeName();
            } else {
                missing = link->name;
                return false;
            }
            if (!Require(node + m_scope, RT_TRANSFORM, missing))
                return false;
        }
    }
    PrototypeContext context;
    context.owner = m_body;
    context.scope = m_scope;
    context.items = &m_items;
    context.callbacks = this;
    context.renderer = scene.renderer;
    RegisterActionPrototypes(*this, context);
    return true;
}

void CCharacter::SetShow(ITvShow* show) { m_show.reset(show); }

const CSoundCueHook* CCharacter::GetCue(int slot) const {
    return slot >= 0 && slot < CUE_SLOT_COUNT ? m_cues[slot].get() : nullptr;
}

int CCharacter::GetCueCount() const {
    int count = 0;
    for (const auto& cue : m_cues)
        count += cue ? 1 : 0;
    return count;
}

CTransform* CCharacter::GetShadow() const { return ResolveTransform(m_shadow); }
CTransform* CCharacter::GetOldTv() const { return ResolveTransform(m_oldTv); }
CTransform* CCharacter::GetNewTv() const { return ResolveTransform(m_newTv); }

bool CCharacter::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (IsWord(command, "buy")) {
        if (args.empty())
            out << "name buy itemname\n";
        else
            m_pendingPurchase = args[0];
        return true;
    }
    if (IsWord(command, "waste")) {
        if (args.empty()) {
            out << "name waste itemname\n";
        } else if (CItem* item = m_items.Find(args[0])) {
            item->SetOwned(false);
        }
        return true;
    }
    if (IsWord(command, "items")) {
        for (CItem* item : m_items.List()) {
            const char kind = item->IsAccessory() ? 'a' : item->IsCloth() ? 'c' : 't';
            out << item->GetName() << "(" << kind << ", " << item->GetPrice() << ") " << (item->IsOwned() ? "o" : "x")
                << (item->IsCollected() ? "(o)" : "(x)") << "\n";
        }
        return true;
    }
    if (IsWord(command, "accessory")) {
        CItem* item = args.size() == 1 ? m_items.Find(args[0]) : nullptr;
        if (!item) {
            out << "name accessory itemname\n";
        } else if (item->IsWorn()) {
            item->TakeOff();
        } else {
            item->PutOn();
        }
        return true;
    }
    if (IsWord(command, "cloth")) {
        ChangeCloth(args);
        return true;
    }
    if (IsWord(command, "itemcomplete")) {
        for (CItem* item : m_items.List()) {
            if (!item->IsOwned() && !item->IsEndingItem())
                item->SetOwned(true);
        }
        return true;
    }
    return CAiPlayer::HandleCommand(out, command, args);
}

int CCharacter::Update(ISetting* setting, CRenderManager* renderManager, CSoundManager* soundManager, CWorld& world,
                       bool clicked, float step) {
    int result = 0;
    if (m_show && m_show->Update(setting, renderManager, soundManager, world, *this, clicked, step)) {
        step = 0.0f;
    } else if (m_showPending) {
        m_showPending = 0;
        m_tvShownToday = 1;
        CItem* item = PickTvItem();
        if (item && m_show)
            m_show->Present(item, renderManager, *this);
    }
    if (m_endingPending) {
        m_endingPending = 0;
        result = 1;
    }
    CAiPlayer::Update(setting, renderManager, world, step);
    const Vec3 position = GetPosition();
    PlaceShadow(position);
    CTransform* root = m_body ? m_body->GetRootTransform() : nullptr;
    if (root && m_focus && root->GetChannelValue(CTransform::TC_VISIBLE) > 0.0f) {
        Vec3 focus = position;
        if (CTransform* parent = root->GetParent())
            focus.TransformCoord(parent->GetWorldMatrix());
        m_focus->AddFocusPoint(focus.x, focus.y + 30.0f, focus.z, 100.0f);
    }
    if (m_hairSetUp)
        CharacterHair().Update();
    SetNodeVisible(FindTransformHandle("osageBexlaR", m_scope), true);
    SetNodeVisible(FindTransformHandle("osageBexlaL", m_scope), true);
    return result;
}

// The shadow is a node of her model, so it hangs below the root that her
// motions place and turn: the room point is carried into its parent's frame,
// built from the local matrices up to and including that root, so that it
// does not move twice with her.
void CCharacter::PlaceShadow(const Vec3& position) {
    CTransform* shadow = GetShadow();
    if (!shadow)
        return;
    CTransform* root = m_body ? m_body->GetRootTransform() : nullptr;
    CMatrix frame;
    int depth = 0;
    for (CTransform* node = shadow->GetParent(); node && depth < MAX_SCENE_DEPTH; node = node->GetParent(), ++depth) {
        CMatrix product;
        frame = node->GetLocalMatrix().PreMultiply(product, frame);
        if (node == root)
            break;
    }
    CMatrix inverse;
    frame.GetInverse(inverse);
    Vec3 local(position.x, SHADOW_HEIGHT, position.z);
    local.TransformCoord(inverse);
    shadow->SetTranslation(local.x, local.y, local.z);
}

void CCharacter::Serialize(CSavedState& state, bool storing) {
    CAiPlayer::Serialize(state, storing);
    m_items.Serialize(state.items, storing);
}

void CCharacter::AfterLoad() {
    CAiPlayer::AfterLoad();
    m_items.AfterLoad();
    ChangeCloth({});
    // Her sleeping action is "sleep"; there is no action of the name
    // "sleep00" to go back to.
    if (GetStats().bsl)
        Request(CActRequest("sleep"));
    bool endingOwned = false;
    for (CItem* item : m_items.List()) {
        if (item->IsEndingItem()) {
            endingOwned = item->IsOwned();
            break;
        }
    }
    SetNodeVisible(m_oldTv, !endingOwned);
    SetNodeVisible(m_newTv, endingOwned);
}

void CCharacter::RefreshCloth() {
    if (GetStats().bsl)
        ChangeCloth({"pajama"});
    else
        ChangeCloth({});
}

float CCharacter::GetCollectionRatio() const {
    int priced = 0;
    int collected = 0;
    for (CItem* item : m_items.List()) {
        if (item->GetPrice() == 0)
            continue;
        ++priced;
        collected += item->IsCollected() ? 1 : 0;
    }
    return priced ? (float)collected / (float)priced : 0.0f;
}

bool CCharacter::HitTestTv(CRenderManager* renderManager, int x, int y) {
    return m_show && m_show->IsPresenting() && m_show->HitTest(renderManager, x, y);
}

int CCharacter::OnRequest(CActRequest& out, const std::string& previousName, const CActRequest& request) {
    if (IsWalkName(request.name)) {
        if (previousName == request.name && !HasWord(request.words, "continue")) {
            out = request;
            out.words.push_back("continue");
            return HOOK_REPLACE;
        }
        // Detours are bounded: from one standing point the detour of one
        // obstacle may lead through another and back.
        if (request.words.size() >= 2 && GetWalkTest() && m_walkDetours < MAX_WALK_DETOURS) {
            const Vec3 target((float)std::atof(request.words[0].c_str()), 0.0f,
                              (float)std::atof(request.words[1].c_str()));
            const Vec3 position = GetPosition();
            Vec3 detour;
            if (GetWalkTest()->Test(detour, position, target) && !IsSameDetourAgain(position, detour)) {
                out = CActRequest(request.name, detour.x, detour.z);
                ++m_walkDetours;
                m_lastDetour = detour;
                m_lastDetourFrom = position;
                m_hasLastDetour = true;
                return HOOK_INSERT;
            }
        }
    }
    m_walkDetours = 0;
    return HOOK_START;
}

// The detour walk has already been tried from this very spot and got her no
// further (a walk that cannot move ends at once): walking straight instead
// keeps her from detouring to the same point in every update.
bool CCharacter::IsSameDetourAgain(const Vec3& position, const Vec3& detour) const {
    const float near = 0.01f;
    return m_hasLastDetour && std::fabs(detour.x - m_lastDetour.x) < near &&
           std::fabs(detour.z - m_lastDetour.z) < near && std::fabs(position.x - m_lastDetourFrom.x) < near &&
           std::fabs(position.z - m_lastDetourFrom.z) < near && m_walkDetours == 0;
}

Vec3 CCharacter::GetPosition() {
    Vec3 position;
    if (!m_body)
        return position;
    CMatrix chain;
    m_body->GetChainMatrix(chain);
    position = MatrixPosition(chain);
    position.y = 0.0f;
    if (CTransform* root = m_body->GetRootTransform()) {
        position.x += root->GetChannelValue(CTransform::TC_TRANSLATION_X);
        position.z += root->GetChannelValue(CTransform::TC_TRANSLATION_Z);
    }
    return position;
}

bool CCharacter::GetActionStart(const std::string& actionName, Vec3& position) const {
    CAct* act = FindAction(actionName);
    if (!act)
        return false;
    position = MatrixPosition(act->GetReferenceChainMatrix());
    return true;
}

void CCharacter::ChangeAccessory(const std::vector<std::string>& words) {
    TakeOffAllAccessories();
    if (words.empty() || words[0] != "select") {
        if (RandUnit() < 0.1f) {
            CItem* bexla = m_items.Find("bexlaMimi");
            if (bexla && bexla->IsOwned())
                bexla->PutOn();
        }
        return;
    }
    std::vector<CAccessoryItem*> groups[5];
    int total = 0;
    for (CItem* item : m_items.List()) {
        CAccessoryItem* accessory = item->IsAccessory() ? dynamic_cast<CAccessoryItem*>(item) : nullptr;
        if (!accessory || !accessory->IsOwned())
            continue;
        const int category = accessory->GetCategory();
        if (category < 0 || category > 4)
            continue;
        groups[category].push_back(accessory);
        ++total;
    }
    // With nothing owned there is nothing to choose (and no share to divide).
    if (total == 0)
        return;
    bool enabled[4] = {true, true, true, true};
    const float setShare = (float)groups[4].size() / (float)total;
    auto owns = [this](const char* name) {
        CItem* item = m_items.Find(name);
        return item && item->IsOwned();
    };
    for (CAccessoryItem* piece : groups[4]) {
        if (piece->GetName() == "haibane") {
            if (RandUnit() < setShare && owns("haibaneRing")) {
                PutOnItem("haibane");
                PutOnItem("haibaneRing");
                enabled[0] = false;
            }
        } else if (piece->GetName() == "etonaOsage") {
            if (RandUnit() < setShare && owns("etonaWing") && owns("etonaKubiwa") && owns("etonaBraceletR") &&
                owns("etonaBraceletL")) {
                PutOnItem("etonaOsage");
                PutOnItem("etonaWing");
                PutOnItem("etonaKubiwa");
                PutOnItem("etonaBraceletR");
                PutOnItem("etonaBraceletL");
                enabled[0] = enabled[1] = enabled[3] = false;
            }
        }
    }
    for (int g = 0; g < 4; ++g) {
        const int size = (int)groups[g].size();
        if (!enabled[g] || size == 0)
            continue;
        if (RandUnit() < (float)size / (float)total * 1.5f)
            groups[g][Rand() % size]->PutOn();
    }
}

void CCharacter::ChangeCloth(const std::vector<std::string>& words) {
    const bool quillomb = m_setting && m_setting->IsQuillombMode();
    std::vector<CItem*> candidates;
    for (CItem* item : m_items.List()) {
        if (!item->IsCloth() || !item->IsOwned())
            continue;
        CClothItem* cloth = dynamic_cast<CClothItem*>(item);
        const bool marked = cloth && cloth->GetSelectionFlag() != 0;
        const bool excluded = quillomb ? item->GetName() == "clothDefault" : marked;
        if (!excluded)
            candidates.push_back(item);
        item->TakeOff();
    }
    if (candidates.empty()) {
        PutOnItem("clothDefault");
        return;
    }
    if (!words.empty()) {
        const std::string wanted = words[0] == "pajama" ? std::string("pajamaOrange") : words[0];
        for (CItem* item : candidates) {
            if (item->GetName() == wanted) {
                item->PutOn();
                return;
            }
        }
    }
    candidates[Rand() % (int)candidates.size()]->PutOn();
}

void CCharacter::RoomOut(const std::vector<std::string>& words) {
    CTransform* root = m_body ? m_body->GetRootTransform() : nullptr;
    if (words.empty() || !root)
        return;
    if (words[0] == "in") {
        root->SetVisible(1.0f);
    } else if (words[0] == "out") {
        root->SetVisible(0.0f);
    } else {
        root->SetTranslation(0.0f, -2000.0f, -2000.0f);
    }
}

void CCharacter::Eaten(const std::vector<std::string>& words) {
    if (words.empty())
        return;
    if (CItem* item = m_items.Find(words[0]))
        item->SetOwned(false);
}

void CCharacter::OnShowCallback(const std::vector<std::string>&) { m_showPending = 1; }

void CCharacter::OnEndingCallback(const std::vector<std::string>&) { m_endingPending = 1; }

bool CCharacter::TakeShowPending() {
    const bool pending = m_showPending != 0;
    m_showPending = 0;
    return pending;
}

bool CCharacter::TakeEndingPending() {
    const bool pending = m_endingPending != 0;
    m_endingPending = 0;
    return pending;
}

CItem* CCharacter::PickTvItem() {
    std::vector<CItem*> candidates;
    std::vector<CItem*> uncollected;
    const uint32_t money = GetStats().mny;
    for (CItem* item : m_items.List()) {
        // The free items are not the show's to sell: never offered, and one
        // thrown away does not keep the ending from coming last.
        if (!IsPresentable(*item))
            continue;
        if (!item->IsOwned() && !item->IsEndingItem() && (uint32_t)item->GetPrice() <= money) {
            const int entries = item->IsAccessory() || item->IsCloth() ? 1 : 4;
            candidates.insert(candidates.end(), entries, item);
        }
        if (!item->IsCollected())
            uncollected.push_back(item);
    }
    if (uncollected.size() == 1 && uncollected[0]->IsEndingItem())
        return uncollected[0];
    if (candidates.empty())
        return nullptr;
    return candidates[Rand() % (int)candidates.size()];
}

void CCharacter::PutOnItem(const std::string& name) {
    if (CItem* item = m_items.Find(name))
        item->PutOn();
}

void CCharacter::TakeOffAllAccessories() {
    for (CItem* item : m_items.List()) {
        if (item->IsAccessory() && item->IsOwned())
            item->TakeOff();
    }
}
