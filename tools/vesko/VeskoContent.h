#pragma once
#include <string>

// Writes Vesko's eleven models and the pictures of texture list 4 into
// `folder`, with a manifest there ("vesko.manifest") that puts them into
// model archive 4 and texture archive 4 under "model/vesko/", the models in
// the order the program loads them, the pictures in the list's order. The
// output is the same byte for byte on every run.
bool WriteVeskoContent(const std::string& folder, std::string& error);
