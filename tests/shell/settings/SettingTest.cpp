#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/archive/ArchiveStream.h"
#include "shell/settings/Setting.h"
#include "shell/settings/SettingHost.h"
#include "shell/settings/SettingSystem.h"
#include "shell/state/StateFile.h"
#include "tests/shell/support/ScratchFolder.h"

namespace {

class FakeHost : public ISettingHost {
public:
    int GetScreenWidth() override { return 1366; }
    int GetScreenHeight() override { return 769; }
    bool IsWindows9x() override { return windows9x; }
    void WriteLog(const char* line) override { log.push_back(line); }
    bool windows9x = false;
    std::vector<std::string> log;
};

// Records every call the settings object makes, with the settings as they
// stand during the call.
class FakeSystem : public ISettingSystem, ICameraModeSwitch, IClothRefresh, ISoundSwitch {
public:
    explicit FakeSystem(ISetting& setting) : m_setting(setting) {}

    bool ApplyWindowMode() override {
        calls.push_back("apply " + std::to_string(m_setting.GetWindowConfig()) + " " +
                        std::to_string(m_setting.GetWindowMode()));
        return applyResults.empty() ? true : Pop();
    }
    void PostTopmost(bool topmost) override { calls.push_back(topmost ? "topmost 1" : "topmost 0"); }
    ICameraModeSwitch* GetCameraModeSwitch() override { return this; }
    IClothRefresh* GetClothRefresh() override { return this; }
    ISoundSwitch* GetSoundSwitch() override { return this; }
    void SetAuto(bool automatic) override { calls.push_back(automatic ? "camera auto" : "camera manual"); }
    void RefreshCloth() override { calls.push_back("refresh cloth"); }
    void SetEnabled(bool enabled) override { calls.push_back(enabled ? "sound on" : "sound off"); }

    void CaptureState(CSavedState& state) override {
        calls.push_back("capture");
        state = saved;
    }
    void RestoreState(const CSavedState& state, uint32_t version) override {
        calls.push_back("restore");
        restored = state;
        restoredVersion = version;
    }

