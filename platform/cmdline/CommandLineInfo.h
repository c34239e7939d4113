#pragma once

// Our stand-in for the framework's command-line parser: each argument after
// the program's name goes to ParseParam, a flag (starting with '-' or '/')
// without its first character.
class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const char* param, bool isFlag, bool isLast) {}
};

void ParseCommandLine(CCommandLineInfo& info, int argc, const char* const* argv);
