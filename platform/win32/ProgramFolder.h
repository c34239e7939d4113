#pragma once
#include <string>

// The folder that holds the running program, without a trailing separator;
// empty when Windows cannot say.
std::string GetProgramFolder();
