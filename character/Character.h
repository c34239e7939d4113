#pragma once
#include <string>
#include <vector>

#include "character/act/ActCallback.h"
#include "character/ai/AiPlayer.h"
#include "character/ai/TvItemSource.h"
#include "character/item/ItemRegistry.h"
#include "engine/math/Vec3.h"

class CBoneChainNode;
class CItem;
class IModulateColorTarget;
class ISetting;

// What the character is made of: her body model instance (given to her), the
// scene scope of her nodes, her items (given to her registry), the settings
// her choice of clothes reads and the renderer her screen fades drive.
struct CharacterSetup {
    CBoneChainNode* body = nullptr;
    std::string scope;
    std::vector<CItem*> items;
    ISetting* setting = nullptr;
    IModulateColorTarget* renderer = nullptr;
};

// The mascot: an AI player whose decisions are her personality. She owns her
// body, her items and (through her player) every action prototype, registered
// at construction once the items exist. Her behaviour (plans, idle choice,
// drift, effects and weights) is what the AI player's decision loop calls;
// walking requests are adjusted so that walks carry on and go round the room's
// obstacles; the callback actions reach her clothes, the room, the show and
// the ending.
class CCharacter : public CAiPlayer, public IActCallbackTarget, public ITvItemSource {
public:
    // Re-think interval of her AI, world seconds.
    static constexpr float RETHINK_SECONDS = 600.0f;
    // Consecutive detours the walk hook inserts before one walk starts.
    static constexpr int MAX_WALK_DETOURS = 3;

    CCharacter(const std::string& name, const CharacterSetup& setup);
    ~CCharacter() override;

    // Walking: consecutive walks carry on, and a walk that would cross an
    // obstacle is preceded by one to the detour point.
    int OnRequest(CActRequest& out, const std::string& previousName, const CActRequest& request) override;

    float ActionWeight(const std::string& name) override;
    // Her body's place on the floor: the chain's bone position (y 0) plus the
    // model root's x and z.
    Vec3 GetPosition() override;
    void ExpandAction(std::vector<CActRequest>& plan, const std::string& name) override;
    void ChooseAction(std::string& name, CWorld& world) override;
    void UpdateStats(CWorld& world) override;
    void NotifyAction(CWorld& world, const std::string& name) override;

    // Plan steps. AddWalk: ["blend" 0 30] walk x z ["blend" 0 15], the walk
    // being "walkSleep00" while she is asleep.
    void AddWalk(std::vector<CActRequest>& plan, const Vec3& target, bool blendBefore, bool blendAfter);
    // AddWalk to where the request's registered action starts.
    void AddWalkToActionStart(std::vector<CActRequest>& plan, const CActRequest& request, bool blendBefore,
                              bool blendAfter);
    // AddWalk to a random point of the free floor; answers the point.
    Vec3 AddRandomWalk(std::vector<CActRequest>& plan, bool blendBefore, bool blendAfter);
    // The room position at which the named action starts (its root at frame
    // 0); false for a name that is not registered.
    bool GetActionStart(const std::string& actionName, Vec3& position) const;

    // The callbacks of her plans.
    void ChangeAccessory(const std::vector<std::string>& words) override;
    void ChangeCloth(const std::vector<std::string>& words) override;
    void RoomOut(const std::vector<std::string>& words) override;
    void Eaten(const std::vector<std::string>& words) override;
    void OnShowCallback(const std::vector<std::string>& words) override;
    void OnEndingCallback(const std::vector<std::string>& words) override;

    // The item the TV show would present now, or null; a choice among several
    // draws from the generator.
    CItem* PickTvItem() override;
    bool IsTvShownToday() const override { return m_tvShownToday != 0; }
    void SetTvShownToday(bool shown) { m_tvShownToday = shown ? 1 : 0; }
    void PutOnItem(const std::string& name);
    void TakeOffAllAccessories();

    CBoneChainNode* GetBody() const { return m_body; }
    CItemRegistry& GetItems() { return m_items; }
    const std::string& GetScope() const { return m_scope; }
    bool IsShowPending() const { return m_showPending != 0; }
    bool IsEndingPending() const { return m_endingPending != 0; }
    // Consumes the flags the "zaplenu" and "ending" callbacks set.
    bool TakeShowPending();
    bool TakeEndingPending();
    void SetSetting(ISetting* setting) { m_setting = setting; }

private:
    CBoneChainNode* m_body;
    std::string m_scope;
    CItemRegistry m_items;
    ISetting* m_setting;
    unsigned char m_tvShownToday;
    unsigned char m_showPending;
    unsigned char m_endingPending;
    bool IsSameDetourAgain(const Vec3& position, const Vec3& detour) const;

    // Detours inserted since a walk last started unchanged.
    int m_walkDetours;
    // The last detour inserted and where she stood then.
    bool m_hasLastDetour;
    Vec3 m_lastDetour;
    Vec3 m_lastDetourFrom;
};
