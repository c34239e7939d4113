// Thirty world days of the whole system object in a hidden window, sound
// and keyboard off, at a time ratio at which each world day holds her whole
// day: she sleeps, wakes and earns in the morning, eats, and the show comes
// in the evening; on every other night a click on its panel buys what it
// sells. The frame loop's pieces run without their 60 Hz pacing, many fixed
// updates to each presented frame. Each world midnight the state file is
// saved and read back, the money is checked against the earnings and
// purchases so far, and the process's memory, its GDI and USER objects and
// the registry's resources are counted: after the first day the counts stay
// as they are; the memory, once settled, too.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/item/Item.h"
#include "character/show/win32/TvShopping.h"
#include "engine/core/Random.h"
#include "engine/input/win32/InputManager.h"
#include "engine/resource/ResourceManager.h"
#include "engine/textconsole/Console.h"
#include "shell/app/System.h"
#include "shell/settings/Setting.h"
#include "shell/settings/SettingHost.h"
#include "shell/state/StateFile.h"
#include "shell/world/World.h"
#include "tests/shell/support/SystemWindowTest.h"

namespace {

constexpr int DAYS = 30;
// World seconds to one of hers: a world day is eight minutes of her time, a
// world hour twenty seconds. Her longest plans (the vibrator's twenty loops,
// a bath, a roll on the floor) run one to two minutes of her time; at this
// ratio one of them still leaves most of the three evening hours in which
// the show is offered, and her bedtime, change of clothes and wake-up come
// after it within the same night. (The clock's own 120 gives her more room
// still, but the month then takes four minutes of updates under Wine.)
constexpr const char* TIME_RATIO = "180";
// Fixed updates to each presented frame; the first of them queues the
// drawing.
constexpr int UPDATES_PER_FRAME = 256;
constexpr float STEP_MS = 16.6667f;
constexpr unsigned SEED = 20261211;
// Wall time allowed for the month before the run gives up.
constexpr DWORD WALL_LIMIT_MS = 900000;
// Wine asks the X server where the pointer is at every read once it has
// stood still for 100 ms, as it always does here: put back where it is this
// often, it reads as a moving hand's does, without the round trip.
constexpr DWORD POINTER_TOUCH_MS = 50;
constexpr uint32_t MORNING_EARNING = 5000;
// Room for the month's events (some two hundred a day), reserved up front.
constexpr size_t EVENT_CAPACITY = 30000;

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

// One thing of her month: a name she chose, an action she began to play, a
// rise or fall of her money, a show coming on.
enum EventKind {
    EV_CHOSE,
    EV_PLAYED,
    EV_EARNED,
    EV_SPENT,
    EV_SHOW
};

struct Event {
    EventKind kind;
    int day;   // 0 for the evening the run starts in
    int night; // the evening it belongs to: the day's, or before noon the day before's
    float clock;
    // Held in place, so that the month's log itself takes no heap as it grows.
    char name[24];
    int64_t amount = 0;
    // A rise: made in the update that chose "wakeup". A fall: made during a
    // show on a buying night after the click, by the price of the item on
    // show, which she owns from then on.
    bool expected = false;
};

struct DaySample {
    double privateBytes;
    int gdi, user, resources;
    // Textures the show keeps loaded from its first show and its first cloth
    // on: the name plate's and the cloth picture's.
    int showTextures;
};

int Hour(float clock) { return int(clock / 3600.0f); }

int Night(int day, float clock) { return Hour(clock) < 12 ? day - 1 : day; }

std::string ClockText(float clock) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", Hour(clock) % 24, int(clock / 60.0f) % 60);
    return text;
}

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
                Update(STEP_MS);
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
        TouchPointer();
        const int result = CSystem::Update(stepMs);
        if (result != 0) {
            closed = true;
            m_done = true;
        }
        CCharacter* character = GetCharacter();
        CWorld* world = GetWorld();
        if (!character || !world)
            return result;
        const float clock = world->GetClockSeconds();
        if (clock < m_lastClock)
            EndOfDay();
        m_lastClock = clock;
        Watch(*character, clock);
        if (GetTickCount() - m_started > WALL_LIMIT_MS)
            m_done = true;
        return result;
    }

    void Start(float clock) {
        events.reserve(EVENT_CAPACITY);
        m_lastClock = clock;
        if (CCharacter* character = GetCharacter())
            m_lastMoney = character->GetStats().mny;
    }

    // A purchase on every other night, the first one included.
    static bool IsBuyingNight(int night) { return night % 2 == 0; }

    int days = 0;
    int updates = 0;
    int frames = 0;
    int badSaves = 0;
    bool closed = false;
    std::vector<Event> events;
    std::vector<uint32_t> money; // saved at each midnight
    std::vector<int64_t> booked; // earnings minus purchases up to each midnight
    int64_t earnings = 0, purchases = 0;
    std::vector<DaySample> samples;

