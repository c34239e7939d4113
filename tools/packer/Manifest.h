#pragma once
#include <string>
#include <vector>

#include "tools/packer/ArchivePacker.h"

// The inputs of every slot of the archive table, in directory order.
using ArchiveInputs = std::vector<std::vector<PackInput>>;

ArchiveInputs EmptyArchiveInputs();

// Reads a manifest: one entry a line, "<archive file> <entry path> <source
// file>" ("model/model03.bin model/ending/endRoll.hgm out/endRoll.hgm"),
// separated by spaces; a source file that is not absolute is relative to the
// manifest's folder. Blank lines and lines starting with '#' are skipped.
// Entries join their archive in the order read.
bool ReadManifest(const std::string& path, ArchiveInputs& inputs, std::string& error);

// Placeholder content until the real assets are built: one short text entry
// "placeholder.txt" (key PLACEHOLDER), naming its archive, in every archive
// that no manifest filled.
void AddPlaceholderEntries(ArchiveInputs& inputs);

// Packs every slot (empty ones give empty files), writes the archives under
// the data folder and the directory source at sourcePath. The packed
// archives are handed back through `packed` when it is given.
bool PackAllArchives(const ArchiveInputs& inputs, const std::string& dataFolder, const std::string& sourcePath,
                     std::string& error, std::vector<PackedArchive>* packed = nullptr);
