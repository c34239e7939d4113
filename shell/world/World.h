#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "engine/math/Vec3.h"
#include "engine/resource/Handle.h"

class CCameraResource;
class CModelInstanceNode;
class CRenderManager;

// Hours, minutes and seconds of the world clock.
struct CClockTime {
    int32_t hours;
    int32_t minutes;
    int32_t seconds;
};

// Loads the room model of model archive 0 under the render manager's
// resource root; true even when the archive or the entry is missing.
bool LoadWorldModels(CRenderManager& renderManager);
// The world has no animations of its own.
bool LoadWorldAnimations();

// The world "world": the clock of the character's world, its time ratio and
// the room-light switch, and the room with its three skies and three window
// panes, which show by the hour together with the light presets they are lit
// by. The clock starts at 18:00 every run and by default runs 120 times
// faster than real time; nothing of it is saved. The system object owns the
// world and advances it once per update.
class CWorld : public CConsoleObject {
public:
    static constexpr float DAY_SECONDS = 86400.0f;
    static constexpr float START_CLOCK = 64800.0f; // 18:00
    static constexpr float DEFAULT_TIME_RATIO = 120.0f;
    static constexpr int SKY_COUNT = 3;

    // The clock alone, without a room.
    explicit CWorld(const char* name);
    // The room instance "room" of the loaded "roomRoot" under the main root,
    // lit by the room light set; its skies and panes as the first update sets
    // them. Names the room lacks are left out and never touched.
    CWorld(const char* name, CRenderManager& renderManager, const std::string& scope);
    ~CWorld() override;

    // The clock, then the skies, panes and light presets for the new hour.
    void Update(CRenderManager& renderManager, float stepMs);
    // Day, evening and night: each node shown when its weight is above 0, its
    // two materials coloured (1, 1, 1, weight).
    void SetSkyWeights(float day, float evening, float night);
    void SetWindowWeights(float day, float evening, float night);

    // The room's TV screen, where the show puts its pictures.
    static Vec3 TvScreenAnchor() { return Vec3(0, 75, -145); }
    // The anchor in window pixels through the camera, truncated.
    static void ProjectTvScreenAnchor(const CCameraResource& view, int& x, int& y);

    // False without the room instance (model not loaded).
    bool HasRoom() const { return m_room != nullptr; }
    CModelInstanceNode* GetRoom() const { return m_room; }

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // Moves the clock on by a real-time step, wrapping within the day.
    void AdvanceClock(float stepMs);
    CClockTime GetClock() const;
    // Negative when midnight has passed since the stamp was taken.
    float SecondsSince(float stamp) const;

    // Off at "sleep", on at "wakeup"; chooses between the two night light sets.
    void SetRoomLight(bool on) { m_roomLight = on; }
    bool IsRoomLightOn() const { return m_roomLight; }

    float GetClockSeconds() const { return m_clock; }
    float GetTimeRatio() const { return m_timeRatio; }

private:
    // Found once at construction; a name that was not there stays null.
    struct Weighted {
        CHandle node;
        CHandle shaders[2];
    };
    static void SetWeights(Weighted (&parts)[SKY_COUNT], float day, float evening, float night);

    float m_clock = START_CLOCK;
    bool m_roomLight = true;
    float m_timeRatio = DEFAULT_TIME_RATIO;
    CModelInstanceNode* m_room = nullptr;
    Weighted m_skies[SKY_COUNT] = {};
    Weighted m_windows[SKY_COUNT] = {};
};
