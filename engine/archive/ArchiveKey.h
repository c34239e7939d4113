#pragma once
#include <string>

// The archive key of a path: the file name without folder and without what
// follows the last '.' of the whole path, upper-cased (a to z only, so that
// code-page-932 trail bytes are left alone), with each '.' left turned into
// '_'. "model/ending/endRoll.hgm" gives "ENDROLL".
std::string MakeArchiveKey(const std::string& path);
