// The character's personality outside her plans: the idle choice, the drift
// of her body values with the hour, the effects of what she chose and how
// recent use discourages a choice.
#include "character/Character.h"
#include "character/ai/WeightedChoice.h"
#include "shell/world/World.h"

namespace {

struct IdleRow {
    const char* name;
    int weight;
    bool notTwice; // left out when it was the last choice
};

// The idle choice, in the order the rows are added.
const IdleRow IDLE_ROWS[] = {
    {"stand", 10, false}, {"dance", 50, false}, {"wash", 30, false}, {"box", 30, false}, {"senti", 20, false},
    {"chair", 30, true},  {"hechyo", 20, true}, {"hiji", 30, true},  {"roll", 20, true},
};

float Clamp100(float v) { return v <= 0.0f ? 0.0f : (v >= 100.0f ? 100.0f : v); }

} // namespace

void CCharacter::ChooseAction(std::string& name, CWorld&) {
    const CBodyStats& s = GetStats();
    if (s.bsl) {
        name = "sleeping";
        return;
    }
    const std::string last = GetHistory().Last();
    WeightedChoice choice;
    for (const IdleRow& row : IDLE_ROWS) {
        if (row.notTwice && last == row.name)
            continue;
        if (std::string(row.name) == "roll" && !(s.slp > 10.0f))
            continue;
        choice.Add(row.name, row.weight);
    }
    name = choice.Pick();
}

void CCharacter::UpdateStats(CWorld& world) {
    const int h = world.GetClock().hours;
    CBodyStats& s = GetStats();
    if (h >= 8 && h < 10)
        s.app += 1.0f;
    else if (h >= 10 && h < 21)
        s.app += 3.0f;
    else
        s.app += 0.2f;
    s.app = Clamp100(s.app);

    if (h >= 20 && h < 22)
        s.slp += 3.0f;
    else if (h >= 22 || h < 5)
        s.slp += 5.0f;
    else if (h >= 5 && h < 12)
        s.slp -= 3.0f;
    else
        s.slp += 0.6f;
    s.slp = Clamp100(s.slp);

    if (h >= 20)
        s.sex += 3.0f;
    s.sex = Clamp100(s.sex);
}

void CCharacter::NotifyAction(CWorld& world, const std::string& name) {
    CBodyStats& s = GetStats();
    if (name == "eat") {
        s.slp += 10.0f;
        s.app = 0.0f;
    } else if (name == "wakeup") {
        GetHistory().Clear();
        s.mny = AddMoney(s.mny, 5000);
        s.sex = 0.0f;
        s.slp = 0.0f;
        s.bsl = 0;
        SetTvShownToday(false);
        world.SetRoomLight(true);
    } else if (name == "sleep") {
        s.bsl = 1;
        world.SetRoomLight(false);
    } else if (name == "roll") {
        s.slp -= 10.0f;
    } else if (name == "kotatsu" || name == "papaMakura" || name == "otama") {
        s.slp -= 20.0f;
    } else if (name == "change") {
        s.pajama = s.pajama ? 0 : 1;
    } else if (name == "domohornWinkle" || name == "bodyVac") {
        s.sex -= 10.0f;
    } else if (name == "teleporter") {
        s.slp += 10.0f;
    }
}

float CCharacter::ActionWeight(const std::string& name) {
    const ActionHistory& history = GetHistory();
    if (!history.Contains(name))
        return 1.0f;
    if (name == history.Last())
        return 0.0f;
    const int count = history.Count(name);
    if (count <= 0)
        return 1.0f;
    if (count == 1)
        return 0.1f;
    if (count == 2)
        return 0.05f;
    return 0.02f;
}
