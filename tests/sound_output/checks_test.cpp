// The checks of the sound-card tests must see every fault they are there to see: a frame lost,
// repeated or out of place, a clock that runs ahead or behind.
#include "tests/sound_output/clock_match.h"
#include "tests/sound_output/pcm_match.h"
#include "tests/sound_output/timecode.h"

#include "sound/wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A sample through an output a little off the mixer's scale: to float and back by 32767.
std::int16_t throughOutput(std::int16_t s) {
    return std::int16_t(std::lround(s / 32768.0f * 32767.0f));
}

std::vector<std::int16_t> sweep(size_t frames) {
    std::vector<std::int16_t> pcm;
    for (size_t i = 0; i < frames; ++i) {
        pcm.push_back(std::int16_t(20000 * std::sin(0.0001 * double(i * i))));
        pcm.push_back(std::int16_t((i * 7919) % 30001) - 15000);
    }
    return pcm;
}

std::vector<std::int16_t> withSilenceBefore(size_t frames, std::vector<std::int16_t> pcm) {
    pcm.insert(pcm.begin(), 2 * frames, 0);
    return pcm;
}

std::vector<StereoFrame> timecode(std::uint32_t from, std::uint32_t count) {
    std::vector<StereoFrame> frames;
    for (std::uint32_t i = 0; i < count; ++i) frames.push_back(TimecodeFrame(from + i));
    return frames;
}

void append(std::vector<StereoFrame>& to, const std::vector<StereoFrame>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

TEST(Timecode, EveryIndexComesBackThroughAnOutputOffScale) {
    for (std::uint32_t index : {0u, 1u, 16383u, 16384u, 16385u, 441000u, 2646000u, 67108863u}) {
        const StereoFrame f = TimecodeFrame(index);
        const StereoFrame heard{throughOutput(f.left), throughOutput(f.right)};
        EXPECT_EQ(TimecodeIndex(heard, 67108864u), index) << index;
    }
}

TEST(Timecode, SilenceAndFramesBeyondThePieceCarryNoIndex) {
    EXPECT_FALSE(TimecodeIndex({0, 0}, 67108864u));
    EXPECT_FALSE(TimecodeIndex(TimecodeFrame(1000), 1000));
    EXPECT_TRUE(TimecodeIndex(TimecodeFrame(999), 1000));
    EXPECT_FALSE(TimecodeIndex({20000, 0}, 67108864u));
}

TEST(Timecode, TheShowsWaveLoaderReadsTheFrames) {
    const std::string path = testing::TempDir() + "timecode_" + std::to_string(getpid()) + ".wav";
    constexpr std::uint32_t kFrames = 50000;
    ASSERT_TRUE(WriteTimecodeWave(path, kFrames));
    CWave wave;
    ASSERT_EQ(wave.Open(path.c_str()), int(kFrames * 4));
    EXPECT_EQ(wave.GetNumChannels(), 2);
    EXPECT_EQ(wave.GetSamplesPerSec(), 44100u);
    EXPECT_EQ(wave.GetBitsPerSample(), 16);
    ASSERT_TRUE(wave.AllocBuffer(kFrames * 4));
    ASSERT_EQ(wave.Read(0), int(kFrames * 4));
    const auto* samples = reinterpret_cast<const std::int16_t*>(wave.GetBuffer());
    for (std::uint32_t i = 0; i < kFrames; i += 997)
        EXPECT_EQ(TimecodeIndex({samples[2 * i], samples[2 * i + 1]}, kFrames), i);
    std::remove(path.c_str());
}

TEST(MatchPcm, FindsThePieceAfterSilenceAndWithinTolerance) {
    const auto piece = withSilenceBefore(3, sweep(5000));
    auto output = withSilenceBefore(1024 + 3, sweep(5000));
    for (auto& s : output) s = throughOutput(s);
    output[2 * 3000] = std::int16_t(output[2 * 3000] + 2);
    const PcmMatch m = MatchPcm(piece, output, 2);
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.offset, 1024u);
    EXPECT_EQ(m.matched, 5003u);
    EXPECT_EQ(m.comparable, 5003u);
    EXPECT_EQ(m.worstDifference, 2);
    EXPECT_EQ(m.loudAfterEnd, 0u);
}

