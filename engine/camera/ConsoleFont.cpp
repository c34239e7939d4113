#include "engine/camera/ConsoleFont.h"

#include "engine/texture/Texture.h"

CTexture* MakeConsoleFont(CHandle& handle) {
    CFileTexture* font =
        new CFileTexture("font", "fontTable.TGA", TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_WRAP, TAM_WRAP, 1, false);
    handle = font->GetHandle();
    return font;
}
