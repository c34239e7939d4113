#pragma once
#include <cstdio>

// A plain text log file: lines are written as formatted, without levels or
// added newlines. A log that failed to open, or was closed, ignores writes.
class CLog {
public:
    CLog() = default;
    ~CLog() { Close(); }

    // Rewrites the file (text mode). False when it cannot be opened.
    bool Open(const char* name);
    void Close();
    // Formats into a 1024-byte buffer (longer output is cut) and writes it.
    void Printf(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    bool IsOpen() const { return m_file != nullptr; }

    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

private:
    FILE* m_file = nullptr;
};
