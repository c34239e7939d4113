#include "shell/mascot/SystemConsole.h"

#include <cstdlib>

bool CSystemConsole::HandleCommand(std::ostream& out, const std::string& command,
                                   const std::vector<std::string>& args) {
    if (IsWord(command, "stop")) {
        m_stopped = true;
        return true;
    }
    if (IsWord(command, "start")) {
        m_stopped = false;
        return true;
    }
    if (IsWord(command, "timeratio")) {
        if (args.empty()) {
            out << "name timeratio value\n";
            out.flush();
            return false;
        }
        m_timeRatio = float(std::atof(args[0].c_str()));
        return true;
    }
    if (IsWord(command, "rendering"))
        return true;
    return CConsoleObject::HandleCommand(out, command, args);
}
