#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/archive/DataArchive.h"

// One file to put into an archive: the path the program asks for (its key
// is MakeArchiveKey of it) and the file's bytes.
struct PackInput {
    std::string path;
    std::vector<uint8_t> bytes;
};

struct PackedRow {
    std::string key;
    uint32_t offset;
    uint32_t size;
};

// One archive as written: the scrambled file image and its directory.
struct PackedArchive {
    int slot = -1;
    std::string fileName;
    uint32_t key = 0;
    std::vector<PackedRow> rows;
    std::vector<uint8_t> image;
};

// The archive's key, made from its file name so that builds repeat; never 0.
uint32_t ChooseArchiveKey(const std::string& fileName);

// Concatenates the inputs in the order given, with no header or padding,
// and scrambles the result with the key. Refuses (false, with a message)
// two inputs with one key, an empty key or more than 4 GiB in all.
bool PackArchive(const std::string& fileName, uint32_t key, const std::vector<PackInput>& inputs, PackedArchive& out,
                 std::string& error);

// Writes the image under the data folder, making its folder.
bool WriteArchiveFile(const std::string& dataFolder, const PackedArchive& archive, std::string& error);

// The directory rows for CDataArchive, ended by a null-key row. The keys
// point into `archive`, which must outlive the rows.
std::vector<ArchiveEntryRow> DirectoryRows(const PackedArchive& archive);

// The generated source: GENERATED_ARCHIVE_KEYS and
// GENERATED_ARCHIVE_DIRECTORIES for every slot of the archive table. Slots
// without a packed archive get key 0 and no directory.
std::string DirectorySource(const std::vector<PackedArchive>& archives);
