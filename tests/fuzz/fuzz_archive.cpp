// An archive file read and descrambled with a directory of rows taken from
// the input (which may reach past the bytes), then every entry looked up.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint32_t key = in.Word();
    const int rows = in.Byte() % 6;
    static const char* const KEYS[] = {"E0", "E1", "E2", "E3", "E4", "E5"};
    std::vector<ArchiveEntryRow> directory;
    for (int i = 0; i < rows; ++i) {
        uint32_t offset = in.Word(), length = in.Word();
        directory.push_back({offset, length, KEYS[i]});
    }
    directory.push_back({0, 0, nullptr});
    static const std::string folder = [] {
        std::string f = ScratchFile("archive");
        SetDataFolder(f.substr(0, f.find_last_of('/')));
        return f.substr(f.find_last_of('/') + 1);
    }();
    const std::string path = GetDataFolder() + "/" + folder;
    if (!WriteScratch(path, in.Rest(), in.Left()))
        return 0;
    ArchiveDescriptor descriptor = {folder.c_str(), key, directory.data()};
    CDataArchive archive(descriptor);
    for (int i = 0; i < rows; ++i) {
        ArchiveEntry entry = archive.GetEntry(std::string("x/") + KEYS[i] + ".bin");
        volatile uint8_t sum = 0;
        for (uint32_t b = 0; entry.data && b < entry.size; ++b)
            sum = uint8_t(sum + entry.data[b]);
        (void)sum;
    }
    std::remove(path.c_str());
    return 0;
}
