#pragma once
#include <string>
#include <vector>

#include "tools/media/Canvas.h"

// Vesko's pictures (texture list 4): her skin under every outfit, the
// twelve face frames, her hair, the clothes' own textures, the accessory
// textures and the round shadow. Skin pictures follow the body's texture
// layout (VeskoModels.h): u round the part with the front in the middle, v
// down the part.
struct VeskoTexture {
    std::string fileName; // as the models and swaps name it ("vesko_skinArm.tga")
    CCanvas image;
    bool alpha; // stored with its alpha channel (only the shadow)
};

// Every picture of list 4, in the list's order, painted the same on every run.
std::vector<VeskoTexture> PaintVeskoTextures();

// The picture of one face frame (1 to 12).
CCanvas PaintVeskoFace(int frame);
