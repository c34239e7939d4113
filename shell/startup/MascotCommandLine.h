#pragma once
#include "platform/cmdline/CommandLineInfo.h"

// How deskmate was started. Only the screen-saver run behaves differently;
// the other modes are those a screen saver's settings and preview pass.
enum RunMode {
    RUN_NORMAL = 0,
    RUN_SCREEN_SAVER = 1, // "s"
    RUN_CONFIGURE = 2,    // "c"
    RUN_PREVIEW = 3,      // "p"
    RUN_PASSWORD = 4,     // "a"
};

// The flags of deskmate's command line: the first character of a flag alone
// counts, in any case; a later flag wins; anything else is ignored.
class CMascotCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* param, bool isFlag, bool isLast) override;
    int m_runMode = RUN_NORMAL;
};
