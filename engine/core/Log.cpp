#include "engine/core/Log.h"

#include <cstdarg>

bool CLog::Open(const char* name) {
    Close();
    if (name)
        m_file = std::fopen(name, "wt");
    return m_file != nullptr;
}

void CLog::Close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void CLog::Printf(const char* format, ...) {
    if (!m_file || !format)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    // A long line is cut, never overrun.
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::fprintf(m_file, "%s", buffer);
}
