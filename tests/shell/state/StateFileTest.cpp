#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/archive/ArchiveStream.h"
#include "platform/archive/FileReplace.h"
#include "shell/state/StateFile.h"
#include "tests/shell/support/ScratchFolder.h"

namespace {

CSavedState SampleState() {
    CSavedState state;
    state.cameraDistance = 350.5f;
    state.cameraInterest[0] = -12.25f;
    state.cameraInterest[1] = 80.0f;
    state.cameraInterest[2] = 3.5f;
    state.money = 123456;
    state.items = {{"apron", 1}, {"kotatsu", 2}, {std::string("\x82\xa0\x82\xa2", 4), 0}};
    return state;
}

bool SameState(const CSavedState& a, const CSavedState& b) {
    if (a.cameraDistance != b.cameraDistance || a.hasCamera != b.hasCamera || a.money != b.money ||
        a.items.size() != b.items.size())
        return false;
    for (int i = 0; i < 3; ++i)
        if (a.cameraInterest[i] != b.cameraInterest[i])
            return false;
    for (size_t i = 0; i < a.items.size(); ++i)
        if (a.items[i].name != b.items[i].name || a.items[i].stateCode != b.items[i].stateCode)
            return false;
    return true;
}

// The body up to and including the item count.
std::vector<uint8_t> Head(uint32_t version, float distance, uint32_t money, int32_t count) {
    CArchiveWriter writer;
    writer.WriteUInt32(version);
    writer.WriteFloat(distance);
    writer.WriteFloat(1.0f);
    writer.WriteFloat(2.0f);
    writer.WriteFloat(3.0f);
    writer.WriteUInt32(money);
    writer.WriteInt32(count);
    return writer.GetBytes();
}

std::vector<uint8_t> Append(std::vector<uint8_t> bytes, const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

void WriteRaw(const char* path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::vector<uint8_t> ReadRaw(const char* path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, 1 << 20, bytes);
    return bytes;
}

class StateFile : public ScratchFolderTest {};

} // namespace

TEST(StateLayout, BytesInFileOrder) {
    CSavedState state;
    state.cameraDistance = 2.0f;
    state.cameraInterest[0] = 1.0f;
    state.money = 0x01020304;
    state.items = {{"ab", 1}};
    const std::vector<uint8_t> want = {
        0x00, 0x00, 0x01, 0x00,                                  // version
        0x00, 0x00, 0x00, 0x40,                                  // distance 2
        0x00, 0x00, 0x80, 0x3F, 0,    0,    0,    0, 0, 0, 0, 0, // interest point
        0x04, 0x03, 0x02, 0x01,                                  // money
        0x01, 0x00, 0x00, 0x00,                                  // item count
        0x02, 'a',  'b',  0x01, 0x00, 0x00, 0x00,                // name, state code
    };
    EXPECT_EQ(EncodeState(state), want);
}

TEST(StateLayout, RoundTrip) {
    const CSavedState state = SampleState();
    const std::vector<uint8_t> bytes = EncodeState(state);
    CSavedState back;
    uint32_t version = 0;
    ASSERT_EQ(DecodeState(bytes.data(), bytes.size(), back, version), SR_OK);
    EXPECT_EQ(version, STATE_FILE_VERSION);
    EXPECT_TRUE(SameState(back, state));
}

TEST(StateLayout, OlderVersionsAndEmptyCountsAreRead) {
    for (int32_t count : {0, -1, std::numeric_limits<int32_t>::min()}) {
        const std::vector<uint8_t> bytes = Head(0xFFFF, 5.0f, 77, count);
        CSavedState back = SampleState();
        uint32_t version = 0;
        ASSERT_EQ(DecodeState(bytes.data(), bytes.size(), back, version), SR_OK) << count;
        EXPECT_EQ(version, 0xFFFFu);
        EXPECT_EQ(back.money, 77u);
        EXPECT_TRUE(back.items.empty());
    }
}

TEST(StateLayout, RefusesHostileFilesAndLeavesStateUntouched) {
    const std::vector<uint8_t> good = EncodeState(SampleState());

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"version cut", {0x00, 0x00, 0x01}},
        {"version only", {0x00, 0x00, 0x01, 0x00}},
        {"cut inside the camera", std::vector<uint8_t>(good.begin(), good.begin() + 13)},
        {"cut before the count", std::vector<uint8_t>(good.begin(), good.begin() + 26)},
        {"cut inside the last record", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"cut inside a name", std::vector<uint8_t>(good.begin(), good.begin() + 30)},
        {"count beyond the file", Append(Head(STATE_FILE_VERSION, 1.0f, 0, 2), {0x01, 'a', 1, 0, 0, 0})},
        {"huge count", Append(Head(STATE_FILE_VERSION, 1.0f, 0, 0x7FFFFFFF), {0x00, 1, 0, 0, 0})},
        {"name beyond the file", Append(Head(STATE_FILE_VERSION, 1.0f, 0, 1), {0xFE, 'a', 1, 0, 0, 0})},
        {"long name beyond the file",
         Append(Head(STATE_FILE_VERSION, 1.0f, 0, 1), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        CSavedState state = SampleState();
        uint32_t version = 42;
        EXPECT_EQ(DecodeState(c.bytes.data(), c.bytes.size(), state, version), SR_MALFORMED) << c.what;
        EXPECT_TRUE(SameState(state, SampleState())) << c.what;
        EXPECT_EQ(version, 42u) << c.what;
    }
}

TEST(StateLayout, ItemsAreWrittenInNameByteOrder) {
    // Bytes above 0x7F sort after ASCII, upper case before lower case, a
    // prefix before its longer names; equal names keep the holder's order.
    const std::string high("\x82\xa0", 2);
    CSavedState state;
    state.items = {{high, 3}, {"kotatsu", 2}, {"bed", 1}, {"Bed", 0}, {"be", 4}, {"bed", 5}, {"", 6}};
    const std::vector<uint8_t> bytes = EncodeState(state);
    CSavedState back;
    uint32_t version = 0;
    ASSERT_EQ(DecodeState(bytes.data(), bytes.size(), back, version), SR_OK);
    const std::vector<std::pair<std::string, uint32_t>> want = {{"", 6},    {"Bed", 0},     {"be", 4}, {"bed", 1},
                                                                {"bed", 5}, {"kotatsu", 2}, {high, 3}};
    ASSERT_EQ(back.items.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(back.items[i].name, want[i].first) << i;
        EXPECT_EQ(back.items[i].stateCode, want[i].second) << i;
    }
    // Any order handed over gives the same file.
    std::vector<CSavedItem> reversed(state.items.rbegin(), state.items.rend());
    std::swap(reversed[1], reversed[4]); // keep the two "bed" records in their first order
    CSavedState other = state;
    other.items = reversed;
    EXPECT_EQ(EncodeState(other), bytes);
}

TEST(StateLayout, CameraThatIsNotFiniteIsNeitherWrittenNorRead) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float distance, x, y, z;
    };
    const Case cases[] = {
        {"infinite distance", inf, 1, 2, 3},     {"negative infinite distance", -inf, 1, 2, 3},
        {"NaN distance", nan, 1, 2, 3},          {"NaN interest x", 900, nan, 2, 3},
        {"infinite interest y", 900, 1, inf, 3}, {"NaN interest z", 900, 1, 2, nan},
    };
    for (const Case& c : cases) {
        CSavedState state = SampleState();
        state.cameraDistance = c.distance;
        state.cameraInterest[0] = c.x;
        state.cameraInterest[1] = c.y;
        state.cameraInterest[2] = c.z;

        // Written: the default camera, with the money and the items.
        const std::vector<uint8_t> written = EncodeState(state);
        CSavedState back;
        uint32_t version = 0;
        ASSERT_EQ(DecodeState(written.data(), written.size(), back, version), SR_OK) << c.what;
        EXPECT_TRUE(back.hasCamera) << c.what;
        EXPECT_EQ(back.cameraDistance, SAVED_CAMERA_DEFAULT_DISTANCE) << c.what;
        for (float coordinate : back.cameraInterest)
            EXPECT_EQ(coordinate, 0.0f) << c.what;
        EXPECT_EQ(back.money, state.money) << c.what;
        EXPECT_EQ(back.items.size(), state.items.size()) << c.what;

        // Read from a file that holds it: the camera alone is dropped.
        std::vector<uint8_t> bad = EncodeState(SampleState());
        std::memcpy(&bad[4], &c.distance, 4);
        std::memcpy(&bad[8], &c.x, 4);
        std::memcpy(&bad[12], &c.y, 4);
        std::memcpy(&bad[16], &c.z, 4);
        CSavedState read;
        ASSERT_EQ(DecodeState(bad.data(), bad.size(), read, version), SR_OK) << c.what;
        EXPECT_FALSE(read.hasCamera) << c.what;
        EXPECT_EQ(read.cameraDistance, SAVED_CAMERA_DEFAULT_DISTANCE) << c.what;
        EXPECT_EQ(read.money, SampleState().money) << c.what;
        CSavedState want = SampleState();
        want.hasCamera = false;
        SetDefaultCamera(want);
        EXPECT_TRUE(SameState(read, want)) << c.what;
        // Saving what was read writes the default camera.
        CSavedState again;
        const std::vector<uint8_t> rewritten = EncodeState(read);
        ASSERT_EQ(DecodeState(rewritten.data(), rewritten.size(), again, version), SR_OK) << c.what;
        EXPECT_TRUE(again.hasCamera) << c.what;
        EXPECT_EQ(again.cameraDistance, SAVED_CAMERA_DEFAULT_DISTANCE) << c.what;
    }
}

