#pragma once
#include <windows.h>

// Our stand-in for the framework's file class: one file opened for reading
// or writing, closed by Close or on destruction. Failures are return values.
class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };
    enum SeekPosition : UINT {
        begin = 0,
        current = 1,
        end = 2
    };

    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    BOOL Open(const char* path, UINT flags);
    // Bytes read, 0 at the end or on failure.
    UINT Read(void* buffer, UINT count);
    BOOL Write(const void* buffer, UINT count);
    // New position, or -1 on failure.
    LONGLONG Seek(LONGLONG offset, UINT from);
    // The file's length, or -1 on failure.
    LONGLONG GetLength() const;
    void Close();
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
