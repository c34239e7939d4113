// deskmate_fuzz_seeds <folder>: writes well-formed inputs for the fuzz
// targets that have no generated data of their own to start from, one folder
// per target.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/archive/ArchiveStream.h"
#include "shell/settings/LaunchConfig.h"
#include "shell/state/StateFile.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

void PutWord(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_fuzz_seeds <folder>\n");
        return 2;
    }
    const std::string out = argv[1];
    bool ok = true;

    CSavedState state;
    state.cameraDistance = 600.0f;
    state.cameraInterest[1] = 60.0f;
    state.money = 50000;
    state.items = {{"clothDefault", 1}, {"kotatsu", 2}, {"nenekoCap", 0}};
    ok &= Write(out + "/fuzz_state_file/typical.dat", EncodeState(state));

    const std::string cfg = out + "/fuzz_launch_settings/defaults.cfg";
    std::filesystem::create_directories(out + "/fuzz_launch_settings");
    CLaunchConfig config;
    config.fileName = cfg.c_str();
    const int32_t defaults[LC_COUNT] = {0, 1, 0, 0, 0, 400, 300, 1, 1, 0, 0};
    std::memcpy(config.values, defaults, sizeof defaults);
    ok &= SaveLaunchConfig(config);

    CArchiveWriter stream;
    stream.WriteUInt32(0x10000);
    stream.WriteString("clothDefault");
    stream.WriteUInt16(7);
    stream.WriteFloat(1.5f);
    stream.WriteString(std::string(300, 'x'));
    std::vector<uint8_t> streamBytes = {0x5A};
    streamBytes.insert(streamBytes.end(), stream.GetBytes().begin(), stream.GetBytes().end());
    ok &= Write(out + "/fuzz_archive_stream/strings.bin", streamBytes);

    // Key, two rows, then the scrambled bytes they describe.
    std::vector<uint8_t> archive;
    PutWord(archive, 0x1234ABCD);
    archive.push_back(2);
    PutWord(archive, 0), PutWord(archive, 8), PutWord(archive, 8), PutWord(archive, 5);
    for (int i = 0; i < 13; ++i)
        archive.push_back(uint8_t(i * 17));
    ok &= Write(out + "/fuzz_archive/two_entries.bin", archive);

    // Three points linked in a chain.
    std::vector<uint8_t> links = {1};
    for (int32_t v : {1, -1, 0, 2, -1, 1, -1})
        PutWord(links, uint32_t(v));
    ok &= Write(out + "/fuzz_skin_links/chain.bin", links);

    std::vector<uint8_t> record = {0x1B};
    for (const char* t : {"room", "a"}) {
        record.insert(record.end(), t, t + std::strlen(t));
        record.resize((record.size() + 4) / 4 * 4 + 1, 0);
    }
    PutWord(record, 42);
    ok &= Write(out + "/fuzz_record_readers/fields.bin", record);

    ok &= Write(out + "/fuzz_archive_keys/path.txt",
                std::vector<uint8_t>{'m', 'o', 'd', 'e', 'l', '/', 'v', 'e', 's', 'k', 'o',
                                     '_', 'f', 'a', 'c', 'e', '.', '3', '.', 't', 'g', 'a'});
    if (!ok) {
        std::fprintf(stderr, "deskmate_fuzz_seeds: cannot write into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
