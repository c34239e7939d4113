#include "character/show/TvShowLayout.h"

#include <cmath>

namespace {

struct FullScreenLayout {
    float x, y;
};

// y before the common lift of 50.
const FullScreenLayout FULL_SCREEN_LAYOUTS[TV_FULL_SCREEN_LAYOUT_COUNT] = {
    {15000.0f, 0.0f},
    {2400.0f, -1200.0f},
    {0.0f, 5000.0f},
};

constexpr float LIFT = 50.0f;

} // namespace

TvShowPlacement PlaceTvShow(bool fullScreen, int layoutIndex, int width, int height) {
    TvShowPlacement p;
    if (fullScreen) {
        const int i = layoutIndex >= 0 && layoutIndex < TV_FULL_SCREEN_LAYOUT_COUNT ? layoutIndex : 0;
        p.x = FULL_SCREEN_LAYOUTS[i].x;
        p.y = FULL_SCREEN_LAYOUTS[i].y;
    } else {
        const float hw = float(width / 2);
        const float hh = float(height / 2);
        const float q = 0.2625f * hw;
        p.x = std::floor(100.0f * (q - hw - 68.0f + 320.0f));
        p.y = std::floor(100.0f * (hh + 68.0f - q - 240.0f));
    }
    p.y += LIFT;
    return p;
}

float ToShowX(float px, int width, float tvX) { return (px - float(width / 2)) * 100.0f - tvX; }

float ToShowY(float py, int height, float tvY) { return (float(height / 2) - py) * 100.0f - tvY; }

bool IsOnTvPanel(int x, int y, int width, int height, const TvShowPlacement& tv) {
    const float sx = ToShowX(float(x), width, tv.x);
    const float sy = ToShowY(float(y), height, tv.y);
    return sx >= -32000.0f && sx < 0.0f && sy >= 0.0f && sy < 24000.0f;
}

float ItemShowScale(float radius) { return radius > 1e-6f ? 7000.0f / radius : 1.0f; }
