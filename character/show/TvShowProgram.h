#pragma once
#include <cstdint>

#include "character/show/DialWheel.h"

class CItem;

// The message the main window gets two seconds after a show has ended.
constexpr unsigned SHOW_ENDED_MESSAGE = 0x47C;

// How the show tells the application about its end; the application posts
// the message to its main window.
class IShowMessagePoster {
public:
    virtual ~IShowMessagePoster() = default;
    virtual void PostToMainWindow(unsigned message) = 0;
};

// The running order of one show, free of scene and device: the phase, the
// money the counter shows and its eight wheels, the purchase and the wait
// after the end. CTvShopping owns one and draws what it says.
class CTvShowProgram {
public:
    enum Phase {
        PHASE_ENDED = -1, // the show motion ended without a purchase
        PHASE_RUNNING = 0,
        PHASE_PAYING = 1, // the counter rolls down to the new sum
        PHASE_PAID = 2,
    };
    static constexpr int WHEEL_COUNT = 8;
    // Time units the counter falls by per time unit while paying.
    static constexpr float PAY_RATE = 14.2497f;
    // Time units the show stays after its end before it closes.
    static constexpr float CLOSE_DELAY = 2000.0f;

    enum StepResult {
        STEP_RUNNING,
        STEP_CLOSED, // the show has just closed: the main window was told
    };

    // Starts a show with the character's money on the counter.
    void Begin(uint32_t money);

    // What one step needs to know.
    struct StepInput {
        float step = 0.0f;          // time units
        bool motionPlaying = false; // the show motion still plays
        bool buyClick = false;      // a left-button click on the panel
        uint32_t price = 0;         // of the item on show
    };
    // One step. A buy click while running takes the price from money (never
    // below 0), sets bought and starts the roll down; a click at any other
    // time buys nothing. On closing, the poster (if any) gets
    // SHOW_ENDED_MESSAGE, once.
    StepResult Step(const StepInput& in, uint32_t& money, IShowMessagePoster* poster, bool& bought);

    // The eight wheels' digit positions for this step, ones first.
    void TurnWheels(float step, float (&positions)[WHEEL_COUNT]);

    bool IsRunning() const { return m_running; }
    // True in the first step of a show only (the jingle's moment).
    bool TakeJingle();
    int GetPhase() const { return m_phase; }
    float GetDisplayMoney() const { return m_displayMoney; }
    float GetElapsed() const { return m_elapsed; }
    const DialWheel& GetWheel(int i) const { return m_wheels[i]; }

private:
    bool m_running = false;
    float m_elapsed = 0.0f;
    int m_jingleCount = 0;
    int m_phase = PHASE_RUNNING;
    float m_displayMoney = 0.0f;
    DialWheel m_wheels[WHEEL_COUNT];
};

// Whether the show may put the item on sale: the ending item and whatever
// has a price. The free items are hers from the start; once one is thrown
// away (an accessory or a cloth then reads as never collected) the show
// would give it away again every night.
bool IsPresentable(const CItem& item);
