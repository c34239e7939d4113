#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/image/ImageDecoders.h"
#include "platform/image/ImageResample.h"
#include "tests/platform/image/TestImages.h"

namespace {

using namespace testimages;

void ExpectSameTexels(const CImage& want, const CImage& got, int tolerance, bool compareAlpha) {
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x)
            for (int i = 0; i < (compareAlpha ? 4 : 3); ++i)
                ASSERT_NEAR(got.Row(y)[x * 4 + i], want.Row(y)[x * 4 + i], tolerance)
                    << "texel " << x << "," << y << " byte " << i;
}

struct RoundTrip {
    const char* name;
    Bytes bytes;
    ImageFileFormat format;
    bool alpha;
    int tolerance;
};

TEST(ImageDecoders, DecodesEachFormatWithItsAlpha) {
    CImage opaque = Pattern(5, 3, false), clear = Pattern(5, 3, true);
    const RoundTrip cases[] = {
        {"bmp24", Bmp(opaque, 24), IFF_BMP, false, 0},        {"bmp32", Bmp(clear, 32), IFF_BMP, false, 0},
        {"tga24", Tga(opaque, 24), IFF_TGA, false, 0},        {"tga32", Tga(clear, 32), IFF_TGA, true, 0},
        {"tga32rle", Tga(clear, 32, true), IFF_TGA, true, 0}, {"png", Png(opaque, false), IFF_PNG, false, 0},
        {"pngAlpha", Png(clear, true), IFF_PNG, true, 0},     {"jpeg", Jpeg(opaque, 100), IFF_JPEG, false, 40},
        {"ddsArgb", DdsArgb(clear, true), IFF_DDS, true, 0},  {"ddsXrgb", DdsArgb(opaque, false), IFF_DDS, false, 0},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        CImage got;
        ImageFileFormat format = IFF_UNKNOWN;
        ASSERT_TRUE(DecodeImage(c.bytes.data(), c.bytes.size(), got, &format));
        EXPECT_EQ(format, c.format);
        EXPECT_EQ(got.hasAlpha, c.alpha);
        ExpectSameTexels(c.alpha ? clear : opaque, got, c.tolerance, c.alpha);
        if (!c.alpha) {
            for (int y = 0; y < got.height; ++y)
                for (int x = 0; x < got.width; ++x)
                    ASSERT_EQ(got.Row(y)[x * 4 + 3], 255);
        }
    }
}

// Generated 16-bit sources against the texels they must give. PNG samples
// carry no gAMA or sRGB chunk and are taken as they are stored (rounded to
// 8 bits, within one level); interlaced rows land where they belong. A 16-bit
// TGA texel's top bit is alpha only when the descriptor gives one alpha bit.
Png16Source Png16Pattern(int w, int h, int channels) {
    Png16Source source;
    source.width = w, source.height = h, source.channels = channels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                source.samples.push_back((uint16_t)((y * 8191 + x * 3001 + c * 17203 + 257 * (x ^ y)) % 65536));
    return source;
}

CImage FromPng16(const Png16Source& source) {
    CImage image;
    image.Allocate(source.width, source.height);
    auto level = [](uint16_t v) { return (uint8_t)((v * 255u + 32767u) / 65535u); };
    bool grey = source.channels <= 2, alpha = source.channels % 2 == 0;
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            uint8_t* t = image.Row(y) + x * 4;
            t[2] = level(source.At(x, y, 0));
            t[1] = grey ? t[2] : level(source.At(x, y, 1));
            t[0] = grey ? t[2] : level(source.At(x, y, 2));
            t[3] = alpha ? level(source.At(x, y, source.channels - 1)) : 255;
        }
    return image;
}

uint16_t Texel555(int r, int g, int b, bool topBit) { return (uint16_t)((topBit ? 0x8000 : 0) | r << 10 | g << 5 | b); }

