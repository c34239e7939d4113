#include "platform/cmdline/CommandLineInfo.h"

void ParseCommandLine(CCommandLineInfo& info, int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const char* param = argv[i];
        if (!param)
            continue;
        const bool isFlag = param[0] == '-' || param[0] == '/';
        info.ParseParam(isFlag ? param + 1 : param, isFlag, i == argc - 1);
    }
}
