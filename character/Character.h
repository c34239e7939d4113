#pragma once
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "character/act/ActCallback.h"
#include "character/ai/AiPlayer.h"
#include "character/ai/TvItemSource.h"
#include "character/item/ClothVariant.h"
#include "character/item/ItemRegistry.h"
#include "character/show/TvShow.h"
#include "engine/math/Vec3.h"
#include "engine/resource/Handle.h"

class CBoneChainNode;
class CItem;
class CSoundCueHook;
class CSoundManager;
class CTransform;
class IModulateColorTarget;
class ISetting;
class ITextureBinder;

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

// What the scene around her lends her assembly (nothing of it is owned): the
// render manager's main scene root and the light set of her and her items,
// the sound manager her cues play through, the renderer her fades drive, the
// device side of texture swaps, the settings and the camera's focus list.
struct CharacterScene {
    CTransform* mainRoot = nullptr;
    CHandle lightSet = NULL_HANDLE;
    CSoundManager* sound = nullptr;
    IModulateColorTarget* renderer = nullptr;
    ITextureBinder* textures = nullptr;
    ISetting* setting = nullptr;
    IFocusPointSink* focus = nullptr;
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

    static constexpr int CUE_SLOT_COUNT = 18;

    // A character of the given parts (prototypes registered when there is a
    // body); Assemble builds her whole instead.
    CCharacter(const std::string& name, const CharacterSetup& setup);
    ~CCharacter() override;

    // Builds her from the loaded models and animation sets of the current
    // registry, in the fixed order of her assembly: body, shadow, collision
    // shapes, hair, room props, body variants, catalogue, cues, actions, TV
    // nodes, start place, money and first request. The show (may be null) is
    // taken over. Null, with the scoped name of the first node, bone, model or
    // animation set that is not loaded in missing, when something is absent.
    static CCharacter* Assemble(const std::string& name, const std::string& scope, const CharacterScene& scene,
                                ITvShow* show, std::string& missing);

    // Console words: "buy", "waste", "items", "accessory", "cloth",
    // "itemcomplete"; others go to the AI player.
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // One update: the show first (she stands still while it runs), a pending
    // show or ending, her AI and actions, shadow, camera focus and hair.
    // Answers 1 in the update that saw the ending callback, else 0.
    int Update(ISetting* setting, CRenderManager* renderManager, CSoundManager* soundManager, CWorld& world,
               bool clicked, float step);
    using CAiPlayer::Update;
    // Money, then every item's state by name.
    void Serialize(CSavedState& state, bool storing) override;
    // Items follow their states, she dresses, goes back to sleep if she was
    // asleep, and the TV of the room matches the ending item.
    void AfterLoad() override;
    void RefreshCloth();
    // Collected share of the priced items; 0 with none.
    float GetCollectionRatio() const;
    bool HitTestTv(CRenderManager* renderManager, int x, int y);

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
    void SetFocusPointSink(IFocusPointSink* focus) { m_focus = focus; }
    // Taken over; null for none.
    void SetShow(ITvShow* show);
    ITvShow* GetShow() const { return m_show.get(); }
    const std::string& GetPendingPurchase() const { return m_pendingPurchase; }
    const std::vector<ClothVariant>& GetBodyVariants() const { return m_variants; }
    const CSoundCueHook* GetCue(int slot) const;
    int GetCueCount() const;
    CTransform* GetShadow() const;
    CTransform* GetOldTv() const;
    CTransform* GetNewTv() const;

private:
    bool Build(const CharacterScene& scene, std::string& missing);
    bool BuildBody(const CharacterScene& scene, std::string& missing);
    bool BuildCollisionShapes(std::string& missing);
    bool BuildCatalogue(const CharacterScene& scene, std::string& missing);
    bool BuildCues(const CharacterScene& scene, std::string& missing);
    bool BuildActions(const CharacterScene& scene, std::string& missing);
    // The shadow at (x, SHADOW_HEIGHT, z) of the room, beneath her.
    void PlaceShadow(const Vec3& position);

    CBoneChainNode* m_body;
    CHandle m_shadow;
    std::string m_scope;
    CItemRegistry m_items;
    std::unique_ptr<ITvShow> m_show;
    ISetting* m_setting;
    IFocusPointSink* m_focus;
    unsigned char m_tvShownToday;
    unsigned char m_showPending;
    unsigned char m_endingPending;
    CHandle m_oldTv;
    CHandle m_newTv;
    std::vector<ClothVariant> m_variants;
    std::unique_ptr<CSoundCueHook> m_cues[CUE_SLOT_COUNT];
    CHandle m_cueNodes[CUE_SLOT_COUNT];
    std::string m_pendingPurchase;
    // The process's hair rig was set up on her model.
    bool m_hairSetUp;
    bool IsSameDetourAgain(const Vec3& position, const Vec3& detour) const;

    // Detours inserted since a walk last started unchanged.
    int m_walkDetours;
    // The last detour inserted and where she stood then.
    bool m_hasLastDetour;
    Vec3 m_lastDetour;
    Vec3 m_lastDetourFrom;
};