// The texels of 16-bit values: the top bit as alpha when attributeBit.
CImage From555(int w, int h, const std::vector<uint16_t>& texels, bool attributeBit) {
    CImage image;
    image.Allocate(w, h);
    for (int i = 0; i < w * h; ++i) {
        uint16_t v = texels[(size_t)i];
        uint8_t* t = image.Row(i / w) + (i % w) * 4;
        t[0] = (uint8_t)((v & 31) * 255 / 31);
        t[1] = (uint8_t)((v >> 5 & 31) * 255 / 31);
        t[2] = (uint8_t)((v >> 10 & 31) * 255 / 31);
        t[3] = attributeBit && !(v & 0x8000) ? 0 : 255;
    }
    return image;
}

struct Fixture {
    const char* name;
    Bytes bytes;
    CImage want;
    bool alpha;
    int tolerance;
};

TEST(ImageDecoders, SixteenBitFixturesDecodeToTheirSourcePixels) {
    std::vector<Fixture> cases;
    const struct {
        const char* name;
        int w, h, channels;
        bool interlaced;
    } pngs[] = {
        {"png16 rgb", 5, 3, 3, false},
        {"png16 grey", 5, 3, 1, false},
        {"png16 rgba", 5, 3, 4, false},
        {"png16 interlaced rgb", 8, 8, 3, true},
        {"png16 interlaced rgba", 8, 8, 4, true},
        {"png16 interlaced grey alpha", 8, 8, 2, true},
        {"png16 interlaced odd size", 11, 7, 3, true},
    };
    for (const auto& p : pngs) {
        Png16Source source = Png16Pattern(p.w, p.h, p.channels);
        cases.push_back({p.name, Png16(source, p.interlaced), FromPng16(source), p.channels % 2 == 0, 1});
    }

    // Texels with the top bit clear and set, in every colour channel.
    std::vector<uint16_t> texels;
    for (int i = 0; i < 12; ++i)
        texels.push_back(Texel555(i * 2 + 1, 31 - i, (i * 7) % 32, (i & 1) != 0));
    std::vector<uint16_t> map(texels), indices;
    for (int i = 0; i < 12; ++i)
        indices.push_back((uint16_t)(11 - i));
    std::vector<uint16_t> mapped;
    for (uint16_t index : indices)
        mapped.push_back(map[index]);
    for (int alphaBits : {0, 1}) {
        bool attribute = alphaBits == 1;
        cases.push_back({attribute ? "tga16 alpha bit" : "tga16 no alpha bit", Tga16(4, 3, texels, alphaBits),
                         From555(4, 3, texels, attribute), false, 0});
        cases.push_back({attribute ? "tga16 map alpha bit" : "tga16 map no alpha bit",
                         Tga16(4, 3, indices, alphaBits, map), From555(4, 3, mapped, attribute), false, 0});
    }

    for (const Fixture& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        CImage got;
        ASSERT_TRUE(DecodeImage(c.bytes.data(), c.bytes.size(), got));
        EXPECT_EQ(got.hasAlpha, c.alpha);
        ExpectSameTexels(c.want, got, c.tolerance, true);
    }
}

