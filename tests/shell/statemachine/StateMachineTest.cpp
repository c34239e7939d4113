// The state machine: entering and leaving states, hand-over within a step,
// the end of the list, and a step that cannot run forever.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/statemachine/StateMachine.h"

namespace {

// Records every call in one shared log; Update answers what the script says
// and may ask for another state first.
class ScriptState : public CMachineState {
public:
    ScriptState(const char* name, std::vector<std::string>& log) : CMachineState(name), m_log(log) {}
    void Enter() override { m_log.push_back(GetName() + ".Enter"); }
    void Exit() override { m_log.push_back(GetName() + ".Exit"); }
    bool Update(CStateMachine& machine) override {
        m_log.push_back(GetName() + ".Update");
        if (!gotoName.empty()) {
            machine.Goto(gotoName.c_str());
            return false;
        }
        if (next) {
            machine.Next();
            return false;
        }
        return true;
    }
    std::string gotoName;
    bool next = false;

private:
    std::vector<std::string>& m_log;
};

struct StateMachineTest : ::testing::Test {
    StateMachineTest() {
        a = new ScriptState("A", log);
        b = new ScriptState("B", log);
        c = new ScriptState("C", log);
        machine.AddState(a);
        machine.AddState(b);
        machine.AddState(c);
    }
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
    std::vector<std::string> log;
    CStateMachine machine;
    ScriptState* a;
    ScriptState* b;
    ScriptState* c;
};

using Log = std::vector<std::string>;

TEST_F(StateMachineTest, FirstStepEntersTheRequestedState) {
    EXPECT_EQ(machine.GetRequestedIndex(), 0);
    EXPECT_EQ(machine.GetCurrentIndex(), -1);
    EXPECT_TRUE(machine.Step());
    EXPECT_EQ(Take(), (Log{"A.Enter", "A.Update"}));
    EXPECT_TRUE(machine.Step());
    EXPECT_EQ(Take(), (Log{"A.Update"}));
    EXPECT_EQ(machine.GetCurrentIndex(), 0);
}

TEST_F(StateMachineTest, AStateThatHandsOverLetsTheNextRunInTheSameStep) {
    machine.Step();
    Take();
    a->gotoName = "C";
    EXPECT_TRUE(machine.Step());
    EXPECT_EQ(Take(), (Log{"A.Update", "A.Exit", "C.Enter", "C.Update"}));
    EXPECT_EQ(machine.GetCurrentIndex(), 2);

    // Goto answers whether the name exists; an unknown one changes nothing.
    EXPECT_FALSE(machine.Goto("c"));
    EXPECT_FALSE(machine.Goto("Cx"));
    EXPECT_EQ(machine.GetRequestedIndex(), 2);
    EXPECT_TRUE(machine.Goto("B"));
    EXPECT_EQ(machine.GetRequestedIndex(), 1);
    EXPECT_TRUE(machine.Step());
    EXPECT_EQ(Take(), (Log{"C.Exit", "B.Enter", "B.Update"}));
}

TEST_F(StateMachineTest, RunningPastTheLastStateEndsTheMachine) {
    a->next = true;
    b->next = true;
    c->next = true;
    EXPECT_FALSE(machine.Step());
    EXPECT_EQ(Take(),
              (Log{"A.Enter", "A.Update", "A.Exit", "B.Enter", "B.Update", "B.Exit", "C.Enter", "C.Update", "C.Exit"}));
    EXPECT_EQ(machine.GetRequestedIndex(), 3);
    EXPECT_EQ(machine.GetCurrentIndex(), 3);
    EXPECT_FALSE(machine.Step());
    EXPECT_TRUE(Take().empty());

    // Previous brings it back into the list.
    machine.Previous();
    c->next = false;
    EXPECT_TRUE(machine.Step());
    EXPECT_EQ(Take(), (Log{"C.Enter", "C.Update"}));
}

TEST_F(StateMachineTest, StopLeavesTheCurrentState) {
    machine.Step();
    Take();
    machine.Stop();
    EXPECT_EQ(Take(), (Log{"A.Exit"}));
    EXPECT_EQ(machine.GetRequestedIndex(), -1);
    EXPECT_EQ(machine.GetCurrentIndex(), -1);
    EXPECT_FALSE(machine.Step());
    EXPECT_TRUE(Take().empty());
}

TEST_F(StateMachineTest, ANullStateEndsTheStep) {
    machine.AddState(nullptr);
    c->next = true;
    ASSERT_TRUE(machine.Goto("C"));
    EXPECT_FALSE(machine.Step());
    EXPECT_EQ(Take(), (Log{"C.Enter", "C.Update", "C.Exit"}));
    EXPECT_EQ(machine.GetCurrentIndex(), 3);
}

TEST_F(StateMachineTest, StatesThatKeepAskingForEachOtherStillEndTheStep) {
    a->gotoName = "B";
    b->gotoName = "A";
    EXPECT_TRUE(machine.Step());
    const Log log = Take();
    int updates = 0;
    for (const std::string& entry : log)
        updates += entry.find(".Update") != std::string::npos;
    EXPECT_EQ(updates, CStateMachine::MAX_UPDATES_PER_STEP);
    // The next step carries on from where this one stopped.
    b->gotoName.clear();
    a->gotoName.clear();
    EXPECT_TRUE(machine.Step());
    const Log next = Take();
    ASSERT_FALSE(next.empty());
    EXPECT_EQ(next.back(), machine.GetCurrentState()->GetName() + ".Update");
}

} // namespace
