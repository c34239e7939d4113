#include <gtest/gtest.h>

#include <memory>

#include "platform/audio/WaveLoader.h"
#include "platform/audio/WavePerformance.h"
#include "platform/audio/WaveSegment.h"
#include "tests/platform/audio/FakeWaveOutput.h"

namespace {

struct WavePerformance : ::testing::Test {
    std::shared_ptr<WaveOutputLog> log = std::make_shared<WaveOutputLog>();
    CWavePerformance performance{std::unique_ptr<IWaveOutput>(new CFakeWaveOutput(log))};
    CWaveLoader loader;
    std::vector<uint8_t> first = MakeTestWav({1, 2, 3, 4});
    std::vector<uint8_t> second = MakeTestWav({5, 6}, 11025);

    std::unique_ptr<CWaveSegment> Load(const std::vector<uint8_t>& wav) {
        return std::unique_ptr<CWaveSegment>(loader.GetObject({wav.data(), uint32_t(wav.size())}));
    }
};

TEST_F(WavePerformance, PlaysFromTheCallersBytesAndANewSegmentReplacesTheOld) {
    ASSERT_TRUE(performance.InitAudio());
    auto a = Load(first), b = Load(second);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetLengthMs(), 0u); // 4 samples at 22050 Hz
    ASSERT_TRUE(a->Download(&performance) && b->Download(&performance));
    ASSERT_TRUE(performance.PlaySegmentEx(a.get()));
    ASSERT_TRUE(performance.PlaySegmentEx(b.get()));
    ASSERT_EQ(log->starts.size(), 2u);
    // No copy: the output reads the WAV's own sample bytes.
    EXPECT_EQ(log->starts[0].samples, first.data() + 44);
    EXPECT_EQ(log->starts[0].size, 8u);
    EXPECT_EQ(log->starts[1].samples, second.data() + 44);
    EXPECT_EQ(log->starts[1].format.sampleRate, 11025u);
    EXPECT_EQ(performance.GetPlaying(), b.get());
}

TEST_F(WavePerformance, StopsOnlyTheNamedSegmentOrEverything) {
    auto a = Load(first), b = Load(second);
    ASSERT_TRUE(a->Download(&performance) && b->Download(&performance));
    ASSERT_TRUE(performance.PlaySegmentEx(b.get()));
    performance.Stop(a.get()); // a is not playing: b goes on
    EXPECT_EQ(log->stops, 0);
    EXPECT_EQ(performance.GetPlaying(), b.get());
    performance.Stop(b.get());
    EXPECT_EQ(log->stops, 1);
    EXPECT_EQ(performance.GetPlaying(), nullptr);
    ASSERT_TRUE(performance.PlaySegmentEx(a.get()));
    performance.Stop();
    EXPECT_FALSE(log->playing);
    EXPECT_EQ(performance.GetPlaying(), nullptr);
    // A segment that has run out is no longer the one playing.
    ASSERT_TRUE(performance.PlaySegmentEx(a.get()));
    log->playing = false;
    EXPECT_EQ(performance.GetPlaying(), nullptr);
}

TEST_F(WavePerformance, RefusesSegmentsNotReadiedForItAndFormatsItsOutputCannotPlay) {
    auto a = Load(first), b = Load(second);
    EXPECT_FALSE(performance.PlaySegmentEx(a.get())); // never downloaded
    EXPECT_FALSE(performance.PlaySegmentEx(nullptr));
    CWavePerformance other{std::unique_ptr<IWaveOutput>(new CFakeWaveOutput(std::make_shared<WaveOutputLog>()))};
    ASSERT_TRUE(a->Download(&other));
    EXPECT_FALSE(performance.PlaySegmentEx(a.get())); // downloaded elsewhere
    log->onlyRate = 22050;
    EXPECT_FALSE(b->Download(&performance));
    EXPECT_FALSE(performance.PlaySegmentEx(b.get()));
    EXPECT_TRUE(log->starts.empty());
    // An output that fails to start leaves nothing counted as playing.
    ASSERT_TRUE(a->Download(&performance));
    log->refusePlay = true;
    EXPECT_FALSE(performance.PlaySegmentEx(a.get()));
    EXPECT_EQ(performance.GetPlaying(), nullptr);
}

TEST_F(WavePerformance, WithoutOutputOrAfterCloseDownNothingPlays) {
    CWavePerformance none{nullptr};
    EXPECT_FALSE(none.InitAudio());
    auto a = Load(first);
    EXPECT_FALSE(a->Download(&none));
    EXPECT_FALSE(none.PlaySegmentEx(a.get()));
    ASSERT_TRUE(a->Download(&performance));
    ASSERT_TRUE(performance.PlaySegmentEx(a.get()));
    performance.CloseDown();
    EXPECT_EQ(log->stops, 1);
    EXPECT_TRUE(log->destroyed);
    EXPECT_FALSE(performance.PlaySegmentEx(a.get()));
    EXPECT_FALSE(performance.InitAudio());
}

TEST_F(WavePerformance, LoaderRefusesBytesThatAreNotAPlayableWav) {
    std::vector<uint8_t> cut(first.begin(), first.end() - 1);
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(Load(cut));
    EXPECT_FALSE(Load(text));
    EXPECT_EQ(loader.GetObject({nullptr, 0}), nullptr);
    std::vector<uint8_t> oneSecond = MakeTestWav(std::vector<int16_t>(22050, 100));
    auto longer = Load(oneSecond);
    ASSERT_TRUE(longer);
    EXPECT_EQ(longer->GetLengthMs(), 1000u);
}

} // namespace
