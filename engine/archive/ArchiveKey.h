#pragma once
#include <string>

// The archive key of a path: the file name without folder and without what
// follows the last '.' of the whole path, upper-cased, with each '.' left
// turned into '_'. "model/ending/endRoll.hgm" gives "ENDROLL".
// The rule works on single bytes and knows nothing of code page 932: every
// byte 'a' to 'z' is upper-cased and every '\' or '/' ends a folder, also
// when it is the trail byte of a double-byte character (0x5C, 0x61 to 0x7A).
// Bytes 0x80 and above are left as they are. The stored keys were made by
// this rule, so it stays as it is.
std::string MakeArchiveKey(const std::string& path);