// One picture in the header variants the decoder takes through the shared
// parser: core header, bit fields after a 40-byte header or inside a longer
// one (with an alpha mask), a palette whose pixels start after a gap.
Bytes BmpVariant(const CImage& image, uint32_t headerSize, int bits, const std::vector<uint32_t>& masks,
                 size_t gap = 0) {
    bool core = headerSize == 12, fields = !masks.empty();
    size_t extra = (fields && headerSize == 40) ? 12 : 0;
    // A core header has no colour count: its table is always full.
    int entries = bits == 8 ? (core ? 256 : 4) : 0;
    size_t table = (size_t)entries * (core ? 3 : 4);
    uint32_t offset = (uint32_t)(14 + headerSize + extra + table + gap);
    int bytes = bits / 8;
    uint32_t stride = ((uint32_t)image.width * bytes + 3) & ~3u;
    Bytes b = {'B', 'M'};
    AppendLe32(b, offset + stride * image.height), AppendLe32(b, 0), AppendLe32(b, offset);
    AppendLe32(b, headerSize);
    if (core) {
        AppendLe16(b, (uint16_t)image.width), AppendLe16(b, (uint16_t)image.height);
        AppendLe16(b, 1), AppendLe16(b, (uint16_t)bits);
    } else {
        AppendLe32(b, image.width), AppendLe32(b, image.height), AppendLe16(b, 1), AppendLe16(b, (uint16_t)bits);
        AppendLe32(b, fields ? 3 : 0);
        for (int i = 0; i < 3; ++i)
            AppendLe32(b, 0);
        AppendLe32(b, bits == 8 ? 4 : 0), AppendLe32(b, 0);
        size_t at = b.size();
        b.resize(14 + headerSize, 0);
        for (size_t i = 0; i < masks.size() && 40 + 4 * (i + 1) <= headerSize; ++i)
            WriteLe32(b.data() + at + 4 * i, masks[i]);
    }
    if (extra)
        for (int i = 0; i < 3; ++i)
            AppendLe32(b, masks[(size_t)i]);
    // The palette: entry i is the colour of texel (i, 0) of the image's top row.
    for (int i = 0; i < entries; ++i) {
        const uint8_t* t = image.Row(0) + (i % image.width) * 4;
        b.push_back(t[0]), b.push_back(t[1]), b.push_back(t[2]);
        if (!core)
            b.push_back(0);
    }
    b.insert(b.end(), gap, 0xee);
    for (int y = image.height - 1; y >= 0; --y) {
        size_t rowStart = b.size();
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* t = image.Row(y) + x * 4;
            if (bits == 8) {
                b.push_back((uint8_t)x);
            } else if (bits == 24) {
                b.push_back(t[0]), b.push_back(t[1]), b.push_back(t[2]);
            } else if (bits == 32) {
                // Stored as A, R, G, B from the top byte down when masked, else B, G, R, 0.
                AppendLe32(b, fields
                                  ? (uint32_t)t[3] | (uint32_t)t[2] << 24 | (uint32_t)t[1] << 16 | (uint32_t)t[0] << 8
                                  : (uint32_t)t[0] | (uint32_t)t[1] << 8 | (uint32_t)t[2] << 16);
            } else {
                AppendLe16(b, (uint16_t)((t[2] >> 3) << 11 | (t[1] >> 2) << 5 | t[0] >> 3));
            }
        }
        b.resize(rowStart + stride, 0);
    }
    return b;
}

