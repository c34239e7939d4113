#pragma once
// Shared by the fuzz targets: splits one input into the pieces a target
// needs, and writes bytes to a scratch file for readers that take a path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}

    uint32_t Word() {
        uint32_t v = 0;
        for (int i = 0; i < 4 && m_left; ++i, ++m_data, --m_left)
            v |= uint32_t(*m_data) << (8 * i);
        return v;
    }
    uint8_t Byte() {
        if (!m_left)
            return 0;
        --m_left;
        return *m_data++;
    }
    const uint8_t* Rest() const { return m_data; }
    size_t Left() const { return m_left; }

private:
    const uint8_t* m_data;
    size_t m_left;
};

// A file of this process's own under the temporary folder, rewritten each run.
inline std::string ScratchFile(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/deskmate-fuzz-" + std::to_string(getpid()) + "-" + name;
}

inline bool WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}
