#include "character/ai/NeedsProposer.h"

#include "character/ai/AiPlayer.h"
#include "character/ai/TvItemSource.h"
#include "character/ai/WeightedChoice.h"
#include "character/item/Item.h"
#include "character/item/ItemRegistry.h"
#include "engine/core/Random.h"
#include "shell/settings/Setting.h"
#include "shell/world/World.h"

namespace {

// A goods row's weight: the factor scaled down by recent use, truncated.
int Scaled(CAiPlayer& ai, const char* name, float factor) { return (int)(ai.ActionWeight(name) * factor); }

} // namespace

CNeedsProposer::CNeedsProposer(CItemRegistry* items) : m_items(items) {}

void CNeedsProposer::Serialize(CSavedState&, bool) {}

void CNeedsProposer::Reset() {}

bool CNeedsProposer::Owns(const char* name) const {
    CItem* item = m_items ? m_items->Find(name) : nullptr;
    return item && item->IsOwned();
}

std::string CNeedsProposer::Evaluate(ISetting* context, CWorld& world, CAiPlayer& ai) {
    const size_t queued = ai.GetQueue().size();
    if (queued > 1)
        return std::string();
    if (queued == 1 && RandUnit() < 0.8f)
        return std::string();

    const int h = world.GetClock().hours;
    const CBodyStats& s = ai.GetStats();
    WeightedChoice choice;

    if (!s.bsl) {
        if (s.slp > 60.0f && h >= 21)
            choice.Add("sleep", 50);
        if (s.slp > 60.0f && h >= 0 && h <= 5)
            choice.Add("sleep", 200);
        if (s.app > 60.0f && h >= 9 && h <= 10)
            choice.Add("eat", 200);
        if (s.app > 60.0f && h >= 12 && h <= 14)
            choice.Add("eat", 50);
        if (s.app > 60.0f && h >= 18 && h <= 20)
            choice.Add("eat", 140);
        if (s.app < 30.0f && h >= 19 && h <= 20)
            choice.Add("furo", 10);
        // The pick of the show's item draws from the generator, so it is asked
        // only once every other condition holds.
        const bool noSave = context && context->IsNoSave();
        ITvItemSource* tv = dynamic_cast<ITvItemSource*>(&ai);
        if (!noSave && h >= 21 && tv && !tv->IsTvShownToday()) {
            if (CItem* item = tv->PickTvItem())
                choice.Add(item->IsEndingItem() ? "zaplenu_ed" : "zaplenu", 1000);
        }
        choice.Add("", 15);
        if (Owns("kotatsu") && s.slp > 20.0f && h >= 10 && h <= 19)
            choice.Add("kotatsu", 40);
        if (Owns("papaMakura") && Owns("kotatsu") && s.slp > 20.0f && h >= 10 && h <= 19)
            choice.Add("papaMakura", 20);
        if (Owns("punchingBag") && s.app < 50.0f && s.sex < 20.0f)
            choice.Add("punchingBag", Scaled(ai, "punchingBag", 30.0f));
        if (Owns("bodyBlade") && s.app < 30.0f)
            choice.Add("bodyBlade", Scaled(ai, "bodyBlade", 20.0f));
        if (Owns("lightSaber") && s.app < 60.0f && s.sex > 10.0f)
            choice.Add("lightSaber", Scaled(ai, "lightSaber", 40.0f));
        if (Owns("segway") && s.slp > 30.0f)
            choice.Add("segway", Scaled(ai, "segway", 30.0f));
        if (Owns("domohornWinkle") && s.sex > 20.0f)
            choice.Add("domohornWinkle", Scaled(ai, "domohornWinkle", 10.0f));
        if (Owns("bodyVac") && h >= 20 && s.sex > 10.0f)
            choice.Add("bodyVac", Scaled(ai, "bodyVac", 30.0f));
        if (Owns("bodyVibrator") && s.app > 50.0f)
            choice.Add("bodyVibrator", Scaled(ai, "bodyVibrator", 20.0f));
        if (Owns("teleporter") && s.sex > 20.0f)
            choice.Add("teleporter", Scaled(ai, "teleporter", 30.0f));
        if (Owns("otama") && Owns("flypanB") && h >= 6 && h <= 10)
            choice.Add("otama", Scaled(ai, "otama", 30.0f));
        if (Owns("conga") && s.app < 50.0f && h >= 15)
            choice.Add("conga", Scaled(ai, "conga", 20.0f));
        if (Owns("senpuki") && s.slp > 30.0f && h >= 17)
            choice.Add("senpuki", Scaled(ai, "senpuki", 20.0f));
        if (Owns("kotatsu") && Owns("reizouko")) {
            if (RandUnit() < 0.5f) {
                if (Owns("milk") && s.app < 50.0f && h < 15)
                    choice.Add("milk", Scaled(ai, "milk", 20.0f));
            } else if (Owns("iceCream") && s.app < 50.0f && h >= 12) {
                choice.Add("iceCream", Scaled(ai, "iceCream", 20.0f));
            }
        }
    } else if (h >= 6 && h <= 11 && s.slp < 50.0f) {
        if (h <= 10)
            choice.Add("resleep", 10);
        choice.Add("wakeup", 50);
    } else {
        choice.Add("sleeping", 100);
        if (ai.GetHistory().Last() == "sleeping") {
            choice.Add("sleepingmove", 80);
            if (h <= 2)
                choice.Add("halfsleeping", 40);
            CItem* bexla = m_items ? m_items->Find("bexlaMimi") : nullptr;
            if (bexla && bexla->IsAccessory() && bexla->IsWorn() && ai.ActionWeight("osageBexla") == 1.0f && h <= 2)
                choice.Add("osageBexla", 1000);
            if (Owns("houchou") && h <= 2)
                choice.Add("houchou", Scaled(ai, "houchou", 40.0f));
        }
    }
    return choice.Pick();
}
