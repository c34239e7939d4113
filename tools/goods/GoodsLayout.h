#pragma once
#include <string>
#include <vector>

#include "tools/content/MeshBuilder.h"

// Where each good and room prop stands in the room (room units, +Y up), and
// the names its model carries. The goods models are authored at these
// places, and her fixed-origin motions walk up to them, so both read them
// from here.

struct GoodsPlace {
    std::string base;       // model base name = catalogue name ("bodyVibrator" for "beltVibrator.hgm")
    MeshPoint rest;         // "<base>Init" translation: the carried part's resting place
    MeshPoint restRotation; // and its turn (radians, x then y then z)
    std::string file{};     // the file name of the character's preload list ("beltVibrator.hgm")
    std::string viewNode{}; // the catalogue's view node ("<base>" for the model no item uses)
};

// The 24 goods and room-prop models in the order the character's preload
// list loads them.
const std::vector<GoodsPlace>& GoodsPlaces();
const GoodsPlace* FindGoodsPlace(const std::string& base);

// Fixed points of the room the motions use besides the goods.
namespace RoomSpots {
// The bed's lying place: her hips on the mattress, head toward -x.
constexpr MeshPoint BED{-420, 44, -196};
// Where she stands before the bed, the door and the TV.
constexpr MeshPoint BEFORE_BED{-420, 0, -110};
constexpr MeshPoint BEFORE_DOOR{200, 0, -215};
constexpr MeshPoint BEYOND_DOOR{200, 0, -330};
constexpr MeshPoint BEFORE_TV{0, 0, -110};
// The kotatsu's near side, where she sits (facing -z, toward the TV).
constexpr MeshPoint KOTATSU_SEAT{0, 0, 95};
// The place she eats at.
constexpr MeshPoint TABLE_SEAT{-100, 0, 100};
} // namespace RoomSpots