    std::vector<std::string> calls;
    std::vector<bool> applyResults;
    CSavedState saved;
    CSavedState restored;
    uint32_t restoredVersion = 0;

private:
    bool Pop() {
        bool result = applyResults.front();
        applyResults.erase(applyResults.begin());
        return result;
    }
    ISetting& m_setting;
};

bool FileExists(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

void WriteBytes(const char* path, const std::string& bytes) {
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

class Setting : public ScratchFolderTest {
protected:
    // Runs a setter with no settings file present and reports what happened.
    template <class F>
    std::vector<std::string> Run(F change, bool& wrote) {
        std::remove(LAUNCH_CONFIG_FILE_NAME);
        system.calls.clear();
        change();
        wrote = FileExists(LAUNCH_CONFIG_FILE_NAME);
        return system.calls;
    }

    FakeHost host;
    CSetting setting{"setting", host};
    FakeSystem system{setting};
};

using Calls = std::vector<std::string>;

} // namespace

TEST_F(Setting, ConstructedWithDefaultsAndRegistered) {
    const int32_t want[LC_COUNT] = {0, 0, 0, 0, 0, 683, 384, 1, 1, 1, 0};
    for (int i = 0; i < LC_COUNT; ++i)
        EXPECT_EQ(setting.GetLaunchConfig().values[i], want[i]) << i;
    EXPECT_FALSE(setting.IsNoSave());
    EXPECT_FALSE(setting.IsWindows9x());
    EXPECT_TRUE(setting.IsSoundOn() && setting.IsCameraAuto() && setting.IsQuillombMode());
    EXPECT_FALSE(setting.GetClearMode());
    EXPECT_FALSE(FileExists(LAUNCH_CONFIG_FILE_NAME)); // construction writes nothing

    auto range = ConsoleObjectRegistry().equal_range("setting");
    ASSERT_NE(range.first, range.second);
    EXPECT_EQ(range.first->second, static_cast<CConsoleObject*>(&setting));
    EXPECT_TRUE(setting.HandleCommand(std::cout, "select", {}));

    host.windows9x = true;
    {
        CSetting other("", host);
        EXPECT_TRUE(other.IsWindows9x());
        other.ResetDefaults(false);
        EXPECT_EQ(other.GetWindowMode(), 1);
    }
}

TEST_F(Setting, SizesByModeAndConfig) {
    struct Case {
        int mode, config, width, height;
    };
    const Case cases[] = {
        {0, 0, 640, 640}, {0, 1, 800, 800},   {0, 2, 1200, 1200}, {1, 0, 640, 480},
        {1, 1, 800, 600}, {1, 2, 1280, 1024}, {2, 2, 1280, 1024}, {2, 0, 640, 480},
    };
    setting.SetSystem(&system);
    for (const Case& c : cases) {
        setting.SetWindowMode(c.mode);
        setting.SetWindowConfig(c.config);
        EXPECT_EQ(setting.GetWidth(), c.width) << c.mode << "/" << c.config;
        EXPECT_EQ(setting.GetHeight(), c.height) << c.mode << "/" << c.config;
        EXPECT_EQ(setting.IsFullscreen(), c.mode == 2);
        EXPECT_EQ(setting.IsWindowClip(), c.mode == 0);
    }
}

TEST_F(Setting, PositionKeepsTheCentreAcrossSizes) {
    setting.SetPosition(100, 50); // 640 x 640
    EXPECT_EQ(setting.GetLeft(), 100);
    EXPECT_EQ(setting.GetTop(), 50);
    setting.SetWindowConfig(2); // 1200 x 1200, same centre (420, 370)
    EXPECT_EQ(setting.GetLeft(), 420 - 600);
    EXPECT_EQ(setting.GetTop(), 370 - 600);
    EXPECT_EQ(setting.GetLaunchConfig().values[LC_INIT_X], 420);
}

TEST_F(Setting, SettersCallAndSaveAsTheyShould) {
    setting.SetSystem(&system);
    bool wrote = false;

    EXPECT_EQ(Run([&] { setting.SetTopmost(false); }, wrote), Calls{});
    EXPECT_FALSE(wrote);
    EXPECT_EQ(Run([&] { setting.SetTopmost(true); }, wrote), Calls{"topmost 1"});
    EXPECT_TRUE(wrote && setting.IsTopmost());

    // The sound, camera, dress, fix and clear setters write even when nothing changes.
    EXPECT_EQ(Run([&] { setting.SetSoundOn(true); }, wrote), Calls{"sound on"});
    EXPECT_TRUE(wrote);
    EXPECT_EQ(Run([&] { setting.SetSoundOn(false); }, wrote), Calls{"sound off"});
    EXPECT_TRUE(wrote && !setting.IsSoundOn());
    EXPECT_EQ(Run([&] { setting.SetCameraAuto(false); }, wrote), Calls{"camera manual"});
    EXPECT_TRUE(wrote && !setting.IsCameraAuto());
    EXPECT_EQ(Run([&] { setting.SetQuillombMode(true); }, wrote), Calls{});
    EXPECT_TRUE(wrote);
    EXPECT_EQ(Run([&] { setting.SetQuillombMode(false); }, wrote), Calls{"refresh cloth"});
    EXPECT_TRUE(wrote && !setting.IsQuillombMode());
    EXPECT_EQ(Run([&] { setting.SetFixed(true); }, wrote), Calls{});
    EXPECT_TRUE(wrote && setting.IsFixed());
    EXPECT_EQ(Run([&] { setting.SetClearMode(true); }, wrote), Calls{});
    EXPECT_TRUE(wrote && setting.GetClearMode());

    EXPECT_EQ(Run([&] { setting.SetPosition(10, 10); }, wrote), Calls{});
    EXPECT_FALSE(wrote);

    EXPECT_EQ(Run([&] { setting.SetWindowConfig(0); }, wrote), Calls{});
    EXPECT_FALSE(wrote);
    EXPECT_EQ(Run([&] { setting.SetWindowConfig(1); }, wrote), Calls{"apply 1 0"});
    EXPECT_TRUE(wrote);
    EXPECT_EQ(Run([&] { setting.SetWindowMode(2); }, wrote), Calls{"apply 1 2"});
    EXPECT_TRUE(wrote);
    // Values the file could not hold are not taken.
    EXPECT_EQ(Run([&] { setting.SetWindowMode(3); }, wrote), Calls{});
    EXPECT_EQ(Run([&] { setting.SetWindowConfig(-1); }, wrote), Calls{});
    EXPECT_FALSE(wrote);
    EXPECT_EQ(setting.GetWindowConfig(), 1);
    EXPECT_EQ(setting.GetWindowMode(), 2);

    // What is written is what the next start reads.
    ASSERT_TRUE(setting.SaveConfig());
    CLaunchConfig reread;
    ASSERT_TRUE(LoadLaunchConfig(reread));
    for (int i = 0; i < LC_COUNT; ++i)
        EXPECT_EQ(reread.values[i], setting.GetLaunchConfig().values[i]) << i;
}

TEST_F(Setting, RefusedModeChangePutsTheOldValueBack) {
    setting.SetSystem(&system);
    system.applyResults = {false, true};
    bool wrote = false;
    EXPECT_EQ(Run([&] { setting.SetWindowConfig(2); }, wrote), (Calls{"apply 2 0", "apply 0 0"}));
    EXPECT_TRUE(wrote);
    EXPECT_EQ(setting.GetWindowConfig(), 0);
    system.applyResults = {false, false};
    EXPECT_EQ(Run([&] { setting.SetWindowMode(1); }, wrote), (Calls{"apply 0 1", "apply 0 0"}));
    EXPECT_EQ(setting.GetWindowMode(), 0);
}

TEST_F(Setting, ScreenSaverRunWritesNothing) {
    setting.SetSystem(&system);
    setting.EnterScreenSaverMode();
    EXPECT_TRUE(setting.IsFullscreen());
    EXPECT_TRUE(setting.IsCameraAuto());
    EXPECT_TRUE(setting.IsNoSave());
    bool wrote = true;
    EXPECT_EQ(Run([&] { setting.SetSoundOn(false); }, wrote), Calls{"sound off"});
    EXPECT_FALSE(wrote);
    Run([&] { setting.SetClearMode(false); }, wrote);
    EXPECT_FALSE(wrote);
    EXPECT_TRUE(setting.SaveConfig());
    EXPECT_FALSE(FileExists(LAUNCH_CONFIG_FILE_NAME));
    EXPECT_TRUE(setting.SaveState());
    EXPECT_FALSE(FileExists(STATE_FILE_NAME));
    EXPECT_EQ(system.calls, Calls{});
}

TEST_F(Setting, RejectedConfigFileIsReplacedByDefaults) {
    // What the application controller does when the read fails.
    auto start = [&] {
        if (!setting.LoadConfig()) {
            setting.ResetDefaults(true);
            setting.SaveConfig();
        }
    };
    start(); // no file at all
    const std::string defaults = ReadFileBytes(LAUNCH_CONFIG_FILE_NAME);
    ASSERT_NE(defaults, "<missing>");

    setting.SetSoundOn(false);
    setting.SetFixed(true);
    std::string text = ReadFileBytes(LAUNCH_CONFIG_FILE_NAME);
    const size_t at = text.find("WindowConfig");
    ASSERT_NE(at, std::string::npos);
    text[text.find('\n', at) + 1] = '3'; // WindowConfig 3
    WriteBytes(LAUNCH_CONFIG_FILE_NAME, text);
    start();
    EXPECT_EQ(ReadFileBytes(LAUNCH_CONFIG_FILE_NAME), defaults);
    EXPECT_TRUE(setting.IsSoundOn());
    EXPECT_FALSE(setting.IsFixed());
}

TEST_F(Setting, StateRoundTripThroughTheSystem) {
    setting.SetSystem(&system);
    EXPECT_TRUE(setting.LoadState()); // no file yet: fresh state
    EXPECT_EQ(system.calls, Calls{});

    system.saved.cameraDistance = 410.0f;
    system.saved.cameraInterest[1] = 75.0f;
    system.saved.money = 9800;
    system.saved.items = {{"bed", 1}, {"unknownThing", 2}};
    EXPECT_TRUE(setting.SaveState());
    EXPECT_FALSE(FileExists("tavelune.dat.tmp"));
    EXPECT_TRUE(setting.LoadState());
    EXPECT_EQ(system.calls, (Calls{"capture", "restore"}));
    EXPECT_EQ(system.restoredVersion, STATE_FILE_VERSION);
    EXPECT_EQ(system.restored.cameraDistance, 410.0f);
    EXPECT_EQ(system.restored.cameraInterest[1], 75.0f);
    EXPECT_EQ(system.restored.money, 9800u);
    ASSERT_EQ(system.restored.items.size(), 2u);
    EXPECT_EQ(system.restored.items[1].name, "unknownThing");
    EXPECT_EQ(system.restored.items[1].stateCode, 2u);
}

TEST_F(Setting, RefusedStateFileIsKeptAtShutDown) {
    CArchiveWriter newer;
    newer.WriteUInt32(0x10001);
    newer.WriteFloat(1.0f);
    const std::string tooNew(newer.GetBytes().begin(), newer.GetBytes().end());
    const std::string truncated("\x00\x00\x01\x00\x00\x00", 6);
    for (const std::string& bytes : {tooNew, truncated}) {
        CSetting fresh("", host);
        FakeSystem freshSystem(fresh);
        fresh.SetSystem(&freshSystem);
        WriteBytes(STATE_FILE_NAME, bytes);
        EXPECT_FALSE(fresh.LoadState());
        EXPECT_FALSE(fresh.SaveState()); // the shut-down save
        EXPECT_EQ(freshSystem.calls, Calls{});
        EXPECT_EQ(ReadFileBytes(STATE_FILE_NAME), bytes);
    }
}

TEST_F(Setting, FilesLiveInTheDataFolderNotTheCurrentOne) {
    namespace fs = std::filesystem;
    setting.SetSystem(&system);
    system.saved.money = 500;
    fs::create_directory("elsewhere");
    fs::current_path("elsewhere");
    setting.SetFixed(true);
    ASSERT_TRUE(setting.SaveState());
    EXPECT_FALSE(fs::exists(LAUNCH_CONFIG_FILE_NAME));
    EXPECT_FALSE(fs::exists(STATE_FILE_NAME));
    EXPECT_TRUE(fs::exists(GetFolder() / LAUNCH_CONFIG_FILE_NAME));
    EXPECT_TRUE(fs::exists(GetFolder() / STATE_FILE_NAME));

    // Files of the same names in the current folder are not read.
    WriteBytes(LAUNCH_CONFIG_FILE_NAME, "0\n3\n");
    WriteBytes(STATE_FILE_NAME, "junk");
    CSetting next("", host);
    FakeSystem nextSystem(next);
    next.SetSystem(&nextSystem);
    EXPECT_TRUE(next.LoadConfig());
    EXPECT_TRUE(next.IsFixed());
    EXPECT_TRUE(next.LoadState());
    EXPECT_EQ(nextSystem.restored.money, 500u);
    EXPECT_TRUE(host.log.empty());
}

TEST_F(Setting, CameraThatIsNotFiniteNeverCostsTheState) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    setting.SetSystem(&system);
    system.saved.money = 7000;
    system.saved.items = {{"bed", 1}};
    auto reload = [&](CSavedState& into) {
        CSetting reader("", host);
        FakeSystem readerSystem(reader);
        reader.SetSystem(&readerSystem);
        bool loaded = reader.LoadState();
        into = readerSystem.restored;
        return loaded;
    };
    CSavedState back;

    // Nothing finite seen yet: the default camera is written.
    system.saved.cameraDistance = inf;
    ASSERT_TRUE(setting.SaveState());
    ASSERT_TRUE(reload(back));
    EXPECT_TRUE(back.hasCamera);
    EXPECT_EQ(back.cameraDistance, SAVED_CAMERA_DEFAULT_DISTANCE);
    EXPECT_EQ(back.money, 7000u);

    // Then the last finite camera saved.
    system.saved.cameraDistance = 900.0f;
    system.saved.cameraInterest[1] = 42.0f;
    ASSERT_TRUE(setting.SaveState());
    system.saved.cameraInterest[1] = nan;
    ASSERT_TRUE(setting.SaveState());
    ASSERT_TRUE(reload(back));
    EXPECT_EQ(back.cameraDistance, 900.0f);
    EXPECT_EQ(back.cameraInterest[1], 42.0f);
    ASSERT_EQ(back.items.size(), 1u);

    // A file whose camera is not finite: money and items load, the camera
    // does not; with no finite camera seen, a later save writes the default one.
    CArchiveWriter writer;
    writer.WriteUInt32(STATE_FILE_VERSION);
    writer.WriteFloat(nan);
    writer.WriteFloat(1.0f);
    writer.WriteFloat(2.0f);
    writer.WriteFloat(3.0f);
    writer.WriteUInt32(1234);
    writer.WriteInt32(1);
    writer.WriteString("kotatsu");
    writer.WriteUInt32(1);
    WriteBytes(STATE_FILE_NAME, std::string(writer.GetBytes().begin(), writer.GetBytes().end()));
    CSetting fresh("", host);
    FakeSystem freshSystem(fresh);
    fresh.SetSystem(&freshSystem);
    EXPECT_TRUE(fresh.LoadState());
    EXPECT_EQ(freshSystem.calls, Calls{"restore"});
    EXPECT_FALSE(freshSystem.restored.hasCamera);
    EXPECT_EQ(freshSystem.restored.money, 1234u);
    ASSERT_EQ(freshSystem.restored.items.size(), 1u);
    EXPECT_EQ(freshSystem.restored.items[0].name, "kotatsu");
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_NE(host.log[0].find("camera"), std::string::npos);
    EXPECT_FALSE(fresh.GetClearMode());
    freshSystem.saved = freshSystem.restored;
    freshSystem.saved.hasCamera = true;
    freshSystem.saved.cameraDistance = -inf;
    ASSERT_TRUE(fresh.SaveState());
    ASSERT_TRUE(reload(back));
    EXPECT_TRUE(back.hasCamera);
    EXPECT_EQ(back.cameraDistance, SAVED_CAMERA_DEFAULT_DISTANCE);
    EXPECT_EQ(back.money, 1234u);
}

// A state file that is there but cannot be read is neither loaded, nor
// overwritten, nor cleared; the run goes on with the starting state.
TEST_F(Setting, UnreadableStateFileIsLeftAlone) {
    auto check = [&](const char* what, auto hold) {
        CSetting fresh("", host);
        FakeSystem freshSystem(fresh);
        fresh.SetSystem(&freshSystem);
        freshSystem.saved.money = 1;
        host.log.clear();
        hold([&] {
            EXPECT_TRUE(fresh.LoadState()) << what;
            EXPECT_FALSE(fresh.SaveState()) << what;
        });
        EXPECT_FALSE(fresh.SaveState()) << what; // nor later in the same run
        EXPECT_EQ(freshSystem.calls, Calls{}) << what;
        EXPECT_FALSE(fresh.GetClearMode()) << what;
        ASSERT_EQ(host.log.size(), 1u) << what;
        EXPECT_NE(host.log[0].find("cannot be opened"), std::string::npos) << what;
        EXPECT_FALSE(std::filesystem::exists("tavelune.dat.tmp")) << what;
    };

    // A folder where the file should be.
    std::filesystem::create_directory(STATE_FILE_NAME);
    check("folder", [](auto run) { run(); });
    EXPECT_TRUE(std::filesystem::is_directory(STATE_FILE_NAME));
    std::filesystem::remove(STATE_FILE_NAME);

#ifdef _WIN32
    // A file that another program holds open without sharing.
    const std::string kept("\x00\x00\x01\x00 kept bytes", 15);
    WriteBytes(STATE_FILE_NAME, kept);
    check("locked", [](auto run) {
        HANDLE lock = CreateFileA(STATE_FILE_NAME, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        run();
        CloseHandle(lock);
    });
    EXPECT_EQ(ReadFileBytes(STATE_FILE_NAME), kept);
#endif
}
