#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/archive/ArchiveStream.h"

namespace {

std::vector<uint8_t> Header(const std::string& text) {
    CArchiveWriter writer;
    writer.WriteString(text);
    std::vector<uint8_t> bytes = writer.GetBytes();
    bytes.resize(bytes.size() - text.size());
    return bytes;
}

} // namespace

TEST(ArchiveStream, NumbersAreLittleEndian) {
    CArchiveWriter writer;
    writer.WriteUInt32(0x10000);
    writer.WriteInt32(-2);
    writer.WriteFloat(1.0f);
    writer.WriteUInt16(0xBEEF);
    const std::vector<uint8_t> want = {0x00, 0x00, 0x01, 0x00, 0xFE, 0xFF, 0xFF,
                                       0xFF, 0x00, 0x00, 0x80, 0x3F, 0xEF, 0xBE};
    EXPECT_EQ(writer.GetBytes(), want);

    CArchiveReader reader(want.data(), want.size());
    uint32_t version = 0;
    int32_t negative = 0;
    float one = 0.0f;
    uint16_t half = 0;
    EXPECT_TRUE(reader.ReadUInt32(version) && reader.ReadInt32(negative) && reader.ReadFloat(one) &&
                reader.ReadUInt16(half));
    EXPECT_EQ(version, 0x10000u);
    EXPECT_EQ(negative, -2);
    EXPECT_EQ(one, 1.0f);
    EXPECT_EQ(half, 0xBEEF);
    EXPECT_EQ(reader.GetRemaining(), 0u);
}

TEST(ArchiveStream, CountedStringLengthForms) {
    struct Case {
        size_t length;
        std::vector<uint8_t> header;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'a');
        if (!text.empty())
            text.back() = '\x82'; // bytes pass through unchanged
        EXPECT_EQ(Header(text), c.header) << c.length;

        CArchiveWriter writer;
        writer.WriteString(text);
        writer.WriteUInt8(0x5A);
        ASSERT_EQ(writer.GetBytes().size(), c.header.size() + c.length + 1);
        CArchiveReader reader(writer.GetBytes().data(), writer.GetBytes().size());
        std::string back;
        uint8_t tail = 0;
        EXPECT_TRUE(reader.ReadString(back)) << c.length;
        EXPECT_EQ(back, text) << c.length;
        EXPECT_TRUE(reader.ReadUInt8(tail));
        EXPECT_EQ(tail, 0x5A);
    }
}

TEST(ArchiveStream, RefusesReadsPastTheEnd) {
    const std::vector<std::vector<uint8_t>> strings = {
        {},                                         // no length at all
        {0x03, 'a', 'b'},                           // one byte short
        {0xFF, 0x00},                               // cut inside the 16-bit length
        {0xFF, 0x00, 0x01, 'a'},                    // 256 announced
        {0xFF, 0xFF, 0xFF, 0x01, 0x00},             // cut inside the 32-bit length
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, // 4 GiB announced
        {0xFF, 0xFE, 0xFF, 0x00},                   // wide-character marker
    };
    for (const std::vector<uint8_t>& bytes : strings) {
        CArchiveReader reader(bytes.data(), bytes.size());
        std::string text = "kept";
        EXPECT_FALSE(reader.ReadString(text)) << bytes.size();
        EXPECT_EQ(text, "kept");
        EXPECT_TRUE(reader.IsFailed());
    }

    const uint8_t three[] = {1, 2, 3};
    CArchiveReader reader(three, sizeof three);
    uint32_t word = 7;
    uint8_t byte = 0;
    EXPECT_FALSE(reader.ReadUInt32(word));
    EXPECT_EQ(word, 7u);
    // Once failed, the reader stays failed, even for reads that would fit.
    EXPECT_FALSE(reader.ReadUInt8(byte));

    CArchiveReader empty(nullptr, 10);
    EXPECT_FALSE(empty.ReadUInt8(byte));
}
