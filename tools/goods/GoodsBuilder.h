#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/TexturePainter.h"

// The goods and room-prop models of model archive 0 ("model/common/*.hgm")
// and the goods' pictures of texture list 0. Every model "<base>.hgm" has the
// top "<base>Root" in room coordinates, the resting place "<base>Init" under
// it, the carried part "<base>Handling" under that (at its origin: where a
// hand holds it, its long axis along +z) and the view node under the carried
// part, which holds the meshes.

// Folder of the goods' files in the archives (model path prefix 0).
constexpr const char* GOODS_ENTRY_FOLDER = "model/common/";

// The chunk stream of the model of that base name (a name of GoodsPlaces()).
// False, with a message, for an unknown name or a refused record.
bool BuildGoodsModel(const std::string& base, std::vector<uint8_t>& bytes, std::string& error);

// The goods' pictures by texture file name ("conga_metal.tga" ...).
std::vector<PaintedTexture> PaintGoodsTextures();

// Writes every goods model and picture into `folder` with a manifest there
// ("goods.manifest") that puts them into model archive 0 and texture archive
// 0. The same bytes on every run.
bool WriteGoodsContent(const std::string& folder, std::string& error);