TEST(ImageDecoders, BmpHeaderVariantsGiveTheSamePicture) {
    CImage image = Pattern(4, 2, true);
    CImage opaque = Pattern(4, 2, false);
    // 8-bit: every row holds indices 0 to 3, the colours of the top row.
    CImage indexed = Pattern(4, 2, false);
    for (int x = 0; x < 4; ++x)
        std::memcpy(indexed.Row(1) + x * 4, indexed.Row(0) + x * 4, 4);
    const std::vector<uint32_t> rgba = {0xff000000u, 0x00ff0000u, 0x0000ff00u, 0x000000ffu};
    const std::vector<uint32_t> rgb565 = {0xf800, 0x07e0, 0x001f};
    struct Case {
        const char* name;
        Bytes bytes;
        const CImage& want;
        bool alpha;
        int tolerance;
    } cases[] = {
        {"core 24", BmpVariant(opaque, 12, 24, {}), opaque, false, 0},
        {"core 8", BmpVariant(indexed, 12, 8, {}), indexed, false, 0},
        {"info 8 with a gap", BmpVariant(indexed, 40, 8, {}, 6), indexed, false, 0},
        {"fields after the header", BmpVariant(opaque, 40, 32, {rgba[0], rgba[1], rgba[2]}), opaque, false, 0},
        {"fields and alpha in a V3 header", BmpVariant(image, 56, 32, rgba), image, true, 0},
        {"fields in a V5 header", BmpVariant(image, 124, 32, rgba), image, true, 0},
        {"565 fields", BmpVariant(opaque, 40, 16, rgb565), opaque, false, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImage got;
        ASSERT_TRUE(DecodeBmp(c.bytes.data(), c.bytes.size(), got));
        EXPECT_EQ(got.hasAlpha, c.alpha);
        ExpectSameTexels(c.want, got, c.tolerance, c.alpha);
    }
}

TEST(ImageDecoders, DecodesDxtBlocks) {
    // Texel (0, 0) holds colour 0 (red), (1, 2) colour 1 (blue).
    struct {
        const char* fourCc;
        bool alpha;
        uint32_t topLeft, below;
    } cases[] = {
        {"DXT1", false, 0xffff0000u, 0xff0000ffu},
        {"DXT3", true, 0x88ff0000u, 0xff0000ffu},
        {"DXT5", true, 0x88ff0000u, 0xff0000ffu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fourCc);
        Bytes bytes = DdsDxt(c.fourCc);
        CImage got;
        ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), got));
        EXPECT_EQ(got.width, 4);
        EXPECT_EQ(got.hasAlpha, c.alpha);
        EXPECT_EQ(got.Texel(0, 0), c.topLeft);
        EXPECT_EQ(got.Texel(3, 0), c.topLeft);
        EXPECT_EQ(got.Texel(1, 2), c.below);
    }
}

TEST(ImageDecoders, DdsRowPitchCountsOnlyWhenFlagged) {
    CImage image = Pattern(3, 2, true);
    Bytes packed = DdsArgb(image, true);
    WriteLe32(packed.data() + 20, 1000); // a pitch without the pitch flag is ignored
    CImage got;
    ASSERT_TRUE(DecodeDds(packed.data(), packed.size(), got));
    EXPECT_EQ(got.pixels, image.pixels);

    // Flagged pitch of 16 bytes: each 12-byte row is followed by 4 of padding.
    Bytes padded = DdsHeader(3, 2, 0x41, 0, 32, 0xff0000, 0xff00, 0xff, 0xff000000u);
    WriteLe32(padded.data() + 8, 0x100f);
    WriteLe32(padded.data() + 20, 16);
    for (int y = 0; y < 2; ++y) {
        padded.insert(padded.end(), image.Row(y), image.Row(y) + 12);
        padded.insert(padded.end(), 4, 0xee);
    }
    ASSERT_TRUE(DecodeDds(padded.data(), padded.size(), got));
    EXPECT_EQ(got.pixels, image.pixels);
}

TEST(ImageDecoders, ReadsBottomUpAndTopDownRowOrder) {
    CImage image = Pattern(2, 2, false);
    Bytes bmp = Bmp(image, 24);
    // The same pixels flagged top-down (negative height) come out flipped.
    bmp[22] = 0xfe, bmp[23] = bmp[24] = bmp[25] = 0xff;
    CImage got;
    ASSERT_TRUE(DecodeBmp(bmp.data(), bmp.size(), got));
    EXPECT_EQ(got.Texel(0, 0), image.Texel(0, 1));
    EXPECT_EQ(got.Texel(1, 1), image.Texel(1, 0));

    Bytes tga = Tga(image, 24);
    tga[17] = 0; // bottom-left origin
    ASSERT_TRUE(DecodeTga(tga.data(), tga.size(), got));
    EXPECT_EQ(got.Texel(0, 0), image.Texel(0, 1));
}

