#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/Canvas.h"

// The TV-shopping show's content: the three models of model archive 1 (the
// TV "TvRoot", its screen "AnimateTextures" and the wheel "moneyDial"), the
// three motions of animation archive 1 and the 124 pictures of texture
// list 1 (item name plates, cloth pictures and the show's own art). Show
// units: 100 a window pixel at 640 × 480, x right, y up, facing +z; the TV
// node's point is the screen's lower right corner.

// The model archive's entries in directory order and the animation archive's.
struct ShowEntry {
    const char* archive;
    const char* path;
    const char* file; // in the output folder
};
extern const ShowEntry SHOW_MODEL_ENTRIES[3];
extern const ShowEntry SHOW_ANIMATION_ENTRIES[3];

// The picture for one texture-list-1 name (its archive key), or false with a
// message for a name the show has no art for or text the font cannot draw.
bool PaintShowTexture(const std::string& key, CCanvas& out, std::string& error);
// The file name a texture-list-1 key is stored under (the catalogue's
// spelling where it has one, "tv_item45_furin.tga").
std::string ShowTextureFileName(const std::string& key);

bool BuildTvModel(std::vector<uint8_t>& bytes, std::string& error);
bool BuildScreenModel(std::vector<uint8_t>& bytes, std::string& error);
bool BuildDialModel(std::vector<uint8_t>& bytes, std::string& error);
// "taveluneTV", "taveluneTVEnding" or "TVAnimateTexture".
bool BuildShowAnimation(const std::string& set, std::vector<uint8_t>& bytes, std::string& error);

// Frames of the show motion: the show's running time.
constexpr float SHOW_MOTION_FRAMES = 900.0f;

// Everything above into folder, with "show.manifest" for the packer.
bool WriteShowContent(const std::string& folder, std::string& error);
