#include "tools/content/ContentFile.h"

#include <fstream>

bool WriteContentFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}
