// Thirty world days of the whole system object in a hidden window, sound
// off, at a time ratio at which each world day holds her whole day: she
// sleeps, wakes and earns in the morning, eats, and the show comes each
// night; on some nights a click on its panel buys what it sells. The frame
// loop's pieces run without their 60 Hz pacing, many fixed updates to each
// presented frame. Each world midnight the state file is saved and read
// back, the money is checked against the earnings and purchases so far, and
// the process's memory, its GDI and USER objects and the registry's
// resources are counted: after the first day the counts stay as they are;
// the memory, once settled, too.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/item/Item.h"
#include "character/show/win32/TvShopping.h"
#include "engine/archive/DataFolder.h"
#include "engine/core/Random.h"
#include "engine/drawlist/DrawList.h"
#include "engine/input/win32/InputManager.h"
#include "engine/resource/ResourceManager.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/app/System.h"
#include "shell/settings/Setting.h"
#include "shell/settings/SettingHost.h"
#include "shell/state/StateFile.h"
#include "shell/world/World.h"

namespace {

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

const int DAYS = EnvInt("MONTH_DAYS", 30);
// World seconds to one of hers.
const int TIME_RATIO = EnvInt("MONTH_RATIO", 600);
// Fixed updates to each presented frame; the first of them queues the drawing.
const int UPDATES_PER_FRAME = EnvInt("MONTH_UPF", 16);
constexpr float STEP_MS = 16.6667f;
constexpr unsigned SEED = 20261211;
// Wall time allowed for the month before the run gives up.
constexpr DWORD WALL_LIMIT_MS = 330000;

struct ProcessMemoryCounters {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize, WorkingSetSize, QuotaPeakPagedPoolUsage, QuotaPagedPoolUsage, QuotaPeakNonPagedPoolUsage,
        QuotaNonPagedPoolUsage, PagefileUsage, PeakPagefileUsage;
};

// Committed private bytes of this process.
double PrivateBytes() {
    using Query = BOOL(WINAPI*)(HANDLE, ProcessMemoryCounters*, DWORD);
    static Query query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    ProcessMemoryCounters counters = {};
    counters.cb = sizeof counters;
    if (!query || !query(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return double(counters.PagefileUsage);
}

// GDI objects of this process. The system's own count answers where it is
// kept; otherwise every handle index is asked for its object (a handle's
// index alone names the live object in that slot).
int GdiObjects() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted)
        return int(counted);
    int n = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++n;
    return n;
}

// USER objects of this process, the same way: windows of this process and
// menus at each handle index.
int UserObjects() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counted)
        return int(counted);
    int n = 0;
    const DWORD self = GetCurrentProcessId();
    for (ULONG_PTR index = 0x20; index < 0x10000; index += 2) {
        HWND window = reinterpret_cast<HWND>(index);
        DWORD process = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &process) && process == self)
            ++n;
        else if (IsMenu(reinterpret_cast<HMENU>(index)))
            ++n;
    }
    return n;
}

int RegistryResources(CResourceManager* registry) {
    int n = 0;
    if (registry)
        registry->ForEach([&](CResource*) { ++n; });
    return n;
}