// Every prefix of every well-formed file is refused without a crash, and so
// are a set of hostile headers. Run under the address sanitizer on the host.
TEST(ImageDecoders, RefusesTruncatedFiles) {
    CImage image = Pattern(7, 5, true);
    const Bytes files[] = {Bmp(image, 24), Bmp(image, 32),       Tga(image, 24), Tga(image, 32, true), Png(image, true),
                           Jpeg(image),    DdsArgb(image, true), DdsDxt("DXT1"), DdsDxt("DXT5")};
    for (const Bytes& file : files) {
        for (size_t length = 0; length < file.size(); ++length) {
            Bytes prefix(file.begin(), file.begin() + length);
            CImage got;
            ASSERT_FALSE(DecodeImage(prefix.empty() ? nullptr : prefix.data(), prefix.size(), got))
                << "format " << DetectImageFormat(file.data(), file.size()) << " length " << length;
            EXPECT_TRUE(got.IsEmpty());
            EXPECT_TRUE(got.pixels.empty());
        }
    }
}

TEST(ImageDecoders, RefusesHostileHeaders) {
    CImage image = Pattern(4, 4, false);
    struct Case {
        const char* name;
        Bytes bytes;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, Bytes b) { cases.push_back({name, std::move(b)}); };

    Bytes b = Bmp(image);
    WriteLe32(b.data() + 18, 0x7fffffff); // width
    add("bmpHugeWidth", b);
    b = Bmp(image);
    WriteLe32(b.data() + 22, 0x80000000u); // height INT_MIN
    add("bmpMinHeight", b);
    b = Bmp(image);
    WriteLe32(b.data() + 10, 0xfffffff0u); // pixel offset past the end
    add("bmpPixelOffset", b);
    b = Bmp(image);
    WriteLe32(b.data() + 14, 0xffffff00u); // info header size
    add("bmpInfoSize", b);
    b = Bmp(image);
    b[28] = 7; // bits per pixel
    add("bmpBits", b);
    b = Bmp(image);
    b[26] = 2; // two planes
    add("bmpPlanes", b);
    b = BmpVariant(Pattern(4, 2, false), 40, 8, {});
    WriteLe32(b.data() + 46, 257); // more colours than 8 bits index
    add("bmpColourCount", b);
    b = BmpVariant(Pattern(4, 2, false), 44, 32, {0xff0000, 0xff00, 0xff}); // masks cut short by the header
    add("bmpFieldsInShortHeader", b);
    b = Bmp(image);
    WriteLe32(b.data() + 30, 1); // RLE8
    add("bmpRle", b);
    {
        // 8-bit with a two-entry palette and an index beyond it.
        Bytes p = {'B', 'M'};
        AppendLe32(p, 0), AppendLe32(p, 0), AppendLe32(p, 54 + 8);
        AppendLe32(p, 40), AppendLe32(p, 4), AppendLe32(p, 1), AppendLe16(p, 1), AppendLe16(p, 8);
        AppendLe32(p, 0), AppendLe32(p, 0), AppendLe32(p, 0), AppendLe32(p, 0), AppendLe32(p, 2), AppendLe32(p, 0);
        AppendLe32(p, 0x00ff0000), AppendLe32(p, 0x0000ff00);
        AppendLe32(p, 0x00090100);
        add("bmpPaletteIndex", p);
    }
    b = Tga(image, 24);
    b[0] = 200; // id longer than the file
    add("tgaIdLength", b);
    b = Tga(image, 24);
    b[16] = 12; // bits
    add("tgaBits", b);
    b = Tga(image, 24);
    b[1] = 1, b[2] = 1, b[5] = 0xff, b[6] = 0xff, b[7] = 24; // colour map past the end
    add("tgaMapLength", b);
    b = Tga(image, 24);
    b[12] = b[13] = 0xff; // 65535 wide, data far short
    add("tgaHugeWidth", b);
    b = DdsArgb(image, true);
    WriteLe32(b.data() + 12, 0x7fffffff);
    add("ddsHugeHeight", b);
    b = DdsArgb(image, true);
    WriteLe32(b.data() + 88, 12); // 12 bits a texel
    add("ddsBits", b);
    b = DdsDxt("DXT1");
    WriteLe32(b.data() + 84, FourCc("ATI2"));
    add("ddsFourCc", b);
    b = DdsDxt("DXT1");
    WriteLe32(b.data() + 16, 400); // 400 × 4 needs 100 blocks
    add("ddsDxtShort", b);
    b = DdsArgb(image, false);
    WriteLe32(b.data() + 112, 0x200); // cube map
    add("ddsCube", b);
    b = Png(image, false);
    b[20] ^= 0x40; // header CRC no longer matches
    add("pngCrc", b);
    b = Jpeg(image);
    b.resize(b.size() - 2); // no end marker
    for (size_t i = b.size() / 2; i < b.size(); ++i)
        b[i] = 0xff;
    add("jpegGarbage", b);
    b = Jpeg(image);
    for (size_t i = 2; i + 8 < b.size(); ++i)
        if (b[i] == 0xff && b[i + 1] == 0xc0) {
            b[i + 5] = b[i + 6] = b[i + 7] = b[i + 8] = 0xff; // 65535 × 65535
            break;
        }
    add("jpegHugeSize", b);
    add("empty", {});
    add("unknown", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

    for (const Case& c : cases) {
        CImage got;
        EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), got)) << c.name;
        EXPECT_TRUE(got.pixels.empty()) << c.name;
    }
}

