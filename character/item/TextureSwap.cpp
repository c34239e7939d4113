#include "character/item/TextureSwap.h"

#include "engine/resource/ResourceManager.h"

bool TextureSwap::Apply(ITextureBinder* binder) const {
    if (!binder || !shader || !texture)
        return false;
    binder->SetShaderTexture(shader, texture);
    return true;
}

TextureSwap MakeTextureSwap(const TextureSwapRow& row, const std::string& scope, ITextureBinder* binder) {
    TextureSwap swap;
    if (CurrentResourceManager) {
        swap.shader = CurrentResourceManager->Find((row.material + scope).c_str(), RT_SHADER);
        swap.texture = CurrentResourceManager->Find(row.texture.c_str(), RT_TEXTURE);
    }
    if (!swap.texture && binder)
        swap.texture = binder->FindOrLoadTexture(row.texture);
    return swap;
}

std::vector<TextureSwap> MakeTextureSwaps(const std::vector<TextureSwapRow>& rows, const std::string& scope,
                                          ITextureBinder* binder) {
    std::vector<TextureSwap> swaps;
    swaps.reserve(rows.size());
    for (const TextureSwapRow& row : rows)
        swaps.push_back(MakeTextureSwap(row, scope, binder));
    return swaps;
}
