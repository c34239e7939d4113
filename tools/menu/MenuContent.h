#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/Canvas.h"

// The configuration menu's model "model/indicator/configMenu.hgm" and its
// one texture "CONFIG": a flat panel in the model's XZ plane (+X right, +Z
// down the screen, facing +Y) in menu units, 1 unit a texel of the panel's
// art, with every node the menu looks up placed where its row, button or
// number goes.

constexpr const char* MENU_MODEL_ENTRY = "model/indicator/configMenu.hgm";
constexpr const char* MENU_TEXTURE_FILE = "CONFIG.tga";
constexpr const char* MENU_TEXTURE_ENTRY = "model/indicator/CONFIG.tga";
constexpr int MENU_TEXTURE_SIZE = 512;

// A node of the menu model as authored: its name, its parent's name (empty
// for the top), its place (translation X and Z) and whether it shows.
struct MenuNodeSpec {
    std::string name;
    std::string parent;
    float x, z;
    bool visible;
};
// Every named transform, parents before children.
std::vector<MenuNodeSpec> MenuNodeLayout();

// The menu's chunk stream. False, with a message, when a record was refused.
bool BuildConfigMenuModel(std::vector<uint8_t>& bytes, std::string& error);
// The art of every part, opaque, MENU_TEXTURE_SIZE square. False, with a
// message, when the font cannot draw a label.
bool PaintConfigTexture(CCanvas& out, std::string& error);
// Writes the model, the texture and "menu.manifest", which puts them into
// model archive 2 and texture archive 2. The same bytes on every run.
bool WriteMenuContent(const std::string& folder, std::string& error);
