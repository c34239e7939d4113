#include "character/Character.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "character/act/Act.h"
#include "character/act/BoneChainNode.h"
#include "character/ai/NeedsProposer.h"
#include "character/ai/PajamaAdjuster.h"
#include "character/ai/RoomWalkTest.h"
#include "character/item/AccessoryItem.h"
#include "character/item/ClothItem.h"
#include "character/item/Item.h"
#include "character/proto/ActionPrototypes.h"
#include "engine/core/Random.h"
#include "engine/scene/Transform.h"
#include "shell/settings/Setting.h"

namespace {

bool IsWalkName(const std::string& name) { return name == "walk" || name == "walkSleep00"; }

bool HasWord(const std::vector<std::string>& words, const char* word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

} // namespace

// The evaluators only keep the registry's address; it is built right after
// the AI player base.
CCharacter::CCharacter(const std::string& name, const CharacterSetup& setup)
    : CAiPlayer(name, new CNeedsProposer(&m_items), new CPajamaAdjuster(), new CRoomWalkTest(&m_items),
                RETHINK_SECONDS),
      m_body(setup.body),
      m_scope(setup.scope),
      m_items(name + "_items"),
      m_setting(setup.setting),
      m_tvShownToday(0),
      m_showPending(0),
      m_endingPending(0),
      m_walkDetours(0),
      m_hasLastDetour(false) {
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
    // The prototypes (owned by the player base) only point at the body.
    delete m_body;
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
