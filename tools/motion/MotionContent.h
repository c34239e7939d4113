#pragma once
#include <string>

// Writes her 176 animation files ("<set>.hga") into `folder` with a manifest
// there ("motion.manifest") that puts them into animation archive 0 as
// "animation/<set>.hga". The same bytes on every run.
bool WriteMotionContent(const std::string& folder, std::string& error);
