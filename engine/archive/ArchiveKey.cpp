#include "engine/archive/ArchiveKey.h"

std::string MakeArchiveKey(const std::string& path) {
    size_t end = path.rfind('.');
    if (end == std::string::npos)
        end = path.size();
    size_t begin = 0;
    if (end > 0) {
        size_t slash = path.find_last_of("\\/", end - 1);
        if (slash != std::string::npos)
            begin = slash + 1;
    }
    std::string key = path.substr(begin, end - begin);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (c == '.')
            c = '_';
    }
    return key;
}
