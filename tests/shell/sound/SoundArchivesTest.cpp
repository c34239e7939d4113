#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "engine/archive/ArchiveKey.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/core/LittleEndian.h"
#include "platform/audio/WavReader.h"
#include "shell/sound/SoundCueTable.h"

namespace {

std::set<std::string> DirectoryKeys(int index) {
    std::set<std::string> keys;
    const ArchiveDescriptor* d = GetArchiveDescriptor(AK_SOUND, index);
    for (const ArchiveEntryRow* row = d && d->directory ? d->directory : nullptr; row && row->key; ++row)
        keys.insert(row->key);
    return keys;
}

// The largest magnitude of a 16-bit PCM WAV's samples.
int PeakOf(const WaveData& wave) {
    int peak = 0;
    for (uint32_t i = 0; i + 1 < wave.size; i += 2) {
        int v = int16_t(ReadLe16(wave.samples + i));
        peak = std::max(peak, v < 0 ? -v : v);
    }
    return peak;
}

// The sound archives that the build packed: their compiled directories hold
// exactly the cue table's WAVs and the ending music, and each entry is a
// WAV whose samples stay below full scale. The tests run in the data folder.
TEST(SoundArchives, DirectoriesHoldTheCueWavsAndTheEndingMusic) {
    if (!GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_SOUND, 0)])
        GTEST_SKIP() << "this build has no generated archive table";
    std::set<std::string> cueKeys;
    for (const SoundCueRow& row : SOUND_CUE_TABLE)
        cueKeys.insert(MakeArchiveKey(row.path));
    EXPECT_EQ(cueKeys.size(), size_t(SOUND_CUE_COUNT));
    EXPECT_EQ(DirectoryKeys(0), cueKeys);
    EXPECT_EQ(DirectoryKeys(1), std::set<std::string>{"ED_MIX_MASTER"});

    struct Restore {
        std::string folder = GetDataFolder();
        ~Restore() { SetDataFolder(folder); }
    } restore;
    SetDataFolder(std::filesystem::current_path().string());
    std::unique_ptr<CDataArchive> effects(OpenSoundArchive(0)), music(OpenSoundArchive(1));
    ASSERT_TRUE(effects && music);
    struct Entry {
        CDataArchive* archive;
        const char* path;
        uint32_t shortestMs;
    };
    std::vector<Entry> entries;
    for (const SoundCueRow& row : SOUND_CUE_TABLE)
        entries.push_back({effects.get(), row.path, 50});
    entries.push_back({music.get(), ENDING_MUSIC_PATH, 60000});
    for (const Entry& e : entries) {
        ArchiveEntry entry = e.archive->GetEntry(e.path);
        ASSERT_NE(entry.data, nullptr) << e.path;
        WaveData wave = {};
        ASSERT_EQ(ReadWav(entry.data, entry.size, wave), WAV_OK) << e.path;
        EXPECT_EQ(wave.format.bitsPerSample, 16) << e.path;
        EXPECT_GE(uint64_t(wave.size) * 1000 / wave.format.bytesPerSecond, e.shortestMs) << e.path;
        int peak = PeakOf(wave);
        EXPECT_LT(peak, 32000) << e.path;
        EXPECT_GT(peak, 16000) << e.path;
    }
}

} // namespace
