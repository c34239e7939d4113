#include "platform/archive/ArchiveStream.h"

#include <cstring>
#include "engine/core/LittleEndian.h"

void CArchiveWriter::WriteUInt8(uint8_t value) { m_bytes.push_back(value); }

void CArchiveWriter::WriteUInt16(uint16_t value) { AppendLe16(m_bytes, value); }

void CArchiveWriter::WriteUInt32(uint32_t value) { AppendLe32(m_bytes, value); }

void CArchiveWriter::WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }

void CArchiveWriter::WriteFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteUInt32(bits);
}

void CArchiveWriter::WriteString(const std::string& text) {
    const size_t length = text.size();
    if (length < 0xFF) {
        WriteUInt8(static_cast<uint8_t>(length));
    } else if (length < 0xFFFE) {
        WriteUInt8(0xFF);
        WriteUInt16(static_cast<uint16_t>(length));
    } else {
        WriteUInt8(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<uint32_t>(length));
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

CArchiveReader::CArchiveReader(const uint8_t* data, size_t length) : m_data(data), m_length(data ? length : 0) {}

bool CArchiveReader::Take(void* out, size_t count) {
    if (m_failed || count > m_length - m_offset) {
        m_failed = true;
        return false;
    }
    if (count)
        std::memcpy(out, m_data + m_offset, count);
    m_offset += count;
    return true;
}

bool CArchiveReader::ReadUInt8(uint8_t& value) { return Take(&value, 1); }

bool CArchiveReader::ReadUInt16(uint16_t& value) {
    uint8_t b[2];
    if (!Take(b, sizeof b))
        return false;
    value = ReadLe16(b);
    return true;
}

bool CArchiveReader::ReadUInt32(uint32_t& value) {
    uint8_t b[4];
    if (!Take(b, sizeof b))
        return false;
    value = ReadLe32(b);
    return true;
}

bool CArchiveReader::ReadInt32(int32_t& value) {
    uint32_t bits;
    if (!ReadUInt32(bits))
        return false;
    value = static_cast<int32_t>(bits);
    return true;
}

bool CArchiveReader::ReadFloat(float& value) {
    uint32_t bits;
    if (!ReadUInt32(bits))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool CArchiveReader::ReadString(std::string& text) {
    uint8_t shortLength;
    if (!ReadUInt8(shortLength))
        return false;
    uint32_t length = shortLength;
    if (shortLength == 0xFF) {
        uint16_t midLength;
        if (!ReadUInt16(midLength))
            return false;
        // 0xFFFE marks a wide-character string, which these files never hold.
        if (midLength == 0xFFFE) {
            m_failed = true;
            return false;
        }
        length = midLength;
        if (midLength == 0xFFFF && !ReadUInt32(length))
            return false;
    }
    if (length > m_length - m_offset) {
        m_failed = true;
        return false;
    }
    text.assign(reinterpret_cast<const char*>(m_data + m_offset), length);
    m_offset += length;
    return true;
}
