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

#include "character/Character.h"
#include "character/preload/PreloadLists.h"
#include "character/show/TvPreload.h"
#include "character/show/TvShowStage.h"
#include "engine/anim/AnimChunkLoaders.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/core/Random.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "shell/camera/CameraManager.h"
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

// A packed archive opened from its file as the program opens it (the
// archive copies its directory rows).
std::unique_ptr<CDataArchive> OpenPacked(const PackedArchive& archive) {
    const std::vector<ArchiveEntryRow> rows = DirectoryRows(archive);
    return std::make_unique<CDataArchive>(ArchiveDescriptor{archive.fileName.c_str(), archive.key, rows.data()});
}

// One fixed update of the world, the camera, her and the show, averaged over
// an hour of 16.67 ms steps: their own models and motions as the program
// loads them (scene and animation records; meshes need the device), the
// world's clock, and the camera following her focus. The room's model comes
// too, since she finds her places and sound nodes in it.
bool StepAnHour(const std::vector<PackedArchive>& packed, CResourceManager& registry) {
    auto archiveNamed = [&](const std::string& name) -> std::unique_ptr<CDataArchive> {
        for (const PackedArchive& archive : packed)
            if (archive.fileName == name)
                return OpenPacked(archive);
        return nullptr;
    };
    auto loadModels = [&](int group, const char* const* files, int count) {
        char name[32];
        std::snprintf(name, sizeof name, "model/model%02d.bin", group);
        std::unique_ptr<CDataArchive> archive = archiveNamed(name);
        SetModelPathPrefix(group);
        for (int i = 0; archive && i < count; ++i)
            LoadModelFromArchive(&registry, archive.get(), files[i]);
    };
    auto loadMotions = [&](int index, const std::vector<std::string>& files) {
        char name[40];
        std::snprintf(name, sizeof name, "animation/animation%02d.bin", index);
        std::unique_ptr<CDataArchive> archive = archiveNamed(name);
        for (size_t i = 0; archive && i < files.size(); ++i)
            LoadModelFromArchive(&registry, archive.get(), files[i]);
    };
    const char* const roomFile[] = {"model/common/room.hgm"};
    loadModels(0, roomFile, 1);
    loadModels(CHARACTER_BODY_MODEL_GROUP, CHARACTER_BODY_MODEL_FILES, CHARACTER_BODY_MODEL_FILE_COUNT);
    loadModels(CHARACTER_GOODS_MODEL_GROUP, CHARACTER_GOODS_MODEL_FILES, CHARACTER_GOODS_MODEL_FILE_COUNT);
    loadModels(TV_MODEL_GROUP, TV_MODEL_FILES, TV_MODEL_FILE_COUNT);
    std::vector<std::string> motions;
    for (const char* set : CHARACTER_ANIMATION_SETS)
        motions.push_back(std::string("animation/") + set + ".hga");
    loadMotions(CHARACTER_ANIMATION_ARCHIVE, motions);
    loadMotions(TV_ANIMATION_ARCHIVE, {TV_ANIMATION_FILES, TV_ANIMATION_FILES + TV_ANIMATION_FILE_COUNT});

    CTransform* mainRoot = new CTransform("renderRootMain"); // the registry's
    SetDefaultParent(mainRoot);
    CModelInstanceNode room("room", "roomRoot", RT_TRANSFORM, "::the");
    CCameraManager camera(nullptr, "camera");
    struct FocusToCamera : IFocusPointSink {
        explicit FocusToCamera(CCameraManager& c) : camera(c) {}
        void AddFocusPoint(float x, float y, float z, float weight) override {
            camera.AddFocusPoint(Vec3(x, y, z), weight);
        }
        CCameraManager& camera;
    } focus(camera);
    CharacterScene scene;
    scene.mainRoot = mainRoot;
    scene.focus = &focus;
    std::string missing;
    SeedRand(20261211);
    // The show as it runs without its window's drawing: she owns it.
    auto* show = new CTvShowStage("vesko", new CTransform("renderRootIndicator"), mainRoot, nullptr, "::the");
    std::unique_ptr<CCharacter> vesko(CCharacter::Assemble("vesko", "::the", scene, show, missing));
    if (!vesko) {
        std::fprintf(stderr, "deskmate_bench: her data did not assemble: %s\n", missing.c_str());
        return false;
    }
    vesko->AfterLoad();

    CWorld world("world");
    const float step = 1000.0f / 60.0f;
    const int steps = 3600 * 60;
    const uint32_t moneyBefore = vesko->GetStats().mny;
    int midnights = 0, shows = 0;
    bool presenting = false;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < steps; ++i) {
        const float clock = world.GetClockSeconds();
        world.AdvanceClock(step);
        midnights += world.GetClockSeconds() < clock;
        camera.Update(step, false);
        vesko->Update(nullptr, nullptr, nullptr, world, false, step);
        shows += show->IsPresenting() && !presenting;
        presenting = show->IsPresenting();
    }
    const double update = SecondsSince(start) / steps;
    std::printf("update_steps %d steps\n", steps);
    std::printf("update_us %.3f us\n", update * 1e6);
    // What the hour held for her: world days, shows and her morning earnings.
    std::printf("update_world_days %d days\n", midnights);
    std::printf("update_shows %d shows\n", shows);
    std::printf("update_earned %d yen\n", int(vesko->GetStats().mny) - int(moneyBefore));
    return true;
}

// The hour in a registry of its own, made current for it.
bool MeasureUpdate(const std::vector<PackedArchive>& packed) {
    CResourceManager registry;
    CResourceManager* const saved = CurrentResourceManager;
    CurrentResourceManager = &registry;
    SetDefaultParent(nullptr);
    const bool measured = StepAnHour(packed, registry);
    SetDefaultParent(nullptr);
    CurrentResourceManager = saved;
    return measured;
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
    for (const PackedArchive& archive : packed) {
        if (archive.fileName.rfind("model/model", 0) != 0)
            continue;
        modelArchives.push_back(OpenPacked(archive));
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

    if (!MeasureUpdate(packed))
        return 1;
    std::filesystem::remove_all(folder);
    return 0;
}
