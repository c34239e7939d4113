// Pictures larger than the caller's limit are refused from their headers,
// before their texels are allocated, and an allocation that fails inside a
// decoder is a refused picture.
#include <gtest/gtest.h>

#include <zlib.h>

#include "platform/image/ImageDecoders.h"
#include "tests/platform/image/AllocationProbe.h"
#include "tests/platform/image/TestImages.h"

namespace {

using namespace testimages;

uint32_t ReadBe32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void WriteBe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (24 - 8 * i));
}

// The PNG with its header's width and height replaced (the header's CRC made
// to match, so that only the size is wrong).
Bytes PngClaiming(const Bytes& png, uint32_t width, uint32_t height) {
    Bytes b = png;
    WriteBe32(b.data() + 16, width);
    WriteBe32(b.data() + 20, height);
    uint32_t length = ReadBe32(b.data() + 8);
    uint32_t crc = (uint32_t)crc32(0, b.data() + 12, 4 + length);
    WriteBe32(b.data() + 16 + length, crc);
    return b;
}

// The JPEG with its frame header's height and width replaced.
Bytes JpegClaiming(const Bytes& jpeg, uint16_t width, uint16_t height) {
    Bytes b = jpeg;
    for (size_t i = 2; i + 8 < b.size(); ++i)
        if (b[i] == 0xff && b[i + 1] == 0xc0) {
            b[i + 5] = uint8_t(height >> 8), b[i + 6] = uint8_t(height);
            b[i + 7] = uint8_t(width >> 8), b[i + 8] = uint8_t(width);
            break;
        }
    return b;
}

// An 8192 × 8192 run-length TGA of 2 MiB: every packet repeats one texel
// 128 times, the least data such a picture can take.
Bytes HugeRunLengthTga() {
    Bytes b = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AppendLe16(b, 8192);
    AppendLe16(b, 8192);
    b.push_back(24);
    b.push_back(0x20);
    for (size_t packet = 0; packet < size_t(8192) * 8192 / 128; ++packet) {
        b.push_back(0xff);
        b.push_back(10), b.push_back(20), b.push_back(30);
    }
    return b;
}

struct Encoded {
    const char* name;
    Bytes bytes;
};

// Each format at 16 × 8: decoded within exactly that limit, refused when
// either side is one over.
TEST(ImageLimits, EachFormatIsRefusedOnePastTheLimit) {
    CImage image = Pattern(16, 8, true);
    const Encoded cases[] = {
        {"bmp", Bmp(image, 24)},   {"tga", Tga(image, 32)}, {"tgaRle", Tga(image, 32, true)},
        {"png", Png(image, true)}, {"jpeg", Jpeg(image)},   {"dds", DdsArgb(image, true)},
    };
    for (const Encoded& c : cases) {
        SCOPED_TRACE(c.name);
        CImage got;
        ImageLimits exact;
        exact.maxWidth = 16, exact.maxHeight = 8;
        ASSERT_TRUE(DecodeImage(c.bytes.data(), c.bytes.size(), got, nullptr, exact));
        EXPECT_EQ(got.width, 16);
        EXPECT_EQ(got.height, 8);
        ImageLimits narrow = exact, low = exact;
        narrow.maxWidth = 15;
        low.maxHeight = 7;
        EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), got, nullptr, narrow));
        EXPECT_TRUE(got.pixels.empty());
        EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), got, nullptr, low));
        EXPECT_TRUE(got.pixels.empty());
    }
    Bytes dxt = DdsDxt("DXT1");
    CImage got;
    ImageLimits three;
    three.maxWidth = three.maxHeight = 3;
    EXPECT_FALSE(DecodeImage(dxt.data(), dxt.size(), got, nullptr, three));
    three.maxWidth = three.maxHeight = 4;
    EXPECT_TRUE(DecodeImage(dxt.data(), dxt.size(), got, nullptr, three));
}