private:
    void Note(EventKind kind, float clock, const std::string& name, int64_t amount = 0, bool expected = false) {
        Event event;
        event.kind = kind;
        event.day = days;
        event.night = Night(days, clock);
        event.clock = clock;
        std::snprintf(event.name, sizeof event.name, "%s", name.c_str());
        event.amount = amount;
        event.expected = expected;
        events.push_back(event);
    }

    void Watch(CCharacter& character, float clock) {
        // Her choices, as her history grows; waking clears it first.
        const std::vector<std::string>& names = character.GetHistory().GetNames();
        if (names.size() < m_seenChoices ||
            (names.size() == m_seenChoices && !names.empty() && names.back() != m_lastChoice))
            m_seenChoices = 0;
        bool wokeNow = false;
        for (size_t i = m_seenChoices; i < names.size(); ++i) {
            Note(EV_CHOSE, clock, names[i]);
            wokeNow = wokeNow || names[i] == "wakeup";
        }
        m_seenChoices = names.size();
        m_lastChoice = names.empty() ? std::string() : names.back();
        const std::string playing = character.GetCurrentActionName();
        if (playing != m_playing && !playing.empty())
            Note(EV_PLAYED, clock, playing);
        m_playing = playing;

        auto* show = dynamic_cast<CTvShopping*>(character.GetShow());
        CItem* onShow = show ? show->GetCurrentItem() : nullptr;
        if (onShow && !m_onShow) {
            Note(EV_SHOW, clock, onShow->GetName());
            m_showUpdates = 0;
            m_shown = true;
            m_clothShown = m_clothShown || onShow->IsCloth();
        }
        m_onShow = onShow;

        // Her money: a rise is an earning, a fall a purchase.
        const uint32_t now = character.GetStats().mny;
        if (now > m_lastMoney) {
            earnings += now - m_lastMoney;
            Note(EV_EARNED, clock, "", int64_t(now) - m_lastMoney, wokeNow);
        } else if (now < m_lastMoney) {
            purchases += m_lastMoney - now;
            const bool bought =
                onShow && m_pressed && onShow->IsOwned() && int64_t(onShow->GetPrice()) == int64_t(m_lastMoney) - now;
            Note(EV_SPENT, clock, onShow ? onShow->GetName() : "", int64_t(m_lastMoney) - now, bought);
        }
        m_lastMoney = now;

        if (onShow)
            Click(*show);
        else
            Release();
    }

    // On a buying night, once the set has slid in, the pointer goes to the
    // middle of the panel and the left button goes down there, through the
    // window's messages as a user's click comes; it is let go and the
    // pointer leaves the window half a second later.
    void Click(CTvShopping& show) {
        ++m_showUpdates;
        if (!IsBuyingNight(Night(days, m_lastClock)))
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

    void TouchPointer() {
        const DWORD now = GetTickCount();
        if (now - m_pointerTouched < POINTER_TOUCH_MS)
            return;
        m_pointerTouched = now;
        POINT at;
        if (GetCursorPos(&at))
            SetCursorPos(at.x, at.y);
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
        booked.push_back(earnings - purchases);
        DaySample sample = {PrivateBytes(), GdiObjects(), UserObjects(), RegistryResources(GetResourceManager()),
                            int(m_shown) + int(m_clothShown)};
        samples.push_back(sample);
        if (days == DAYS)
            m_done = true;
    }

    HWND m_window;
    CSetting* m_setting;
    float m_lastClock = 0;
    uint32_t m_lastMoney = 0;
    size_t m_seenChoices = 0;
    std::string m_lastChoice;
    std::string m_playing;
    CItem* m_onShow = nullptr;
    bool m_shown = false, m_clothShown = false;
    int m_showUpdates = 0;
    bool m_pressed = false;
    DWORD m_started = 0;
    DWORD m_pointerTouched = 0;
    bool m_done = false;
};

// The month's events between two indices that are of a kind and a name.
bool Has(const std::vector<Event>& events, size_t from, size_t to, EventKind kind, const char* name) {
    for (size_t i = from; i < to && i < events.size(); ++i)
        if (events[i].kind == kind && !std::strcmp(events[i].name, name))
            return true;
    return false;
}

// Index of the first event at or after from that is of a kind and a name.
size_t Find(const std::vector<Event>& events, size_t from, EventKind kind, const char* name) {
    for (size_t i = from; i < events.size(); ++i)
        if (events[i].kind == kind && !std::strcmp(events[i].name, name))
            return i;
    return events.size();
}

