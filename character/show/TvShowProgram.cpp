#include "character/show/TvShowProgram.h"

#include "character/item/Item.h"

void CTvShowProgram::Begin(uint32_t money) {
    m_running = true;
    m_elapsed = 0.0f;
    m_jingleCount = 0;
    m_phase = PHASE_RUNNING;
    m_displayMoney = float(money);
    float v = m_displayMoney;
    for (DialWheel& wheel : m_wheels) {
        wheel.lastValue = v;
        wheel.settleTime = DialWheel::SETTLED;
        v = Tenth(v);
    }
}

bool CTvShowProgram::TakeJingle() {
    if (!m_running || m_jingleCount != 0)
        return false;
    m_jingleCount = 1;
    return true;
}

void CTvShowProgram::TurnWheels(float step, float (&positions)[WHEEL_COUNT]) {
    float v = m_displayMoney;
    for (int i = 0; i < WHEEL_COUNT; ++i) {
        positions[i] = m_wheels[i].Step(v, step);
        v = Tenth(v);
    }
}

CTvShowProgram::StepResult CTvShowProgram::Step(const StepInput& in, uint32_t& money, IShowMessagePoster* poster,
                                                bool& bought) {
    bought = false;
    if (!m_running)
        return STEP_CLOSED;
    if (m_phase == PHASE_RUNNING && !in.motionPlaying)
        m_phase = PHASE_ENDED;
    if (in.buyClick && m_phase == PHASE_RUNNING) {
        money = in.price > money ? 0 : money - in.price;
        m_phase = PHASE_PAYING;
        bought = true;
    }
    if (m_phase == PHASE_PAYING) {
        m_displayMoney -= in.step * PAY_RATE;
        if (m_displayMoney < float(money)) {
            m_displayMoney = float(money);
            m_phase = PHASE_PAID;
        }
    }
    if (m_phase == PHASE_ENDED || m_phase == PHASE_PAID) {
        m_elapsed += in.step;
        if (m_elapsed > CLOSE_DELAY) {
            m_running = false;
            if (poster)
                poster->PostToMainWindow(SHOW_ENDED_MESSAGE);
            return STEP_CLOSED;
        }
    }
    return STEP_RUNNING;
}

bool IsPresentable(const CItem& item) { return item.IsEndingItem() || item.GetPrice() > 0; }
