#include "platform/archive/FileReplace.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

FILE* OpenForReadingDenyWrite(const char* path) {
#ifdef _WIN32
    return _fsopen(path, "rb", _SH_DENYWR);
#else
    return std::fopen(path, "rb");
#endif
}

// Pushes the written bytes past the C library and the system's cache.
bool FlushToDisk(FILE* file) {
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

} // namespace

FileReadResult ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes) {
    bytes.clear();
    errno = 0;
    FILE* file = OpenForReadingDenyWrite(path);
    if (!file) // a file that is there but cannot be opened is not "missing"
        return errno == ENOENT ? FR_MISSING : FR_READ_ERROR;
    FileReadResult result = FR_OK;
    uint8_t chunk[4096];
    for (;;) {
        size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got > maxBytes - bytes.size()) {
            result = FR_TOO_LARGE;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            if (std::ferror(file))
                result = FR_READ_ERROR;
            break;
        }
    }
    std::fclose(file);
    if (result != FR_OK)
        bytes.clear();
    return result;
}

bool ReplaceFileAtomically(const char* source, const char* target) {
#ifdef _WIN32
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(source, target) == 0;
#endif
}

CReplacingFileWriter::CReplacingFileWriter(const char* target) : m_target(target), m_temporary(m_target + ".tmp") {}

CReplacingFileWriter::~CReplacingFileWriter() { Abandon(); }

void CReplacingFileWriter::Abandon() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
        std::remove(m_temporary.c_str());
    }
}

bool CReplacingFileWriter::Open(bool textMode) {
    Abandon();
    m_failed = false;
    m_file = std::fopen(m_temporary.c_str(), textMode ? "wt" : "wb");
    return m_file != nullptr;
}

bool CReplacingFileWriter::Write(const void* data, size_t length) {
    if (!m_file || m_failed)
        return false;
    if (length && std::fwrite(data, 1, length, m_file) != length)
        m_failed = true;
    return !m_failed;
}

bool CReplacingFileWriter::Commit() {
    if (!m_file)
        return false;
    if (m_failed || !FlushToDisk(m_file)) {
        Abandon();
        return false;
    }
    FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0 || !ReplaceFileAtomically(m_temporary.c_str(), m_target.c_str())) {
        std::remove(m_temporary.c_str());
        return false;
    }
    return true;
}
