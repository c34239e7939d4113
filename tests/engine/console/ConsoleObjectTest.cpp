#include <gtest/gtest.h>

#include <sstream>

#include "engine/console/ConsoleObject.h"

namespace {

int CountEntries(const std::string& name) {
    auto range = ConsoleObjectRegistry().equal_range(name);
    int count = 0;
    for (auto it = range.first; it != range.second; ++it)
        ++count;
    return count;
}

// A small property parser laid out as the camera controllers write theirs.
class CTunables : public CConsoleObject {
public:
    CTunables() : CConsoleObject("tunables") {}
    float m_speed = 1.5f;
    float m_damper = 0.25f;

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override {
        std::vector<std::string> usage;
        if (BindFloatParameter(out, m_speed, "speed", usage, command, args) ||
            BindFloatParameter(out, m_damper, "damper", usage, command, args))
            return true;
        if (CConsoleObject::HandleCommand(out, command, args))
            return true;
        for (const std::string& keyword : usage)
            out << keyword << " ";
        out << "\n" << std::flush;
        return true;
    }
};

} // namespace

TEST(ConsoleObjectTest, SelectTakesExactWordOnly) {
    CConsoleObject object("cam");
    std::ostringstream out;
    SelectedObjectName() = "";

    EXPECT_TRUE(object.HandleCommand(out, "select", {"extra", "words"}));
    EXPECT_EQ(SelectedObjectName(), "cam");

    SelectedObjectName() = "";
    for (const char* word : {"Select", "selec", "selects", "", "select "})
        EXPECT_FALSE(object.HandleCommand(out, word, {})) << "'" << word << "'";
    EXPECT_EQ(SelectedObjectName(), "");
    EXPECT_EQ(out.str(), "");
}

TEST(ConsoleObjectTest, SelectedNameOutlivesObject) {
    {
        CConsoleObject object("gone");
        std::ostringstream out;
        object.HandleCommand(out, "select", {});
    }
    EXPECT_EQ(SelectedObjectName(), "gone");
    EXPECT_EQ(CountEntries("gone"), 0);
}

TEST(ConsoleObjectTest, NamesakesKeepOrderAndLeaveOneByOne) {
    auto* first = new CConsoleObject("x");
    CConsoleObject second(std::string("x"));
    auto* third = new CConsoleObject("x");

    auto range = ConsoleObjectRegistry().equal_range("x");
    std::vector<CConsoleObject*> order;
    for (auto it = range.first; it != range.second; ++it)
        order.push_back(it->second);
    EXPECT_EQ(order, (std::vector<CConsoleObject*>{first, &second, third}));

    delete first;
    delete third;
    ASSERT_EQ(CountEntries("x"), 1);
    EXPECT_EQ(ConsoleObjectRegistry().find("x")->second, &second);
}

TEST(ConsoleObjectTest, EmptyNameIsNotRegistered) {
    size_t before = ConsoleObjectRegistry().size();
    {
        CConsoleObject unnamed("");
        CConsoleObject nullName((const char*)nullptr);
        EXPECT_EQ(ConsoleObjectRegistry().size(), before);
        std::ostringstream out;
        EXPECT_TRUE(unnamed.HandleCommand(out, "select", {}));
        EXPECT_EQ(SelectedObjectName(), "");
    }
    EXPECT_EQ(ConsoleObjectRegistry().size(), before);
}

TEST(ConsoleObjectTest, BindFloatParameterSetsPrintsOrCollects) {
    struct Case {
        const char* command;
        std::vector<std::string> args;
        bool taken;
        float after;
        const char* printed;
    };
    const Case cases[] = {
        {"gain", {"2.5"}, true, 2.5f, ""}, {"gain", {"  -3e1xyz", "9"}, true, -30.0f, ""},
        {"gain", {"abc"}, true, 0.0f, ""}, {"gain", {}, true, 0.75f, "0.75\n"},
        {"Gain", {"4"}, false, 0.75f, ""}, {"gai", {"4"}, false, 0.75f, ""},
    };
    for (const Case& c : cases) {
        float value = 0.75f;
        std::vector<std::string> usage = {"before"};
        std::ostringstream out;
        EXPECT_EQ(BindFloatParameter(out, value, "gain", usage, c.command, c.args), c.taken) << c.command;
        EXPECT_FLOAT_EQ(value, c.after) << c.command;
        EXPECT_EQ(out.str(), c.printed) << c.command;
        std::vector<std::string> expected = {"before"};
        if (!c.taken)
            expected.push_back("gain");
        EXPECT_EQ(usage, expected) << c.command;
    }
}

TEST(ConsoleObjectTest, PropertyParserListsKeywordsAndFallsThroughToSelect) {
    CTunables tunables;
    std::ostringstream out;

    EXPECT_TRUE(tunables.HandleCommand(out, "damper", {"0.5"}));
    EXPECT_FLOAT_EQ(tunables.m_damper, 0.5f);
    EXPECT_TRUE(tunables.HandleCommand(out, "nonsense", {}));
    EXPECT_EQ(out.str(), "speed damper \n");

    out.str("");
    EXPECT_TRUE(tunables.HandleCommand(out, "select", {}));
    EXPECT_EQ(SelectedObjectName(), "tunables");
    EXPECT_EQ(out.str(), "");
}
