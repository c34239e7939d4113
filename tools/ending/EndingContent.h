#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/Canvas.h"

// The content of model and animation groups 2 (the screen-saver logo; the
// configuration menu of that group comes from elsewhere) and 3 (the staff
// roll and the smoke), and their pictures in texture lists 2 and 3.

// One generated file: its path inside the archives and its bytes.
struct EndingFile {
    std::string archive; // "model/model03.bin" ...
    std::string path;    // "model/ending/endRoll.hgm" ...
    std::vector<uint8_t> bytes;
};

// The staff roll's pictures, painted: "end_congratulations" (titles and
// logo), "end_gradation", "end_staff1" and "end_staff2" (the credits and the
// closing greeting).
CCanvas PaintStaffRollPicture(const std::string& name);
// The logo's lettering "SC_MOZI" and the smoke puff, both with alpha.
CCanvas PaintLogoLettering();
CCanvas PaintSmokePuff();

// Every file, in archive order; false with a message when a record was refused.
bool BuildEndingFiles(std::vector<EndingFile>& files, std::string& error);

// Writes the files into `folder` with "ending.manifest"; the same bytes on
// every run.
bool WriteEndingContent(const std::string& folder, std::string& error);
