// deskmate.exe killed at random moments while it shuts down: the state file
// it was saving is afterwards either the one it read or the one it meant to
// write, whole, and the next start loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "shell/state/StateFile.h"
#include "tests/shell/app/DeskmateProcess.h"

namespace {

using namespace deskmate_process;

std::string TemporaryPath() { return StatePath() + ".tmp"; }

// The last write time of a file; 0 when it is not there. Read without
// opening the file, so that the program's replace is never in the way.
ULONGLONG WriteStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// An old stamp put on the state file before each run: a replaced file shows
// a newer one.
const ULONGLONG OLD_STAMP = 0x01C0000000000000ull;

void MarkOld(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME stamp = {DWORD(OLD_STAMP & 0xFFFFFFFFu), DWORD(OLD_STAMP >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &stamp));
    CloseHandle(file);
}

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The saved game the test starts from: money and many items, the items
// listed out of name order. The program reads them and writes them back in
// name order, so its own file differs from this one byte for byte; the many
// items make the save take long enough to be hit.
const uint32_t KNOWN_MONEY = 123456;
const int KNOWN_ITEMS = 40000;

CSavedState KnownState() {
    CSavedState state;
    state.cameraDistance = 900.0f;
    state.cameraInterest[0] = 10.0f;
    state.cameraInterest[1] = 60.0f;
    state.cameraInterest[2] = -20.0f;
    state.money = KNOWN_MONEY;
    for (int i = KNOWN_ITEMS - 1; i >= 0; --i) {
        char name[32];
        std::snprintf(name, sizeof name, "item_%05d", i);
        state.items.push_back({name, uint32_t(i % 3)});
    }
    return state;
}

std::string UnsortedImage(const CSavedState& state) {
    const float camera[4] = {state.cameraDistance, state.cameraInterest[0], state.cameraInterest[1],
                             state.cameraInterest[2]};
    std::vector<std::pair<std::string, uint32_t>> items;
    for (const CSavedItem& item : state.items)
        items.emplace_back(item.name, item.stateCode);
    return StateBytes(camera, state.money, items);
}

// True when the bytes are a whole state file, exactly as the program would
// write it, holding the known money and items.
bool IsWholeKnownState(const std::string& bytes) {
    CSavedState read;
    uint32_t version = 0;
    if (DecodeState(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), read, version) != SR_OK)
        return false;
    std::vector<uint8_t> again = EncodeState(read);
    // Her own items come back in name order; names she does not know are
    // dropped on loading, so only the money and the file's wholeness are
    // the known state's.
    if (std::string(again.begin(), again.end()) != bytes || read.money != KNOWN_MONEY || read.items.empty())
        return false;
    for (size_t i = 1; i < read.items.size(); ++i)
        if (read.items[i - 1].name > read.items[i].name)
            return false;
    return true;
}

class ShutdownKill : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(ConfigPath().c_str());
        DeleteFileA(StatePath().c_str());
        DeleteFileA(TemporaryPath().c_str());
        SetCursorPos(POINTER_AWAY_X, POINTER_AWAY_Y);
    }
    void TearDown() override {
        End();
        DeleteFileA(ConfigPath().c_str());
        DeleteFileA(StatePath().c_str());
        DeleteFileA(TemporaryPath().c_str());
    }

    // Starts deskmate.exe and waits for its main window; false when it ends
    // (or shows nothing) instead.
    bool StartToWindow() {
        m_process = StartDeskmate();
        if (!m_process.hProcess)
            return false;
        m_window = WaitForMain(m_process);
        return m_window != nullptr && !deskmate_process::HasEnded(m_process);
    }
    void PressEscape() { PostEscape(m_window); }
    bool HasEnded() const { return deskmate_process::HasEnded(m_process); }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }
    void End() {
        EndDeskmate(m_process);
        m_window = nullptr;
    }

    PROCESS_INFORMATION m_process = {};
    HWND m_window = nullptr;
};

// Where a shut-down's save falls, from the Escape tap: when the temporary
// was first seen, when the state file was replaced and when the process
// ended (ms).
struct ShutdownTimes {
    double temporary = -1, replaced = -1, ended = -1;
};