// Least-squares change per day of a series sampled once a day.
double SlopePerDay(const std::vector<double>& values) {
    const double n = double(values.size());
    if (values.size() < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        sx += double(i), sy += values[i], sxx += double(i) * double(i), sxy += double(i) * values[i];
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

class CQuietHost : public ISettingHost {
public:
    int GetScreenWidth() override { return 1024; }
    int GetScreenHeight() override { return 768; }
    bool IsWindows9x() override { return false; }
    void WriteLog(const char* line) override { log.push_back(line); }
    std::vector<std::string> log;
};

// The main window's messages reach the input manager, as the application
// controller hands them on.
LRESULT CALLBACK MonthWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CInputManager::Instance().OnMessage(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Choice {
    float clock;
    std::string name;
};

// What one world day (midnight to midnight) held.
struct DayLog {
    std::vector<Choice> choices;
    std::set<std::string> played;
    int shows = 0;
    int purchases = 0;
    uint64_t spent = 0;
    uint64_t earned = 0;
    int wakeups = 0;
    float earnedAt = -1;
    bool buyingNight = false;
};

struct DaySample {
    double privateBytes;
    int gdi, user, resources;
};

int Hour(float clock) { return int(clock / 3600.0f); }

// The system object stepped through the frame loop's own pass, looking in
// after every update and at every world midnight.
class CMonthRun : public CSystem {
public:
    CMonthRun(HWND window, CSetting* setting) : CSystem(window, setting), m_window(window), m_setting(setting) {}

    // The pass of the frame loop without its pacing: RunUpdates runs one
    // update that queues the drawing and draws the lists; the next ones
    // step the scene only (outside a pass no update is the first), as the
    // later updates of a pass that catches up do. Then the console, the
    // messages and the present, as every pass ends.
    void RunMonth() {
        m_started = GetTickCount();
        OnLoopStart();
        while (!m_done) {
            RunUpdates();
            for (int i = 1; i < UPDATES_PER_FRAME && !m_done; ++i)
                if (Update(STEP_MS) != 0)
                    m_done = true;
            ++frames;
            if (IConsoleOverlay* console = CConsoleRenderer::GetConsole())
                console->Draw();
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (!m_done)
                PresentFrame();
        }
    }

    int Update(float stepMs) override {
        if (stepMs > 0)
            ++updates;
        const int result = CSystem::Update(stepMs);
        if (result != 0)
            closed = true;
        CCharacter* character = GetCharacter();
        CWorld* world = GetWorld();
        if (!character || !world)
            return result;
        const float clock = world->GetClockSeconds();
        if (clock < m_lastClock)
            EndOfDay();
        m_lastClock = clock;
        DayLog& day = m_today;
        Watch(*character, clock, day);
        if (GetTickCount() - m_started > WALL_LIMIT_MS)
            m_done = true;
        return result;
    }

    void Start(float clock) {
        m_lastClock = clock;
        if (CCharacter* character = GetCharacter())
            m_lastMoney = character->GetStats().mny;
        m_today.buyingNight = IsBuyingNight(0);
    }

    // A purchase on every other night, the first one included.
    static bool IsBuyingNight(int day) { return day % 2 == 0; }

    int days = 0;
    int updates = 0;
    int frames = 0;
    int badSaves = 0;
    bool closed = false;
    std::vector<uint32_t> money;       // saved at each midnight
    std::vector<int64_t> booked;       // earnings minus purchases up to each midnight
    std::vector<DayLog> log;           // one a day
    uint64_t earnings = 0, purchases = 0;
    std::vector<DaySample> samples;

private:
    void Watch(CCharacter& character, float clock, DayLog& day) {
        // Her choices, as her history grows; waking clears it first.
        const std::vector<std::string>& names = character.GetHistory().GetNames();
        if (names.size() < m_seenChoices || (names.size() == m_seenChoices && !names.empty() &&
                                             names.back() != m_lastChoice))
            m_seenChoices = 0;
        for (size_t i = m_seenChoices; i < names.size(); ++i) {
            day.choices.push_back({clock, names[i]});
            if (names[i] == "wakeup")
                ++day.wakeups;
        }
        m_seenChoices = names.size();
        m_lastChoice = names.empty() ? std::string() : names.back();
        day.played.insert(character.GetCurrentActionName());

        // Her money: a rise is an earning, a fall a purchase.
        const uint32_t now = character.GetStats().mny;
        if (now > m_lastMoney) {
            earnings += now - m_lastMoney;
            day.earned += now - m_lastMoney;
            day.earnedAt = clock;
        } else if (now < m_lastMoney) {
            purchases += m_lastMoney - now;
            day.spent += m_lastMoney - now;
            ++day.purchases;
        }
        m_lastMoney = now;

        auto* show = dynamic_cast<CTvShopping*>(character.GetShow());
        const bool presenting = show && show->IsPresenting();
        if (presenting && !m_presenting) {
            ++day.shows;
            m_showUpdates = 0;
        }
        m_presenting = presenting;
        if (presenting)
            Click(*show, day);
        else
            Release();
    }

    // On a buying night, once the set has slid in, the pointer goes to the
    // middle of the panel and the left button is pressed there, as a user
    // does; it is let go and moved off the window a few updates later.
    void Click(CTvShopping& show, DayLog& day) {
        ++m_showUpdates;
        if (!day.buyingNight)
            return;
        if (m_showUpdates == 60) {
            long sumX = 0, sumY = 0, count = 0;
            for (int y = 0; y < m_setting->GetHeight(); y += 4)
                for (int x = 0; x < m_setting->GetWidth(); x += 4)
                    if (show.HitTest(GetRenderManager(), x, y))
                        sumX += x, sumY += y, ++count;
            if (!count)
                return;
            const int x = int(sumX / count), y = int(sumY / count);
            POINT screen = {x, y};
            ClientToScreen(m_window, &screen);
            SetCursorPos(screen.x, screen.y);
            SendMessageA(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
            SendMessageA(m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            m_pressed = true;
        } else if (m_showUpdates == 90) {
            Release();
        }
    }

    void Release() {
        if (!m_pressed)
            return;
        m_pressed = false;
        SendMessageA(m_window, WM_LBUTTONUP, 0, 0);
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }

    void EndOfDay() {
        ++days;
        // The day's save reads back as the state it was made from.
        CSavedState captured, read;
        CaptureState(captured);
        uint32_t version = 0;
        const bool saved = m_setting->SaveState();
        const StateReadResult result = ReadStateFile(STATE_FILE_NAME, read, version);
        if (!saved || result != SR_OK || EncodeState(read) != EncodeState(captured) || version != STATE_FILE_VERSION)
            ++badSaves;
        money.push_back(read.money);
        booked.push_back(int64_t(earnings) - int64_t(purchases));
        DaySample sample = {PrivateBytes(), GdiObjects(), UserObjects(), RegistryResources(GetResourceManager())};
        samples.push_back(sample);
        log.push_back(m_today);
        m_today = DayLog();
        m_today.buyingNight = IsBuyingNight(days);
        if (days == DAYS)
            m_done = true;
    }

    HWND m_window;
    CSetting* m_setting;
    DayLog m_today;
    float m_lastClock = 0;
    uint32_t m_lastMoney = 0;
    size_t m_seenChoices = 0;
    std::string m_lastChoice;
    bool m_presenting = false;
    int m_showUpdates = 0;
    bool m_pressed = false;
    DWORD m_started = 0;
    bool m_done = false;
};

bool Chose(const DayLog& day, const char* name) {
    return std::any_of(day.choices.begin(), day.choices.end(), [&](const Choice& c) { return c.name == name; });
}

void PrintDay(int index, const DayLog& day) {
    std::printf("day %d:", index);
    for (const Choice& c : day.choices)
        std::printf(" %02d:%02d %s", Hour(c.clock), int(c.clock / 60.0f) % 60, c.name.c_str());
    std::printf("\n  shows %d purchases %d spent %llu earned %llu at %.0f\n", day.shows, day.purchases,
                (unsigned long long)day.spent, (unsigned long long)day.earned, day.earnedAt / 3600.0f);
}

class Month : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetDataFolder(std::filesystem::current_path().string());
        InstallTextureHooks();
        InstallConsoleHook();
        InstallDrawListHooks();
    }
    void SetUp() override {
        DeleteFileA("tavelune.cfg");
        DeleteFileA(STATE_FILE_NAME);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MonthWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MonthTest";
        RegisterClassA(&wc);
    }
    void TearDown() override {
        if (m_window)
            DestroyWindow(m_window);
        DeleteFileA("tavelune.cfg");
        DeleteFileA(STATE_FILE_NAME);
    }
    HWND m_window = nullptr;
};

TEST_F(Month, ThirtyDaysKeepMoneyFilesAndResourcesSteady) {
    // A saved game to start from: money and a few items.
    CSavedState start;
    SetDefaultCamera(start);
    start.money = 77777;
    start.items = {{"tv_shop_a", 1}, {"tv_shop_b", 2}};
    ASSERT_TRUE(WriteStateFile(STATE_FILE_NAME, start));

    CQuietHost host;
    CSetting setting("setting", host);
    setting.SetClearMode(false);
    setting.SetSoundOn(false);
    m_window = CreateWindowExA(0, "MonthTest", "month", WS_POPUP, 0, 0, setting.GetWidth(), setting.GetHeight(),
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_window, nullptr);
    const DWORD wallStart = GetTickCount();
    int64_t finalMoney = 0;
    size_t finalItems = 0;
    {
        CMonthRun run(m_window, &setting);
        ASSERT_NE(run.GetDevice(), nullptr);
        ASSERT_TRUE(run.SetUp(m_window));
        SeedRand(SEED);
        CWorld* world = run.GetWorld();
        ASSERT_NE(world, nullptr);
        std::ostringstream out;
        ASSERT_TRUE(world->HandleCommand(out, "timeratio", {std::to_string(TIME_RATIO)}));
        run.Start(world->GetClockSeconds());
        run.ResetFrameTimer();
        run.RunMonth();
        CSavedState last;
        run.CaptureState(last);
        finalMoney = last.money;
        finalItems = last.items.size();
        EXPECT_EQ(finalMoney, int64_t(start.money) + int64_t(run.earnings) - int64_t(run.purchases));
        run.TearDown();

        const double wallSeconds = double(GetTickCount() - wallStart) / 1000.0;
        std::printf("month: %d days, %d updates, %d frames, %.1f s of wall time\n", run.days, run.updates, run.frames,
                    wallSeconds);
        for (size_t day = 0; day < run.log.size(); ++day)
            PrintDay(int(day + 1), run.log[day]);
        ASSERT_FALSE(run.closed);
        ASSERT_EQ(run.days, DAYS) << "the month did not end within the wall time";
        EXPECT_EQ(run.badSaves, 0);

        ASSERT_EQ(run.money.size(), run.booked.size());
        for (size_t day = 0; day < run.money.size(); ++day)
            EXPECT_EQ(int64_t(run.money[day]), int64_t(start.money) + run.booked[day]) << "day " << day + 1;
        std::printf("month: earned %llu yen, spent %llu\n", (unsigned long long)run.earnings,
                    (unsigned long long)run.purchases);

        std::vector<double> memory, gdi, user, resources;
        for (size_t day = 1; day < run.samples.size(); ++day) {
            memory.push_back(run.samples[day].privateBytes);
            gdi.push_back(run.samples[day].gdi);
            user.push_back(run.samples[day].user);
            resources.push_back(run.samples[day].resources);
        }
        auto range = [](const std::vector<double>& v) {
            return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
        };
        std::printf("after day 1, per day: memory %+.0f bytes (day 2 %.0f, day 30 %.0f), GDI %+.3f (%.0f..%.0f), "
                    "USER %+.3f (%.0f..%.0f), resources %+.3f (%.0f..%.0f)\n",
                    SlopePerDay(memory), memory.front(), memory.back(), SlopePerDay(gdi),
                    *std::min_element(gdi.begin(), gdi.end()), *std::max_element(gdi.begin(), gdi.end()),
                    SlopePerDay(user), *std::min_element(user.begin(), user.end()),
                    *std::max_element(user.begin(), user.end()), SlopePerDay(resources),
                    *std::min_element(resources.begin(), resources.end()),
                    *std::max_element(resources.begin(), resources.end()));
        const std::vector<double> lateMemory(memory.begin() + long(memory.size() / 2), memory.end());
        std::printf("memory over the second half of the month: %+.0f bytes a day\n", SlopePerDay(lateMemory));
        RecordProperty("memory_slope_bytes_per_day", int(SlopePerDay(memory)));
        RecordProperty("late_memory_slope_bytes_per_day", int(SlopePerDay(lateMemory)));
        ASSERT_GT(memory.front(), 0.0);
        EXPECT_LT(SlopePerDay(lateMemory), 65536.0);
        EXPECT_LT(memory.back() - memory.front(), 8.0 * 1048576.0);
        EXPECT_EQ(range(resources), 0.0);
        EXPECT_GT(resources.front(), 0.0);
        EXPECT_EQ(range(gdi), 0.0);
        EXPECT_EQ(range(user), 0.0);
        EXPECT_TRUE(host.log.empty()) << host.log.front();
    }
    // The month's last save loads as the state of a next start.
    CSavedState read;
    uint32_t version = 0;
    ASSERT_EQ(ReadStateFile(STATE_FILE_NAME, read, version), SR_OK);
    EXPECT_EQ(int64_t(read.money), finalMoney);
    EXPECT_EQ(read.items.size(), finalItems);
}

} // namespace
