#include "shell/startup/MascotCommandLine.h"

void CMascotCommandLineInfo::ParseParam(const char* param, bool isFlag, bool isLast) {
    if (!isFlag || !param)
        return;
    // A lead byte of a double-byte character is never one of the letters.
    unsigned char first = static_cast<unsigned char>(param[0]);
    if (first >= 'A' && first <= 'Z')
        first = static_cast<unsigned char>(first - 'A' + 'a');
    switch (first) {
    case 's': m_runMode = RUN_SCREEN_SAVER; break;
    case 'c': m_runMode = RUN_CONFIGURE; break;
    case 'p': m_runMode = RUN_PREVIEW; break;
    case 'a': m_runMode = RUN_PASSWORD; break;
    default: break;
    }
}
