#pragma once
// Fakes and helpers shared by the AI and behaviour tests: the settings fake,
// items of each kind without models, seeds that make the generator's first
// draw a chosen value, and the world clock set to a time of day.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "character/act/ActRequest.h"
#include "character/item/Item.h"
#include "engine/core/Random.h"
#include "shell/world/World.h"
#include "tests/shell/support/FakeSetting.h"

// An item of any kind with no model behind it: worn is a flag.
class FakeItem : public CItem {
public:
    enum Kind {
        GOODS,
        ACCESSORY,
        CLOTH,
        ENDING
    };

    FakeItem(const std::string& name, Kind kind, int price = 1000, bool owned = false)
        : CItem(price, name, kind == ENDING ? "" : name),
          m_kind(kind) {
        m_owned = owned ? 1 : 0;
        m_collected = owned;
    }
    bool IsAccessory() const override { return m_kind == ACCESSORY; }
    bool IsCloth() const override { return m_kind == CLOTH; }
    bool IsEndingItem() const override { return m_kind == ENDING; }
    void SetOwned(bool owned) override {
        m_owned = owned ? 1 : 0;
        if (owned)
            m_collected = true;
    }
    bool IsCollected() const override { return m_collected; }
    void SetCollected(bool collected) override { m_collected = collected; }
    void PutOn() override { worn = true; }
    void TakeOff() override { worn = false; }
    bool IsWorn() const override { return worn; }
    std::string GetScope() const override { return ""; }
    ModelRef GetPresentationNode1() const override { return ModelRef{"", 0}; }
    ModelRef GetPresentationNode2() const override { return ModelRef{"", 0}; }
    ModelRef GetPresentationNode3() const override { return ModelRef{"", 0}; }

    bool worn = false;

private:
    Kind m_kind;
    bool m_collected;
};

// The seed after which the generator's next draw is the given value (0..32767).
inline unsigned SeedForFirstDraw(int value) {
    // state' = state × 214013 + 2531011 and the draw is bits 16..30 of state'.
    const uint32_t a = 214013u;
    uint32_t inverse = a; // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - a * inverse;
    const uint32_t wanted = (uint32_t)value << 16;
    return (wanted - 2531011u) * inverse;
}

// The first n draws after a seed, leaving the generator seeded as before.
inline std::vector<int> DrawsAfter(unsigned seed, int n) {
    SeedRand(seed);
    std::vector<int> draws;
    for (int i = 0; i < n; ++i)
        draws.push_back(Rand());
    SeedRand(seed);
    return draws;
}

// The first seed from 1 whose first draws satisfy the test; the generator is
// left seeded with it.
inline unsigned SeedWhere(int n, const std::function<bool(const std::vector<int>&)>& test) {
    for (unsigned seed = 1; seed < 2000000u; ++seed) {
        if (test(DrawsAfter(seed, n)))
            return seed;
    }
    return 0;
}

// rand() scaled as the program's frand.
inline float Unit(int draw) { return (float)draw / 32767.0f; }

// The world clock at a time of day (seconds), time ratio kept.
inline void SetClock(CWorld& world, float seconds) {
    float ratio = world.GetTimeRatio();
    float step = seconds - world.GetClockSeconds();
    world.AdvanceClock(step * 1000.0f / ratio);
}

// One second into the minute, so that rounding never lands in the one before.
inline void SetHour(CWorld& world, int hour, int minute = 0) {
    SetClock(world, hour * 3600.0f + minute * 60.0f + 1.0f);
}

// A request as one line: the name and its words, separated by spaces.
inline std::string Line(const CActRequest& request) {
    std::string line = request.name;
    for (const std::string& word : request.words)
        line += " " + word;
    return line;
}

inline std::vector<std::string> Lines(const std::vector<CActRequest>& plan) {
    std::vector<std::string> lines;
    for (const CActRequest& request : plan)
        lines.push_back(Line(request));
    return lines;
}
