#include <gtest/gtest.h>

#include <vector>

#include "shell/startup/MascotCommandLine.h"

namespace {

int ModeOf(std::vector<const char*> args) {
    args.insert(args.begin(), "deskmate.exe");
    CMascotCommandLineInfo info;
    ParseCommandLine(info, int(args.size()), args.data());
    return info.m_runMode;
}

TEST(MascotCommandLine, FirstLetterOfTheLastFlagDecides) {
    struct Case {
        std::vector<const char*> args;
        int mode;
    } cases[] = {
        {{}, RUN_NORMAL},
        {{"/s"}, RUN_SCREEN_SAVER},
        {{"/S"}, RUN_SCREEN_SAVER},
        {{"-screensaver"}, RUN_SCREEN_SAVER},
        {{"/p", "1234"}, RUN_PREVIEW}, // the window number is no flag
        {{"/c:5678"}, RUN_CONFIGURE},
        {{"/a"}, RUN_PASSWORD},
        {{"s"}, RUN_NORMAL},           // not a flag
        {{"/x"}, RUN_NORMAL},          // an unknown flag
        {{"/s", "/c"}, RUN_CONFIGURE}, // the last flag wins
        {{"/c", "/x", "/S"}, RUN_SCREEN_SAVER},
        {{"/"}, RUN_NORMAL},
        {{"/\x82\x93"}, RUN_NORMAL}, // a double-byte character (a full-width letter)
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const char* a : c.args)
            shown += std::string(a) + " ";
        EXPECT_EQ(ModeOf(c.args), c.mode) << shown;
    }
}

} // namespace