// Random byte flips in every format: no crash, no read outside the buffer
// (the sanitizers catch those); any image answered is complete.
TEST(ImageDecoders, SurvivesCorruptedBytes) {
    CImage image = Pattern(6, 6, true);
    const Bytes files[] = {Bmp(image, 32), Tga(image, 32, true), Png(image, true),
                           Jpeg(image),    DdsArgb(image, true), DdsDxt("DXT3")};
    unsigned seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (const Bytes& file : files) {
        for (int round = 0; round < 200; ++round) {
            Bytes b = file;
            for (int k = 0; k < 3; ++k)
                b[next() % b.size()] = (uint8_t)next();
            CImage got;
            if (DecodeImage(b.data(), b.size(), got)) {
                ASSERT_GT(got.width, 0);
                ASSERT_EQ(got.pixels.size(), (size_t)got.width * got.height * 4);
            } else {
                ASSERT_TRUE(got.pixels.empty());
            }
        }
    }
}

TEST(ImageResample, MipChainAveragesBlocks) {
    EXPECT_EQ(FullMipCount(1, 1), 1);
    EXPECT_EQ(FullMipCount(256, 64), 9);
    EXPECT_EQ(FullMipCount(5, 3), 3);

    CImage image;
    ASSERT_TRUE(image.Allocate(3, 2));
    image.hasAlpha = true;
    const uint8_t values[6] = {0, 100, 200, 40, 60, 255};
    for (int i = 0; i < 6; ++i)
        for (int c = 0; c < 4; ++c)
            image.Row(i / 3)[(i % 3) * 4 + c] = values[i];
    CImage level;
    ASSERT_TRUE(BuildMipLevel(image, level));
    EXPECT_EQ(level.width, 1);
    EXPECT_EQ(level.height, 1);
    EXPECT_TRUE(level.hasAlpha);
    EXPECT_EQ(level.Row(0)[0], (0 + 100 + 40 + 60 + 2) / 4);
}

TEST(ImageResample, ResizeKeepsFlatColourAndCorners) {
    CImage image = Pattern(3, 3, true);
    CImage same;
    ASSERT_TRUE(ResizeImage(image, 3, 3, same));
    EXPECT_EQ(same.pixels, image.pixels);

    CImage flat;
    ASSERT_TRUE(flat.Allocate(3, 5));
    for (auto& v : flat.pixels)
        v = 77;
    CImage grown;
    ASSERT_TRUE(ResizeImage(flat, 8, 4, grown));
    for (uint8_t v : grown.pixels)
        ASSERT_EQ(v, 77);
    CImage bad;
    EXPECT_FALSE(ResizeImage(flat, 0, 4, bad));
}

} // namespace
