#include "shell/sound/SoundCueTable.h"

// clang-format off
const SoundCueRow SOUND_CUE_TABLE[SOUND_CUE_COUNT] = {
    {"tvJingle",      "sound/Qor_005.wav"},
    {"tvRegi",        "sound/register.wav"},
    {"chime",         "sound/chime000.wav"},
    {"lightSaber",    "sound/s_001.wav"},
    {"teleporterIn",  "sound/esp_001.wav"},
    {"teleporterOut", "sound/esp_000.wav"},
    {"conga0",        "sound/conga1.wav"},
    {"conga1",        "sound/conga3b.wav"},
    {"conga2",        "sound/conga4.wav"},
    {"conga3",        "sound/conga2.wav"},
    {"otama",         "sound/otama.wav"},
    {"bodyBlade",     "sound/heli2.wav"},
    {"doorOut",       "sound/LF001_eL.wav"},
    {"doorIn",        "sound/LF010_eL.wav"},
    {"chair0",        "sound/ko.wav"},
    {"chair1",        "sound/ga.wav"},
    {"furo0",         "sound/zabar.wav"},
    {"furo1",         "sound/pitya_1.wav"},
    {"furo2",         "sound/pitya_2.wav"},
    {"furo3",         "sound/hanauta_1.wav"},
    {"kettei",        "sound/kettei.wav"},
    {"cancel",        "sound/cansel.wav"},
    {"open",          "sound/open.wav"},
    {"tvBroken",      "sound/bakuhatu.wav"},
};
// clang-format on

const char* const ENDING_MUSIC_PATH = "sound/ed_mix_master.wav";