void PrintDay(const std::vector<Event>& events, int day) {
    std::string line = "day " + std::to_string(day) + ":";
    for (const Event& e : events) {
        if (e.day != day || e.kind == EV_PLAYED)
            continue;
        line += " " + ClockText(e.clock) + " ";
        if (e.kind == EV_CHOSE)
            line += e.name;
        else if (e.kind == EV_SHOW)
            line += std::string("[show ") + e.name + "]";
        else
            line += (e.kind == EV_EARNED ? "[+" : "[-") + std::to_string(e.amount) + "]";
    }
    std::printf("%s\n", line.c_str());
}

class Month : public SystemWindowTest {
protected:
    Month() : SystemWindowTest("MonthTest", MonthWindowProc) {}
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
        // Nobody types in the month: the keyboard is the null device, since
        // Wine's read of the key state is a call to its server at every
        // update. The pointer stays the window's own, for the clicks.
        const InputSettings input = {IK_NULL, IK_WIN32, {nullptr, nullptr, nullptr}};
        ASSERT_TRUE(CInputManager::Instance().Create(m_window, input));
        // Her choices from here on are the same in every run.
        SeedRand(SEED);
        CWorld* world = run.GetWorld();
        ASSERT_NE(world, nullptr);
        std::ostringstream out;
        ASSERT_TRUE(world->HandleCommand(out, "timeratio", {TIME_RATIO}));
        run.Start(world->GetClockSeconds());
        run.ResetFrameTimer();
        run.RunMonth();
        CSavedState last;
        run.CaptureState(last);
        finalMoney = last.money;
        finalItems = last.items.size();
        EXPECT_EQ(finalMoney, int64_t(start.money) + run.earnings - run.purchases);
        run.TearDown();

        const double wallSeconds = double(GetTickCount() - wallStart) / 1000.0;
        std::printf("month: %d days, %d updates, %d frames, %zu events, %.1f s of wall time\n", run.days, run.updates,
                    run.frames, run.events.size(), wallSeconds);
        RecordProperty("updates", run.updates);
        RecordProperty("wall_ms", int(GetTickCount() - wallStart));
        for (int day = 0; day <= run.days; ++day)
            PrintDay(run.events, day);
        ASSERT_FALSE(run.closed) << "an update asked the program to close";
        ASSERT_EQ(run.days, DAYS) << "the month did not end within the wall time";
        EXPECT_EQ(run.badSaves, 0);

        const std::vector<Event>& events = run.events;
        // Each rise of her money is the morning's earning, made as she
        // chose to wake; each fall is a scripted purchase of the item on show.
        std::set<int> earningMornings, purchaseNights, showNights, eatingDays;
        for (const Event& e : events) {
            if (e.kind == EV_EARNED) {
                EXPECT_TRUE(e.expected && e.amount == MORNING_EARNING && Hour(e.clock) >= 6 && Hour(e.clock) < 12)
                    << "a rise of " << e.amount << " at " << ClockText(e.clock) << " on day " << e.day;
                earningMornings.insert(e.day);
            } else if (e.kind == EV_SPENT) {
                EXPECT_TRUE(e.expected && CMonthRun::IsBuyingNight(e.night))
                    << "a fall of " << e.amount << " at " << ClockText(e.clock) << " on day " << e.day;
                purchaseNights.insert(e.night);
            } else if (e.kind == EV_SHOW) {
                showNights.insert(e.night);
            } else if (e.kind == EV_CHOSE && !std::strcmp(e.name, "eat")) {
                eatingDays.insert(e.day);
            }
        }