TEST_F(ShutdownKill, FileStaysWholeAndLoadsAfterKillsDuringTheSave) {
    const std::string known = UnsortedImage(KnownState());
    WriteBytes(StatePath(), known);
    MarkOld(StatePath());

    // Two shut-downs watched to the end place the save in time.
    ShutdownTimes measured[2];
    for (ShutdownTimes& times : measured) {
        ASSERT_TRUE(StartToWindow());
        Sleep(500);
        MarkOld(StatePath());
        const double start = NowMs();
        PressEscape();
        while (!HasEnded() && NowMs() - start < 30000) {
            double t = NowMs() - start;
            if (times.temporary < 0 && Exists(TemporaryPath()))
                times.temporary = t;
            if (times.replaced < 0 && WriteStamp(StatePath()) != OLD_STAMP)
                times.replaced = t;
        }
        times.ended = NowMs() - start;
        ASSERT_TRUE(HasEnded());
        EXPECT_EQ(ExitCode(), 0u);
        End();
        ASSERT_TRUE(IsWholeKnownState(ReadBytes(StatePath())));
        ASSERT_GT(times.replaced, 0.0);
        std::printf("shut-down: temporary seen at %.1f ms, replaced at %.1f ms, ended at %.1f ms\n", times.temporary,
                    times.replaced, times.ended);
    }
    // The save runs from a little before the temporary shows to the replace.
    double saveSpan = 1.0, ended = 0;
    for (const ShutdownTimes& times : measured) {
        if (times.temporary >= 0)
            saveSpan = std::max(saveSpan, times.replaced - times.temporary);
        ended = std::max(ended, times.ended);
    }

    // Each run from here loads what the last kill left. One kill in four
    // falls anywhere in the shut-down after the tap; the others wait for the
    // temporary to show and fall at a random moment of the save's measured
    // span from there.
    SeedRand(20261211);
    WriteBytes(StatePath(), known);
    const int KILLS = 20;
    int before = 0, inside = 0, after = 0;
    for (int kill = 0; kill < KILLS; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        ASSERT_TRUE(StartToWindow()); // the file left by the last kill was not refused
        DeleteFileA(TemporaryPath().c_str());
        Sleep(300);
        MarkOld(StatePath());
        const std::string old = ReadBytes(StatePath());
        const bool anywhere = kill % 4 == 0;
        const double delay = (anywhere ? ended : saveSpan) * double(RandUnit());
        double start = NowMs();
        PressEscape();
        if (!anywhere) {
            while (!Exists(TemporaryPath()) && !HasEnded() && NowMs() - start < ended + 10000) {
            }
            start = NowMs();
        }
        while (NowMs() - start < delay && !HasEnded()) {
        }
        const bool killed = TerminateProcess(m_process.hProcess, 9) != FALSE;
        ASSERT_EQ(WaitForSingleObject(m_process.hProcess, 15000), WAIT_OBJECT_0);
        const bool cleanExit = !killed || ExitCode() == 0;
        End();

        const std::string bytes = ReadBytes(StatePath());
        const bool replaced = WriteStamp(StatePath()) != OLD_STAMP;
        const bool temporaryLeft = Exists(TemporaryPath());
        EXPECT_TRUE(bytes == old || bytes == known || IsWholeKnownState(bytes)) << bytes.size() << " bytes";
        EXPECT_TRUE(replaced ? IsWholeKnownState(bytes) : bytes == old);
        std::vector<int> config = ConfigValues(ReadBytes(ConfigPath()));
        ASSERT_EQ(config.size(), 11u);
        EXPECT_EQ(config[10], 0); // the next start loads the state file
        if (replaced || cleanExit)
            ++after;
        else if (temporaryLeft)
            ++inside;
        else
            ++before;
        std::printf("kill %2d %6.1f ms after the %s: %s\n", kill, delay, anywhere ? "tap" : "temporary showed",
                    replaced || cleanExit ? "after the replace"
                    : temporaryLeft       ? "inside the save (temporary written, file not yet replaced)"
                                          : "before the save");
    }
    std::printf("kills: %d before the save, %d inside it, %d after the replace\n", before, inside, after);
    RecordProperty("kills_inside_save", inside);
    EXPECT_GE(inside, 1) << "no kill landed between the temporary's creation and the replace";

    // A last start loads what the kills left and writes it back at its end.
    ASSERT_TRUE(StartToWindow());
    Sleep(300);
    PressEscape();
    ASSERT_EQ(WaitForSingleObject(m_process.hProcess, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(), 0u);
    End();
    EXPECT_TRUE(IsWholeKnownState(ReadBytes(StatePath())));
    EXPECT_FALSE(Exists(TemporaryPath()));
}

} // namespace
