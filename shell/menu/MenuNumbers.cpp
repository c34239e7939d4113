#include "shell/menu/MenuNumbers.h"

#include <cmath>
#include <cstdio>

std::string FormatMoney(uint32_t money) {
    const std::string digits = std::to_string(money);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string FormatPercent(float percent) {
    if (!(percent >= 0.0f)) // also NaN
        percent = 0.0f;
    if (percent > 100.0f)
        percent = 100.0f;
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", double(percent));
    return text;
}
