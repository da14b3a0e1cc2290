// Pieces of every length, played frame by frame on an output whose clock the test moves, as the
// show plays its music: every sample is heard once and in order, the show's clock reaches its
// end threshold on time and stands at the length once the sound is over.
#include "show/show.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1);
constexpr double kFrame = 1.0 / 60; // seconds between frames
constexpr double kLatency = 0.023;  // about what a sound card's callback buffer adds

struct Piece {
    const char* name;
    const char* file;
    DWORD lengthMs;
    bool streams;
};

void PrintTo(const Piece& piece, std::ostream* out) {
    *out << piece.file;
}

// The sample bytes a fixture holds: 16-bit stereo decoded from Ogg, or a WAVE file's data.
std::string Pcm(const std::string& file) {
    if (file.size() > 4 && file.substr(file.size() - 4) == ".ogg") {
        const std::vector<std::int16_t> pcm = DecodeOgg(Fixture(file), nullptr, nullptr);
        return std::string(reinterpret_cast<const char*>(pcm.data()), pcm.size() * 2);
    }
    const std::string bytes = ReadFile(Fixture(file));
    const size_t data = bytes.find("data");
    return data == std::string::npos ? std::string() : bytes.substr(data + 8);
}

// What the mix makes of sample bytes at the output's rate: left and right floats, mono on both.
std::vector<float> Heard(const std::string& pcm, WORD channels, WORD bits) {
    std::vector<float> heard;
    const size_t width = bits / 8, frame = width * channels;
    for (size_t at = 0; at + frame <= pcm.size(); at += frame) {
        for (WORD c = 0; c < 2; ++c) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(pcm.data()) + at +
                            (channels > 1 ? c * width : 0);
            heard.push_back(bits == 8 ? (int(p[0]) - 128) / 128.0f
                                      : std::int16_t(p[0] | p[1] << 8) / 32768.0f);
        }
    }
    return heard;
}

// Second k of the sound as the worker must write it: silence after the end.
std::string Second(const std::string& pcm, size_t k, DWORD half, char silence) {
    std::string s = k * half < pcm.size() ? pcm.substr(k * half, half) : std::string();
    s.resize(half, silence);
    return s;
}

class EndOfMusic : public testing::TestWithParam<Piece> {
  protected:
    void SetUp() override {
        output = InstallManualOutput(kLatency);
        ASSERT_TRUE(InitDirectSound(kWindow));
    }
    void TearDown() override {
        sound.reset();
        ReleaseDirectSound();
        RestoreDefaultOutput();
    }

    ManualOutput* output = nullptr;
    std::unique_ptr<CdSound> sound = std::make_unique<CdSound>();
};

} // namespace

TEST_P(EndOfMusic, EverySampleIsHeardAndTheShowEndsOnTime) {
    const Piece& piece = GetParam();
    const std::string pcm = Pcm(piece.file);
    ASSERT_FALSE(pcm.empty());
    ASSERT_TRUE(sound->Open(Fixture(piece.file).c_str()));
    VoiceView buffer;
    ASSERT_TRUE(output->Peek(&buffer, 0, 0));
    EXPECT_EQ(buffer.notify.size(), piece.streams ? 2u : 0u) << "a stream is woken at each half";
    const DWORD length = sound->GetTotalTime();
    const WORD bits = buffer.format.wBitsPerSample;
    const DWORD half = buffer.bytes / 2;
    const char silence = char(bits == 8 ? 0x80 : 0);
    const auto Half = [&](DWORD index) { return output->Bytes(index * half, half); };
    EXPECT_EQ(length, piece.lengthMs);
    const double totalMs = length; // as the shell holds it
    const double thresholdMs = kEndThreshold * totalMs;

    sound->Play();
    // Play reaches offset 0 at once: the worker fills the second half before it is due.
    if (piece.streams) {
        ASSERT_TRUE(WaitUntil([&] { return Half(1) == Second(pcm, 1, half, silence); }));
    }
    DWORD lastMs = 0, endMs = 0, lastHalf = 0;
    size_t crossings = 0;
    int frame = 0, endFrame = -1;
    bool playing = true;
    const int frames = int(std::ceil((length / 1000.0 + 3) / kFrame));
    for (; frame < frames && playing; ++frame) {
        output->Advance(kFrame);
        DWORD ms = 0;
        ASSERT_TRUE(sound->GetPlayTime(&ms));
        ASSERT_GE(ms, lastMs) << "frame " << frame << ": the clock ran back";
        ASSERT_LE(ms, length);
        lastMs = ms;
        if (endFrame < 0 && showHasEnded(showClock(ms, totalMs))) {
            endFrame = frame;
            endMs = ms;
        }
        ASSERT_TRUE(sound->IsPlaying(&playing));
        if (!piece.streams) continue;
        // Once the cursor crosses into a half, the worker puts the next second into the other
        // (or stops, once the last sample has been heard); wait for it as a real second would.
        VoiceView now;
        ASSERT_TRUE(output->Peek(&now, 0, 0));
        if (now.cursor / half != lastHalf) {
            lastHalf = now.cursor / half;
            ++crossings;
            const std::string next = Second(pcm, crossings + 1, half, silence);
            ASSERT_TRUE(WaitUntil([&] {
                VoiceView state;
                return !output->Peek(&state, 0, 0) || !state.playing || Half(1 - lastHalf) == next;
            })) << "second "
                << crossings + 1;
        }
    }
    EXPECT_FALSE(playing) << "the sound stopped by itself";

    // The show ended at the first frame at or past its threshold, not later.
    ASSERT_GE(endFrame, 0) << "the show never reached its end";
    EXPECT_GE(endMs, thresholdMs);
    EXPECT_LE(endMs, thresholdMs + 1000 * kFrame + 1);

    // The clock stands at the length after the end, however long one waits.
    output->Advance(2.5);
    DWORD after = 0;
    ASSERT_TRUE(sound->GetPlayTime(&after));
    EXPECT_EQ(after, length);

    // Heard: the whole piece once, in order, then nothing but silence.
    const std::vector<float> expected = Heard(pcm, buffer.format.nChannels, bits);
    const std::vector<float> heard = output->Mixed();
    ASSERT_GE(heard.size(), expected.size());
    const auto differ = std::mismatch(expected.begin(), expected.end(), heard.begin()).first;
    EXPECT_EQ(differ, expected.end()) << "from sample " << differ - expected.begin();
    const auto noise = std::find_if(heard.begin() + long(expected.size()), heard.end(),
                                    [](float x) { return x != 0.0f; });
    EXPECT_EQ(noise, heard.end()) << "sound at sample " << noise - heard.begin() << " after "
                                  << expected.size();
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, EndOfMusic,
    testing::Values(Piece{"SevenHundredthsOfASecond", "piece_0s07.ogg", 70, false},
                    Piece{"OneSecond", "piece_1s1.wav", 1100, false},
                    Piece{"TheStaticLimit", "static_limit.wav", 5944, false},
                    Piece{"OneFrameOverTheLimit", "piece_over_limit.wav", 5944, true},
                    Piece{"SixSeconds", "piece_6s1.ogg", 6100, true},
                    Piece{"TwentySeconds", "piece_20s5.ogg", 20500, true},
                    Piece{"SeventyFourSeconds", "piece_74s.wav", 74000, true},
                    Piece{"ALongPiece", "piece_100s5.wav", 100500, true},
                    Piece{"EightBitMono", "piece_u8_mono.wav", 24500, true}),
    [](const testing::TestParamInfo<Piece>& piece) { return std::string(piece.param.name); });
