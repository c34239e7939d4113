#include <gtest/gtest.h>

#include "engine/archive/ArchiveKey.h"

namespace {

TEST(MakeArchiveKey, CutsFolderAndExtensionAndUpperCases) {
    struct Case {
        const char* path;
        const char* key;
    } cases[] = {
        {"model/ending/endRoll.hgm", "ENDROLL"},
        {"clipper/clipper_800_800.bmp", "CLIPPER_800_800"},
        {"model/vesko/vesko_face.3.tga", "VESKO_FACE_3"},
        {"model\\vesko\\sub.name.tga", "SUB_NAME"},
        {"a.b/file", "A"}, // the extension cut uses the last '.' of the whole path
        {"noext", "NOEXT"},
        {"dir/", ""},
        {".hgm", ""},
        {"", ""},
        {"x/y\\Mixed.Case.TGA", "MIXED_CASE"},
        {"\x82\xa0x.tga", "\x82\xa0X"}, // bytes from 0x80 stay as they are
        // The rule is byte by byte: a trail byte in 'a' to 'z' is upper-cased,
        // a trail byte 0x5C ends a folder.
        {"\x82\x61\x82\x7a.tga", "\x82\x41\x82\x5a"},
        {"dir/\x83\x5cname.tga", "NAME"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeArchiveKey(c.path), c.key) << c.path;
}

} // namespace