        // She sleeps and wakes: each wake-up comes after she went to bed
        // and lay down since the one before (or since the start), and she
        // gets up through the whole of the wake plan after it.
        int wakeups = 0;
        size_t since = 0;
        for (size_t i = Find(events, 0, EV_CHOSE, "wakeup"); i < events.size();
             i = Find(events, i + 1, EV_CHOSE, "wakeup")) {
            ++wakeups;
            const std::string when =
                "the wake-up on day " + std::to_string(events[i].day) + " at " + ClockText(events[i].clock);
            EXPECT_TRUE(Has(events, since, i, EV_CHOSE, "sleep")) << when << " follows no bedtime";
            EXPECT_TRUE(Has(events, since, i, EV_PLAYED, "sleepIn")) << when << " follows no lying down";
            const size_t next = Find(events, i + 1, EV_CHOSE, "sleep");
            if (next < events.size()) {
                EXPECT_TRUE(Has(events, i, next, EV_PLAYED, "sleepOut01")) << when;
                EXPECT_TRUE(Has(events, i, next, EV_PLAYED, "sleepOutL09")) << when;
            }
            since = i;
        }
        // She eats: each meal takes her out of the room and back, unless
        // the month ends first.
        for (size_t i = Find(events, 0, EV_CHOSE, "eat"); i < events.size(); i = Find(events, i + 1, EV_CHOSE, "eat")) {
            const size_t back = Find(events, Find(events, i, EV_PLAYED, "doorOut00"), EV_PLAYED, "doorIn00");
            EXPECT_TRUE(back < events.size() || events[i].day == DAYS - 1)
                << "the meal on day " << events[i].day << " at " << ClockText(events[i].clock);
        }
        // Day 0 is the evening the run starts in; 1 to 29 are whole days,
        // each with its morning. A show belongs to the evening it was
        // chosen in, also when it comes on after midnight. She wakes and
        // earns on most mornings and the show comes on most nights: a long
        // plan of hers (twenty loops of a good she bought, a bath) can fill
        // the hours in which she goes to bed or the show is offered. Every
        // show on a buying night is bought.
        std::printf("month: %d wake-ups, earned %lld yen on %zu mornings of %d; spent %lld yen on %zu nights; "
                    "shows on %zu nights, meals on %zu days\n",
                    wakeups, (long long)run.earnings, earningMornings.size(), DAYS - 1, (long long)run.purchases,
                    purchaseNights.size(), showNights.size(), eatingDays.size());
        RecordProperty("earning_mornings", int(earningMornings.size()));
        RecordProperty("purchases", int(purchaseNights.size()));
        RecordProperty("shows", int(showNights.size()));
        EXPECT_EQ(int(earningMornings.size()), wakeups);
        EXPECT_GE(earningMornings.size(), 24u);
        EXPECT_GE(showNights.size(), 22u);
        EXPECT_GE(eatingDays.size(), 20u);
        EXPECT_GE(purchaseNights.size(), 10u);
        for (int night : showNights)
            EXPECT_EQ(purchaseNights.count(night), CMonthRun::IsBuyingNight(night) ? 1u : 0u) << "night " << night;

        // Each midnight's saved money is the start plus what she earned minus
        // what she spent up to then.
        ASSERT_EQ(run.money.size(), run.booked.size());
        for (size_t day = 0; day < run.money.size(); ++day)
            EXPECT_EQ(int64_t(run.money[day]), int64_t(start.money) + run.booked[day]) << "midnight " << day + 1;

        std::vector<double> memory, gdi, user, resources;
        for (size_t day = 1; day < run.samples.size(); ++day) {
            memory.push_back(run.samples[day].privateBytes);
            gdi.push_back(run.samples[day].gdi);
            user.push_back(run.samples[day].user);
            resources.push_back(run.samples[day].resources - run.samples[day].showTextures);
        }
        auto range = [](const std::vector<double>& v) {
            return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
        };
        std::string kilobytes;
        for (double bytes : memory)
            kilobytes += " " + std::to_string(long(bytes / 1024));
        std::printf("memory at each midnight from the second, KB:%s\n", kilobytes.c_str());
        std::printf("after day 1, per day: memory %+.0f bytes (day 2 %.0f, day 30 %.0f), GDI %+.3f (%.0f..%.0f), "
                    "USER %+.3f (%.0f..%.0f), resources %+.3f (%.0f..%.0f)\n",
                    SlopePerDay(memory), memory.front(), memory.back(), SlopePerDay(gdi),
                    *std::min_element(gdi.begin(), gdi.end()), *std::max_element(gdi.begin(), gdi.end()),
                    SlopePerDay(user), *std::min_element(user.begin(), user.end()),
                    *std::max_element(user.begin(), user.end()), SlopePerDay(resources),
                    *std::min_element(resources.begin(), resources.end()),
                    *std::max_element(resources.begin(), resources.end()));
        // The memory settles over the first days (heap and driver caches)
        // and then stays: the second half of the month is held to a growth
        // below what a leak of eight bytes an update would give (some 220 KB
        // a day at 28080 updates a day).
        const std::vector<double> lateMemory(memory.begin() + long(memory.size() / 2), memory.end());
        std::printf("memory over the second half of the month: %+.0f bytes a day\n", SlopePerDay(lateMemory));
        RecordProperty("memory_slope_bytes_per_day", int(SlopePerDay(memory)));
        RecordProperty("late_memory_slope_bytes_per_day", int(SlopePerDay(lateMemory)));
        ASSERT_GT(memory.front(), 0.0);
        EXPECT_LT(SlopePerDay(lateMemory), 131072.0);
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
