#pragma once
#include <cstdint>
#include <string>

// The texts the menu draws for the money and the collected share.

// The most money the menu shows; more shows as this.
constexpr uint32_t MENU_MONEY_LIMIT = 100000000;

// Decimal digits with a ',' after every third digit from the right, never in
// front: 1234567 gives "1,234,567", 0 gives "0".
std::string FormatMoney(uint32_t money);
// "%.2f" of a percentage, held to 0..100 (a share that is not a number
// shows as 0), so that the text is never longer than "100.00".
std::string FormatPercent(float percent);
