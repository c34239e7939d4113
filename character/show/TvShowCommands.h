#pragma once
#include <ostream>
#include <string>
#include <vector>

class CTransform;

// The show's own console words: "pos x y z" places the TV node, "print"
// reports where it is. False for any other word (the caller's base answers).
bool HandleTvShowCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args,
                         CTransform* tv);
