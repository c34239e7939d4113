#pragma once
#include <string>
#include <vector>

#include "character/item/TextureSwap.h"

class CTransform;

// One body variant: a node of the body model and the swaps that go with it.
struct ClothVariant {
    CTransform* node = nullptr;
    std::vector<TextureSwap> swaps;

    // Node shown, swaps applied.
    void Show(ITextureBinder* binder) const;
};

// node name + scope, RT_TRANSFORM; the swaps resolved with the same scope.
ClothVariant MakeClothVariant(const std::string& nodeName, const std::vector<TextureSwapRow>& rows,
                              const std::string& scope, ITextureBinder* binder);
