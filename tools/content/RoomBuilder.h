#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The room model "model/common/room.hgm": a furnished Japanese-style room
// under "roomRoot", the three sky cylinders outside, the window glass and
// the three time-of-day window panes, with the materials the world drives.
// Everything is built from primitives in room units (+Y up, floor at 0).

// The path the world loads the room from.
constexpr const char* ROOM_MODEL_PATH = "model/common/room.hgm";
// Folder of the room's files in the archives (the model path prefix 0).
constexpr const char* ROOM_ENTRY_FOLDER = "model/common/";

// The room's chunk stream. False, with a message, when the writer refused
// a record (the bytes are then unusable).
bool BuildRoomModel(std::vector<uint8_t>& bytes, std::string& error);

// Writes room.hgm and the painted textures into `folder`, and a manifest
// there ("room.manifest") that puts them into model archive 0 and texture
// archive 0. Output is the same byte for byte on every run.
bool WriteRoomContent(const std::string& folder, std::string& error);
