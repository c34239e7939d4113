#include "tools/packer/Manifest.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/archive/ArchiveTable.h"

ArchiveInputs EmptyArchiveInputs() { return ArchiveInputs(ARCHIVE_SLOT_COUNT); }

bool ReadManifest(const std::string& path, ArchiveInputs& inputs, std::string& error) {
    if (inputs.size() != size_t(ARCHIVE_SLOT_COUNT))
        inputs.resize(ARCHIVE_SLOT_COUNT);
    std::ifstream manifest(path);
    if (!manifest) {
        error = "cannot read manifest " + path;
        return false;
    }
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::string line;
    int lineNumber = 0;
    while (std::getline(manifest, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string archive, entry, source, extra;
        if (!(words >> archive) || archive[0] == '#')
            continue;
        std::string where = path + ":" + std::to_string(lineNumber) + ": ";
        if (!(words >> entry >> source) || (words >> extra)) {
            error = where + "expected <archive file> <entry path> <source file>";
            return false;
        }
        int slot = -1;
        for (int s = 0; s < ARCHIVE_SLOT_COUNT; ++s)
            if (archive == ArchiveFileName(s))
                slot = s;
        if (slot < 0) {
            error = where + "no archive " + archive;
            return false;
        }
        std::filesystem::path file(source);
        if (file.is_relative())
            file = folder / file;
        PackInput input;
        input.path = entry;
        if (!ReadWholeFile(file.string(), input.bytes)) {
            error = where + "cannot read " + file.string();
            return false;
        }
        inputs[size_t(slot)].push_back(std::move(input));
    }
    return true;
}

void AddPlaceholderEntries(ArchiveInputs& inputs) {
    if (inputs.size() != size_t(ARCHIVE_SLOT_COUNT))
        inputs.resize(ARCHIVE_SLOT_COUNT);
    for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot) {
        if (!inputs[size_t(slot)].empty())
            continue;
        std::string text = std::string("placeholder entry of ") + ArchiveFileName(slot) + "\n";
        inputs[size_t(slot)].push_back({"placeholder.txt", std::vector<uint8_t>(text.begin(), text.end())});
    }
}

bool PackAllArchives(const ArchiveInputs& inputs, const std::string& dataFolder, const std::string& sourcePath,
                     std::string& error, std::vector<PackedArchive>* packed) {
    std::vector<PackedArchive> archives;
    for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot) {
        std::string fileName = ArchiveFileName(slot);
        static const std::vector<PackInput> none;
        const std::vector<PackInput>& slotInputs = size_t(slot) < inputs.size() ? inputs[size_t(slot)] : none;
        PackedArchive archive;
        if (!PackArchive(fileName, ChooseArchiveKey(fileName), slotInputs, archive, error))
            return false;
        if (!WriteArchiveFile(dataFolder, archive, error))
            return false;
        archives.push_back(std::move(archive));
    }
    std::string source = DirectorySource(archives);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(sourcePath).parent_path(), ec);
    std::ofstream out(sourcePath, std::ios::binary | std::ios::trunc);
    out << source;
    out.close();
    if (!out) {
        error = "cannot write " + sourcePath;
        return false;
    }
    if (packed)
        *packed = std::move(archives);
    return true;
}
