#pragma once
#include <cstdint>

// The character's body values and money, kept by her AI player. The bounds
// 0..100 of the three needs are the character's drift's to keep; this record
// only holds them.
struct CBodyStats {
    float slp = 0.0f;   // sleepiness
    float app = 0.0f;   // appetite
    float sex = 0.0f;   // the third need, rising in the late evening
    uint8_t bsl = 0;    // asleep
    uint8_t pajama = 0; // wearing pyjamas
    uint32_t mny = 0;   // money in yen
};

// Money plus an amount, held at the top of its type instead of wrapping.
inline uint32_t AddMoney(uint32_t money, uint32_t amount) {
    return money > UINT32_MAX - amount ? UINT32_MAX : money + amount;
}
