#include "character/item/ClothVariant.h"

#include "character/item/ItemNodes.h"
#include "engine/scene/Transform.h"

void ClothVariant::Show(ITextureBinder* binder) const {
    if (node)
        node->SetVisible(1.0f);
    for (const TextureSwap& swap : swaps)
        swap.Apply(binder);
}

ClothVariant MakeClothVariant(const std::string& nodeName, const std::vector<TextureSwapRow>& rows,
                              const std::string& scope, ITextureBinder* binder) {
    ClothVariant variant;
    variant.node = ResolveTransform(FindTransformHandle(nodeName, scope));
    variant.swaps = MakeTextureSwaps(rows, scope, binder);
    return variant;
}