TEST(MatchPcm, StopsAtALostRepeatedOrMovedBlockOrAWrongSample) {
    const auto piece = sweep(8000);
    auto lost = piece;
    lost.erase(lost.begin() + 2 * 4000, lost.begin() + 2 * 4100);
    auto repeated = piece;
    repeated.insert(repeated.begin() + 2 * 4000, piece.begin() + 2 * 3900,
                    piece.begin() + 2 * 4000);
    auto moved = piece;
    std::swap_ranges(moved.begin() + 2 * 4000, moved.begin() + 2 * 4100, moved.begin() + 2 * 5000);
    auto wrong = piece;
    wrong[2 * 4000 + 1] = std::int16_t(wrong[2 * 4000 + 1] + 3);
    for (const auto* output : {&lost, &repeated, &moved, &wrong}) {
        const PcmMatch m = MatchPcm(piece, *output, 2);
        EXPECT_TRUE(m.found);
        EXPECT_EQ(m.matched, 4000u);
        EXPECT_LT(m.matched, m.comparable);
    }
}

TEST(MatchPcm, CountsAnOutputCutShortAndSoundAfterThePiece) {
    const auto piece = sweep(6000);
    const std::vector<std::int16_t> cut(piece.begin(), piece.begin() + 2 * 2500);
    const PcmMatch short_ = MatchPcm(piece, withSilenceBefore(10, cut), 2);
    EXPECT_EQ(short_.matched, 2500u);
    EXPECT_EQ(short_.comparable, 2500u);

    auto looped = piece;
    looped.insert(looped.end(), piece.begin(), piece.begin() + 2 * 700);
    EXPECT_EQ(MatchPcm(piece, looped, 2).loudAfterEnd, 700u);

    EXPECT_FALSE(MatchPcm(piece, std::vector<std::int16_t>(4000, 0), 2).found);
}

TEST(ReadPlayback, CountsTheSilenceAndTheSkipOfADropout) {
    std::vector<StereoFrame> recording(300, StereoFrame{0, 0});
    append(recording, timecode(0, 5000));
    recording.insert(recording.end(), 441, StereoFrame{0, 0});
    append(recording, timecode(5200, 2800));
    recording.insert(recording.end(), 100, StereoFrame{0, 0});
    const Playback p = ReadPlayback(recording, 10000);
    EXPECT_EQ(p.first, 0u);
    EXPECT_EQ(p.last, 7999u);
    EXPECT_EQ(p.silentFrames, 441u);
    EXPECT_EQ(p.skipped, 200u);
    EXPECT_EQ(p.backwards, 0u);
}

TEST(ReadPlayback, SeesARepeatAStepBackAndWhereItBegan) {
    auto repeated = timecode(0, 1000);
    append(repeated, timecode(999, 1000));
    EXPECT_EQ(ReadPlayback(repeated, 10000).backwards, 1u);
    EXPECT_EQ(ReadPlayback(repeated, 10000).last, 1998u);

    auto back = timecode(0, 1000);
    append(back, timecode(500, 10));
    append(back, timecode(1000, 10));
    const Playback p = ReadPlayback(back, 10000);
    EXPECT_EQ(p.backwards, 10u);
    EXPECT_EQ(p.skipped, 0u);
    EXPECT_EQ(p.last, 1009u);

    EXPECT_EQ(ReadPlayback(timecode(5, 1000), 10000).first, 5u);
}

