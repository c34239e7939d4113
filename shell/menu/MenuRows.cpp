#include "shell/menu/MenuRows.h"

#include "shell/settings/Setting.h"

// clang-format off
const MenuRowSpec MENU_ROWS[7] = {
    {{"star2", "star1", "star"}, 3,
     [](ISetting& s) { return s.GetWindowConfig(); },        [](ISetting& s, int i) { s.SetWindowConfig(i); }},
    {{"star3", "star4", "star5"}, 3,
     [](ISetting& s) { return s.GetWindowMode(); },          [](ISetting& s, int i) { s.SetWindowMode(i); }},
    {{"star6", "star7"}, 2,
     [](ISetting& s) { return int(s.IsFixed()); },           [](ISetting& s, int i) { s.SetFixed(i != 0); }},
    {{"star8", "star9"}, 2,
     [](ISetting& s) { return int(s.IsTopmost()); },         [](ISetting& s, int i) { s.SetTopmost(i != 0); }},
    {{"star10", "star11"}, 2,
     [](ISetting& s) { return int(s.IsCameraAuto()); },      [](ISetting& s, int i) { s.SetCameraAuto(i != 0); }},
    {{"star12", "star13"}, 2,
     [](ISetting& s) { return int(s.IsQuillombMode()); },    [](ISetting& s, int i) { s.SetQuillombMode(i != 0); }},
    {{"star14", "star15"}, 2,
     [](ISetting& s) { return int(s.IsSoundOn()); },         [](ISetting& s, int i) { s.SetSoundOn(i != 0); }},
};
// clang-format on
