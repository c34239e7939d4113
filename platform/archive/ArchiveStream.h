#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The little-endian archive stream our saved files are made of: fixed-size
// numbers and counted strings, byte for byte as the application framework's
// archive writes them.
//
// Counted string: the byte length, then the bytes (no terminator). The length
// is one byte below 255; else 0xFF and a 16-bit length below 0xFFFE; else
// 0xFF, 0xFFFF and a 32-bit length.

// Appends to a byte buffer that it owns.
class CArchiveWriter {
public:
    void WriteUInt8(uint8_t value);
    void WriteUInt16(uint16_t value);
    void WriteUInt32(uint32_t value);
    void WriteInt32(int32_t value);
    void WriteFloat(float value);
    void WriteString(const std::string& text);

    const std::vector<uint8_t>& GetBytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// Reads from a caller's buffer, checking every read against its end. The
// first failed read marks the reader failed and every later read fails too,
// so a caller may read a whole record and test IsFailed once.
class CArchiveReader {
public:
    CArchiveReader(const uint8_t* data, size_t length);

    bool ReadUInt8(uint8_t& value);
    bool ReadUInt16(uint16_t& value);
    bool ReadUInt32(uint32_t& value);
    bool ReadInt32(int32_t& value);
    bool ReadFloat(float& value);
    // Fails when the announced length runs past the end of the buffer.
    bool ReadString(std::string& text);

    bool IsFailed() const { return m_failed; }
    size_t GetRemaining() const { return m_length - m_offset; }
    size_t GetOffset() const { return m_offset; }

private:
    bool Take(void* out, size_t count);

    const uint8_t* m_data;
    size_t m_length;
    size_t m_offset = 0;
    bool m_failed = false;
};