TEST(StateLayout, NewerVersionIsRefused) {
    const std::vector<uint8_t> bytes = Head(0x10001, 1.0f, 5, 0);
    CSavedState state = SampleState();
    uint32_t version = 0;
    EXPECT_EQ(DecodeState(bytes.data(), bytes.size(), state, version), SR_TOO_NEW);
    EXPECT_TRUE(SameState(state, SampleState()));
}

TEST_F(StateFile, WriteThenReadBack) {
    ASSERT_TRUE(WriteStateFile(STATE_FILE_NAME, SampleState()));
    CSavedState back;
    uint32_t version = 0;
    ASSERT_EQ(ReadStateFile(STATE_FILE_NAME, back, version), SR_OK);
    EXPECT_TRUE(SameState(back, SampleState()));
    EXPECT_EQ(ReadRaw("tavelune.dat.tmp").size(), 0u);
}

TEST_F(StateFile, MissingAndOversizedFiles) {
    CSavedState state;
    uint32_t version = 0;
    EXPECT_EQ(ReadStateFile(STATE_FILE_NAME, state, version), SR_MISSING);
    std::vector<uint8_t> huge = EncodeState(SampleState());
    huge.resize(STATE_FILE_MAX_BYTES + 1);
    WriteRaw(STATE_FILE_NAME, huge);
    EXPECT_EQ(ReadStateFile(STATE_FILE_NAME, state, version), SR_MALFORMED);
}

