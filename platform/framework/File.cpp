#include "platform/framework/File.h"

BOOL CFile::Open(const char* path, UINT flags) {
    Close();
    bool write = (flags & modeWrite) != 0;
    DWORD access = write ? GENERIC_WRITE : GENERIC_READ;
    DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_handle =
        CreateFileA(path, access, write ? 0 : FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

UINT CFile::Read(void* buffer, UINT count) {
    DWORD done = 0;
    if (!IsOpen() || !ReadFile(m_handle, buffer, count, &done, nullptr))
        return 0;
    return done;
}

BOOL CFile::Write(const void* buffer, UINT count) {
    DWORD done = 0;
    return IsOpen() && WriteFile(m_handle, buffer, count, &done, nullptr) && done == count;
}

LONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    if (!IsOpen())
        return -1;
    LARGE_INTEGER distance, now;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(m_handle, distance, &now, from))
        return -1;
    return now.QuadPart;
}

LONGLONG CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(m_handle, &size))
        return -1;
    return size.QuadPart;
}

void CFile::Close() {
    if (IsOpen())
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}
