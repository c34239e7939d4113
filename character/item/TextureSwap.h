#pragma once
#include <string>
#include <vector>

class CResource;

// One row of a swap list: a material of the model and the texture file it
// takes.
struct TextureSwapRow {
    std::string material;
    std::string texture;
};

// What resolves and applies swaps on the device side: the character hands one
// in, built on the shaders and file textures of its registry.
class ITextureBinder {
public:
    virtual ~ITextureBinder() = default;
    // The loaded texture of that file name, or one loaded now from the
    // character's model folder; null when it cannot be had.
    virtual CResource* FindOrLoadTexture(const std::string& fileName) = 0;
    // Sets the texture on the shader.
    virtual void SetShaderTexture(CResource* shader, CResource* texture) = 0;
};

// A resolved swap: the shader (material + scope, RT_SHADER) and its texture.
struct TextureSwap {
    CResource* shader = nullptr;
    CResource* texture = nullptr;

    // False, and nothing set, when either side is missing.
    bool Apply(ITextureBinder* binder) const;
};

TextureSwap MakeTextureSwap(const TextureSwapRow& row, const std::string& scope, ITextureBinder* binder);
std::vector<TextureSwap> MakeTextureSwaps(const std::vector<TextureSwapRow>& rows, const std::string& scope,
                                          ITextureBinder* binder);