TEST_F(StateFile, FailedSaveKeepsOldFileAndStaleTemporaryIsHarmless) {
    ASSERT_TRUE(WriteStateFile(STATE_FILE_NAME, SampleState()));
    const std::vector<uint8_t> before = ReadRaw(STATE_FILE_NAME);
    std::filesystem::create_directory("tavelune.dat.tmp");
    EXPECT_FALSE(WriteStateFile(STATE_FILE_NAME, CSavedState()));
    EXPECT_EQ(ReadRaw(STATE_FILE_NAME), before);
    std::filesystem::remove("tavelune.dat.tmp");

    // A temporary left by a run that stopped mid-save is simply overwritten.
    WriteRaw("tavelune.dat.tmp", {1, 2, 3});
    ASSERT_TRUE(WriteStateFile(STATE_FILE_NAME, CSavedState()));
    CSavedState back = SampleState();
    uint32_t version = 0;
    ASSERT_EQ(ReadStateFile(STATE_FILE_NAME, back, version), SR_OK);
    EXPECT_TRUE(back.items.empty());
}

TEST_F(StateFile, SaveInterruptedBeforeReplaceKeepsOldFile) {
    ASSERT_TRUE(WriteStateFile(STATE_FILE_NAME, SampleState()));
    const std::vector<uint8_t> before = ReadRaw(STATE_FILE_NAME);
    {
        CSavedState other;
        const std::vector<uint8_t> bytes = EncodeState(other);
        CReplacingFileWriter writer(STATE_FILE_NAME);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write(bytes.data(), bytes.size() / 2));
        // Gone before the commit, as if the program had stopped here.
    }
    EXPECT_EQ(ReadRaw(STATE_FILE_NAME), before);
    CSavedState back;
    uint32_t version = 0;
    ASSERT_EQ(ReadStateFile(STATE_FILE_NAME, back, version), SR_OK);
    EXPECT_TRUE(SameState(back, SampleState()));
}
