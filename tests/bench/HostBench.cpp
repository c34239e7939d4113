// The host half of the benchmark: the costs of the data path and of one
// fixed update, measured natively with the build's own archives.
//   deskmate_bench [--repeat N] --manifest FILE...
// Prints one "name value unit" line a figure.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/anim/AnimChunkLoaders.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "shell/world/World.h"
#include "tools/packer/Manifest.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

template <typename F>
double BestOf(int repeat, F&& run) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        const Clock::time_point start = Clock::now();
        run();
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

bool EndsWith(const std::string& text, const char* tail) {
    const size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

} // namespace

int main(int argc, char** argv) {
    ArchiveInputs inputs = EmptyArchiveInputs();
    int repeat = 5;
    std::string error;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--manifest" && i + 1 < argc) {
            if (!ReadManifest(argv[++i], inputs, error)) {
                std::fprintf(stderr, "deskmate_bench: %s\n", error.c_str());
                return 1;
            }
        } else if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: deskmate_bench [--repeat N] --manifest FILE...\n");
            return 2;
        }
    }

    // The archives exactly as the build packs them, in a folder of our own.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "deskmate_bench_data";
    std::filesystem::remove_all(folder);
    std::vector<PackedArchive> packed;
    const std::string source = (folder / "table.cpp").string();
    std::filesystem::create_directories(folder);
    if (!PackAllArchives(inputs, folder.string(), source, error, &packed)) {
        std::fprintf(stderr, "deskmate_bench: %s\n", error.c_str());
        return 1;
    }
    SetDataFolder(folder.string());

    // Reading and descrambling every archive, against memcpy of its bytes.
    size_t bytes = 0;
    for (const PackedArchive& archive : packed)
        bytes += archive.image.size();
    const double open = BestOf(repeat, [&] {
        for (const PackedArchive& archive : packed) {
            std::vector<ArchiveEntryRow> rows = DirectoryRows(archive);
            CDataArchive opened({archive.fileName.c_str(), archive.key, rows.data()});
            if (opened.GetBufferSize() != archive.image.size())
                std::fprintf(stderr, "deskmate_bench: %s read short\n", archive.fileName.c_str());
        }
    });
    std::vector<std::vector<uint8_t>> copies(packed.size());
    for (size_t a = 0; a < packed.size(); ++a)
        copies[a].resize(packed[a].image.size());
    const double copy = BestOf(repeat, [&] {
        for (size_t a = 0; a < packed.size(); ++a)
            if (!packed[a].image.empty())
                std::memcpy(copies[a].data(), packed[a].image.data(), packed[a].image.size());
    });
    const double descramble = BestOf(repeat, [&] {
        for (size_t a = 0; a < packed.size(); ++a)
            DescrambleArchive(copies[a].data(), copies[a].size(), packed[a].key);
    });
    const double mib = double(bytes) / (1024.0 * 1024.0);
    std::printf("archive_bytes %zu bytes\n", bytes);
    std::printf("archive_open_ms %.3f ms\n", open * 1e3);
    std::printf("descramble_mib_s %.1f MiB/s\n", mib / descramble);
    std::printf("memcpy_mib_s %.1f MiB/s\n", mib / copy);
    std::printf("descramble_vs_memcpy %.3f ratio\n", copy / descramble);
    std::printf("archive_open_vs_memcpy %.2f ratio\n", open / copy);

    // Every model file through the chunk loader (the loaders that build on
    // the host: scene and animation records).
    RegisterSceneChunkHandlers();
    RegisterAnimChunkHandlers();
    std::vector<std::unique_ptr<CDataArchive>> modelArchives;
    std::vector<std::pair<CDataArchive*, std::string>> models;
    std::vector<std::vector<ArchiveEntryRow>> modelRows;
    for (const PackedArchive& archive : packed) {
        if (archive.fileName.rfind("model/model", 0) != 0)
            continue;
        modelRows.push_back(DirectoryRows(archive));
        modelArchives.push_back(std::make_unique<CDataArchive>(
            ArchiveDescriptor{archive.fileName.c_str(), archive.key, modelRows.back().data()}));
        for (const PackedRow& row : archive.rows)
            models.push_back({modelArchives.back().get(), row.key + ".hgm"});
    }
    const double load = BestOf(repeat, [&] {
        for (const auto& [archive, path] : models) {
            ArchiveEntry entry = archive->GetEntry(path);
            CResourceManager registry;
            LoadChunkStream(&registry, entry.data, entry.size, CHUNK_MASK_ALL);
        }
    });
    std::printf("model_files %zu files\n", models.size());
    std::printf("model_load_ms %.3f ms\n", load * 1e3);

    // One fixed update, averaged over an hour of 16.67 ms steps.
    CWorld world("world");
    const float step = 1000.0f / 60.0f;
    const int steps = 3600 * 60;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < steps; ++i)
        world.AdvanceClock(step);
    const double update = SecondsSince(start) / steps;
    std::printf("update_steps %d steps\n", steps);
    std::printf("update_us %.3f us\n", update * 1e6);
    std::filesystem::remove_all(folder);
    return 0;
}
