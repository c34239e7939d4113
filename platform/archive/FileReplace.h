#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Whole-file reads and writes that never leave a half-written file in place
// of a good one.

enum FileReadResult {
    FR_OK,
    FR_MISSING,    // there is no such file
    FR_TOO_LARGE,  // longer than the caller allows
    FR_READ_ERROR, // there but not readable (locked, no access, read error)
};

// Reads the whole file into bytes, refusing one longer than maxBytes. On
// Windows others are denied write access while it is read.
FileReadResult ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>& bytes);

// Replaces target by source in one step (the target may exist). True on success.
bool ReplaceFileAtomically(const char* source, const char* target);

// Writes a file as a temporary beside the target ("<target>.tmp") and puts it
// in the target's place only on Commit. Destroyed without a commit (or when a
// step fails), it removes the temporary and leaves the target untouched.
class CReplacingFileWriter {
public:
    explicit CReplacingFileWriter(const char* target);
    ~CReplacingFileWriter();
    CReplacingFileWriter(const CReplacingFileWriter&) = delete;
    CReplacingFileWriter& operator=(const CReplacingFileWriter&) = delete;

    // Creates the temporary file; false when it cannot be created. In text
    // mode each "\n" written becomes the system's line end (CR LF on Windows).
    bool Open(bool textMode = false);
    bool Write(const void* data, size_t length);
    // Flushes the temporary to disk, closes it and replaces the target.
    bool Commit();

    const std::string& GetTemporaryPath() const { return m_temporary; }

private:
    void Abandon();

    std::string m_target;
    std::string m_temporary;
    FILE* m_file = nullptr;
    bool m_failed = false;
};
