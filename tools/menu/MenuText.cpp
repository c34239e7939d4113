#include "tools/menu/MenuText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/media/FontRaster.h"

namespace {

CFontRaster& MenuFont() {
    static CFontRaster font;
    static bool opened = false;
    if (!opened) {
        opened = true;
        if (!font.Open())
            std::fprintf(stderr, "menu text: %s\n", font.LastError().c_str());
    }
    return font;
}

} // namespace

bool DrawMenuText(CCanvas& canvas, const std::string& utf8, float x, float y, int pixelSize, Rgba colour,
                  MenuTextAlign align) {
    TextMask mask;
    if (!MenuFont().Render(utf8, TE_UTF8, pixelSize, mask))
        return false;
    const float left = align == TEXT_LEFT     ? x
                       : align == TEXT_CENTRE ? x - float(mask.width) / 2
                                              : x - float(mask.width);
    // The line's middle: half the em above the baseline reads as centred
    // for both kana and Latin capitals.
    const float top = y - (float(mask.baseline) - float(pixelSize) * 0.42f);
    DrawTextMask(canvas, mask, int(std::lround(left)), int(std::lround(top)), colour);
    return true;
}