TEST(ImageLimits, DeviceLimitsAreHeldBelowTheDefault) {
    struct {
        int64_t width, height;
        int wantWidth, wantHeight;
    } cases[] = {
        {0, 0, IMAGE_MAX_SIDE, IMAGE_MAX_SIDE},
        {16384, 8192, IMAGE_MAX_SIDE, IMAGE_MAX_SIDE},
        {2048, 1024, 2048, 1024},
        {4096, 4096, 4096, 4096},
        {-1, 256, IMAGE_MAX_SIDE, 256},
    };
    for (const auto& c : cases) {
        ImageLimits limits = ImageLimits::Within(c.width, c.height);
        EXPECT_EQ(limits.maxWidth, c.wantWidth) << c.width;
        EXPECT_EQ(limits.maxHeight, c.wantHeight) << c.height;
    }
    EXPECT_EQ(IMAGE_MAX_SIDE, 4096);
}

// Headers claiming 8192 × 8192 (twice the default limit) in every format:
// refused, and nothing near the picture's 256 MiB is asked for.
TEST(ImageLimits, HugeHeadersAllocateNothingForTheirTexels) {
    CImage small = Pattern(4, 4, false);
    // A complete one-bit bitmap: 8 MiB of pixels, 256 MiB of texels.
    Bytes bmp = {'B', 'M'};
    AppendLe32(bmp, 62 + 1024 * 8192), AppendLe32(bmp, 0), AppendLe32(bmp, 62);
    AppendLe32(bmp, 40), AppendLe32(bmp, 8192), AppendLe32(bmp, 8192), AppendLe16(bmp, 1), AppendLe16(bmp, 1);
    for (int i = 0; i < 6; ++i)
        AppendLe32(bmp, 0);
    AppendLe32(bmp, 0), AppendLe32(bmp, 0xffffff);
    bmp.resize(62 + 1024 * 8192, 0x55);
    const Encoded cases[] = {
        {"tgaRle", HugeRunLengthTga()},
        {"png", PngClaiming(Png(small, false), 8192, 8192)},
        {"jpeg", JpegClaiming(Jpeg(small), 8192, 8192)},
        {"bmp", bmp},
    };
    for (const Encoded& c : cases) {
        SCOPED_TRACE(c.name);
        CImage got;
        CAllocationProbe probe(0);
        EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), got));
        EXPECT_LT(probe.Largest(), size_t(1) << 20);
        EXPECT_TRUE(got.pixels.empty());
    }
}

// A 600 × 600 picture needs 1.4 MB of texels; with every request above 1 MB
// failing, each decoder answers false with an empty image instead of letting
// std::bad_alloc end the program, and decodes the same bytes once memory is
// there again.
TEST(ImageLimits, FailedAllocationIsARefusedImage) {
    CImage image = Pattern(600, 600, true);
    const Encoded cases[] = {
        {"bmp", Bmp(image, 32)},   {"tga", Tga(image, 32)}, {"tgaRle", Tga(image, 32, true)},
        {"png", Png(image, true)}, {"jpeg", Jpeg(image)},   {"dds", DdsArgb(image, true)},
    };
    for (const Encoded& c : cases) {
        SCOPED_TRACE(c.name);
        CImage got;
        {
            CAllocationProbe probe(1 << 20);
            EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), got));
            EXPECT_GE(probe.Refused(), 1u);
        }
        EXPECT_TRUE(got.IsEmpty());
        EXPECT_TRUE(got.pixels.empty());
        ASSERT_TRUE(DecodeImage(c.bytes.data(), c.bytes.size(), got));
        EXPECT_EQ(got.width, 600);
    }
    CImage direct;
    CAllocationProbe probe(1 << 20);
    EXPECT_FALSE(direct.Allocate(600, 600));
    EXPECT_TRUE(direct.IsEmpty());
    EXPECT_TRUE(direct.Allocate(400, 400));
}

} // namespace