namespace {

constexpr std::int64_t kMs = 1000000;

// A server that began recording at time 0 and played the piece from recorded frame 4410
// (100 ms in), with a 441-frame dropout after piece frame 44100; asked every 10 ms.
struct Recorded {
    std::vector<StereoFrame> recording;
    std::vector<ServerPosition> positions;
    Recorded() {
        recording.assign(4410, StereoFrame{0, 0});
        append(recording, timecode(0, 44100));
        recording.insert(recording.end(), 441, StereoFrame{0, 0});
        append(recording, timecode(44100, 44100));
        for (std::int64_t at = 0; at <= 2100 * kMs; at += 10 * kMs)
            positions.push_back({at, double(at) * 44.1 / kMs});
    }
};

} // namespace

TEST(CompareClocks, MeasuresAShowClockThatRunsAheadOrBehind) {
    const Recorded r;
    for (int offsetMs : {-25, 0, 12}) {
        std::vector<ShowClockEntry> show;
        for (std::int64_t at = 0; at < 1000 * kMs; at += 33 * kMs) {
            const auto played = std::max<std::int64_t>(0, at / kMs - 100 + offsetMs);
            show.push_back({at, std::uint32_t(played)});
        }
        const ClockAgreement a = CompareClocks(show, r.positions, r.recording, 88200);
        EXPECT_GT(a.all.compared, 20u);
        EXPECT_NEAR(a.all.meanMs, offsetMs - 0.5, 0.6) << offsetMs;
        EXPECT_NEAR(a.all.worstMs, std::abs(offsetMs), 1.01) << offsetMs;
        EXPECT_NEAR(a.steady.worstMs, std::abs(offsetMs), 1.01) << offsetMs;
    }
}

TEST(CompareClocks, HoldsTheServerPositionThroughADropoutAndLeavesItOutOfTheSteadyPart) {
    const Recorded r;
    // The dropout lasts from 1100 to 1110 ms; a show clock that does not wait runs 10 ms ahead
    // in it, and 10 ms ahead after it too, where it counts. The steady part leaves out the
    // 22 frames logged from 50 ms before the dropout to 50 ms after it.
    std::vector<ShowClockEntry> show;
    for (std::int64_t at = 1000 * kMs; at < 1300 * kMs; at += 5 * kMs)
        show.push_back({at, std::uint32_t(at / kMs - 100)});
    const ClockAgreement a = CompareClocks(show, r.positions, r.recording, 88200);
    EXPECT_NEAR(a.all.worstMs, 10, 1.01);
    EXPECT_NEAR(a.all.worstAtMs, 1010, 6);
    EXPECT_EQ(a.all.compared - a.steady.compared, 22u);
    EXPECT_NEAR(a.steady.worstMs, 10, 1.01);
    EXPECT_GT(a.steady.worstAtMs, 1055);
}

TEST(CompareClocks, TrustsNoServerPositionReadTooLate) {
    Recorded r;
    // The asking stalled from 500 to 700 ms; the positions either side are still right.
    r.positions.erase(std::remove_if(r.positions.begin(), r.positions.end(),
                                     [](const ServerPosition& p) {
                                         return p.at > 500 * kMs && p.at < 700 * kMs;
                                     }),
                      r.positions.end());
    std::vector<ShowClockEntry> show;
    for (std::int64_t at = 400 * kMs; at < 800 * kMs; at += 20 * kMs)
        show.push_back(
            {at, std::uint32_t(at / kMs - 100 + (at > 500 * kMs && at < 700 * kMs ? 40 : 0))});
    const ClockAgreement a = CompareClocks(show, r.positions, r.recording, 88200);
    EXPECT_NEAR(a.all.worstMs, 40, 1.01);
    EXPECT_NEAR(a.steady.worstMs, 0, 1.01);
    EXPECT_EQ(a.steady.compared, 10u);
}

TEST(CompareClocks, LeavesOutMomentsBeyondTheServersWord) {
    const Recorded r;
    const std::vector<ShowClockEntry> show{{-5 * kMs, 400}, {50 * kMs, 0}, {3000 * kMs, 50}};
    EXPECT_EQ(CompareClocks(show, r.positions, r.recording, 88200).all.compared, 0u);
}
