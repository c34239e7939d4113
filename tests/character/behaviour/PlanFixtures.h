#pragma once
// A character without a body whose start actions stand at known places, and
// a writer of expected plans in the notation of the plan table.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/act/Act.h"
#include "tests/character/ai/AiFixtures.h"

// An action that only carries a start placement: its reference chain matrix
// is a translation.
class StartOnlyAct : public CAct {
public:
    StartOnlyAct(const std::string& name, float x, float z) : CAct(name, nullptr, 1) {
        m_referenceChain.SetTranslation(x, 0.0f, z);
    }
    const char* GetClassName() const override { return "StartOnlyAct"; }
    bool Start(const std::vector<std::string>&) override { return true; }
    void End() override {}
    bool Update(float, bool, float) override { return false; }
    int GetLength() override { return 0; }
    int GetTime() override { return 0; }
};

// Every action whose start a plan walks to.
inline const std::vector<std::string>& StartActionNames() {
    static const std::vector<std::string> names = {
        "roll00",
        "sleepIn",
        "sleepInSleep00",
        "doorOut00",
        "tvDown00",
        "chairDown00",
        "chairRideOn00",
        "kotatsuIn00",
        "reizoukoOn00",
        "eatDown00",
        "domohornHandle00",
        "domohornReleaseP00",
        "punchingBagP03",
        "punchingBag04",
        "bodyBladeHandleP01",
        "bodyBladeReleaseP00",
        "lightSaberHandle00",
        "lightSaberReleaseP00",
        "segwayOn00",
        "segwayOffPP02",
        "segwayOn01",
        "bodyVacHandle00",
        "bodyVac00",
        "bodyVacReleaseP00",
        "bodyVibratorOn00",
        "teleporterHandle00",
        "teleporter00",
        "teleporter01",
        "teleporter02",
        "teleporterReleaseP00",
        "congaOn00",
        "senpukiOn00",
        "osageBexlaOff00",
    };
    return names;
}

// Where StartOnlyAct number i stands: distinct for every name.
inline float StartX(size_t i) { return 10.0f * (float)i + 1.5f; }
inline float StartZ(size_t i) { return -7.0f * (float)i - 2.25f; }

inline std::string F(float v) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", v);
    return text;
}

struct PlanCharacter {
    CCharacter character;
    explicit PlanCharacter(const char* name, std::vector<CItem*> items = {})
        : character(name, Setup(std::move(items))) {
        const auto& names = StartActionNames();
        for (size_t i = 0; i < names.size(); ++i)
            character.AddAction(new StartOnlyAct(names[i], StartX(i), StartZ(i)));
    }
    static CharacterSetup Setup(std::vector<CItem*> items) {
        CharacterSetup setup;
        setup.items = std::move(items);
        return setup;
    }
};

// Expected requests, written with the plan table's notation; draws are read
// from the seed's sequence in order.
class ExpectedPlan {
public:
    ExpectedPlan(const std::vector<int>& draws, bool asleep, bool kotatsu)
        : m_draws(draws),
          m_asleep(asleep),
          m_kotatsu(kotatsu) {}

    void A(const std::string& name) { lines.push_back(name); }
    void A(const std::string& name, const std::string& word) { lines.push_back(name + " " + word); }
    void Blend(int n) { lines.push_back("blend 0.000000 " + F((float)n)); }
    void Move(const std::string& name, float x, float z) { lines.push_back(name + " " + F(x) + " " + F(z)); }
    void MoveToStart(const std::string& name, const std::string& action) {
        size_t i = Index(action);
        Move(name, StartX(i), StartZ(i));
    }
    void W(float x, float z, bool before, bool after) {
        if (before)
            Blend(30);
        Move(m_asleep ? "walkSleep00" : "walk", x, z);
        if (after)
            Blend(15);
    }
    void WalkToStart(const std::string& name, bool before, bool after) {
        size_t i = Index(name);
        W(StartX(i), StartZ(i), before, after);
    }
    void S(const std::string& name, bool before, bool after) {
        WalkToStart(name, before, after);
        A(name);
    }
    // The random walk: x over the free floor, then z.
    void R(bool before, bool after) {
        float x = m_kotatsu ? Rounded(Rounded((float)(Next() * 200) / 32767.0f) + 100.0f)
                            : Rounded(Rounded((float)(Next() * 500) / 32767.0f) - 200.0f);
        float z = Rounded(Rounded((float)(Next() * 150) / 32767.0f) + 100.0f);
        W(x, z, before, after);
    }
    // Each step rounded to a float in memory, as on the host.
    static float Rounded(float v) {
        volatile float r = v;
        return r;
    }
    void Loops(const std::string& name, int count) { A(name, F((float)count)); }
    int Next() { return m_draws.at(m_used++); }
    // A draw that the case's seed was chosen for; only consumed.
    void Draw() { ++m_used; }
    size_t Used() const { return m_used; }

    std::vector<std::string> lines;

private:
    static size_t Index(const std::string& name) {
        const auto& names = StartActionNames();
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                return i;
        return 9999;
    }

    std::vector<int> m_draws;
    size_t m_used = 0;
    bool m_asleep;
    bool m_kotatsu;
};
