// The show's music as built: its format and exact length, no clipping, a kick the pictures can
// follow in scene one, and sections that change where the scenes change.
#include "show/data_files.h"
#include "sound/ogg_vorbis.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kRate = 44100;
constexpr double kBeat = 0.5;

class Music : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        int channels = 0;
        long rate = 0;
        pcm = new std::vector<std::int16_t>(DecodeOgg(data_files::kMusic, &channels, &rate));
        ASSERT_EQ(channels, 2);
        ASSERT_EQ(rate, kRate);
        // One low-passed mono signal for the kick (about 150 Hz and below).
        low = new std::vector<float>(pcm->size() / 2);
        float state = 0;
        const float a = 1 - std::exp(-2 * 3.14159265f * 150 / kRate);
        for (size_t i = 0; i < low->size(); ++i) {
            state += a * (0.5f * ((*pcm)[2 * i] + (*pcm)[2 * i + 1]) - state);
            (*low)[i] = state;
        }
    }
    static void TearDownTestSuite() {
        delete pcm;
        delete low;
    }

    // Mean power of the low band over [from, from + length) seconds.
    static double LowPower(double from, double length) {
        const size_t b = size_t(from * kRate), e = size_t((from + length) * kRate);
        double sum = 0;
        for (size_t i = b; i < e; ++i) sum += double((*low)[i]) * (*low)[i];
        return sum / double(e - b);
    }
    // Loudness and brightness (how much of the signal moves from one sample to the next).
    static double Rms(double from, double to) {
        double sum = 0;
        const size_t b = size_t(from * kRate), e = size_t(to * kRate);
        for (size_t i = 2 * b; i < 2 * e; ++i) sum += double((*pcm)[i]) * (*pcm)[i];
        return std::sqrt(sum / double(2 * (e - b)));
    }
    static double Brightness(double from, double to) {
        double change = 0, level = 0;
        for (size_t i = size_t(from * kRate) + 1; i < size_t(to * kRate); ++i) {
            const double x = (*pcm)[2 * i], previous = (*pcm)[2 * i - 2];
            change += std::fabs(x - previous);
            level += std::fabs(x);
        }
        return change / level;
    }

    static std::vector<std::int16_t>* pcm;
    static std::vector<float>* low;
};
std::vector<std::int16_t>* Music::pcm = nullptr;
std::vector<float>* Music::low = nullptr;

} // namespace

TEST_F(Music, IsExactlyEightyBarsOfCdStereo) {
    EXPECT_EQ(pcm->size(), size_t(160 * kRate) * 2);
    COggVorbis ogg;
    EXPECT_EQ(ogg.Open(data_files::kMusic), 160 * 176400);
}

TEST_F(Music, NeverClipsAndIsNotTimid) {
    int peak = 0;
    for (std::int16_t s : *pcm) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 16384);
}

TEST_F(Music, SceneOneHasAKickOnEveryBeat) {
    // The cluster of scene one pops one cube per beat: each beat must land as a low thump well
    // above the moment just before it, and nothing between the beats may thump like it.
    for (int beat = 1; beat < 32; ++beat) {
        const double t = beat * kBeat;
        EXPECT_GT(LowPower(t, 0.06), 4 * LowPower(t - 0.08, 0.06)) << "beat " << beat;
        EXPECT_LT(LowPower(t + 0.25, 0.06), 2 * LowPower(t + 0.17, 0.06)) << "after " << beat;
    }
}

TEST_F(Music, SectionsChangeWhereTheScenesChange) {
    // Scene two brings sixteenth hats and claps, scene three the lead and arpeggios: brighter.
    EXPECT_GT(Brightness(16, 24), 1.3 * Brightness(8, 16));
    EXPECT_GT(Brightness(48, 56), 1.3 * Brightness(40, 48));
    // Its dark half drops the kick for two bars, then stays darker than the white half.
    for (double t : {96.5, 97.0, 97.5, 98.5, 99.0, 99.5})
        EXPECT_LT(LowPower(t, 0.06), 2 * LowPower(t - 0.08, 0.06)) << t;
    EXPECT_LT(Brightness(104, 112), 0.8 * Brightness(88, 96));
    // Scene four opens up again.
    EXPECT_GT(Brightness(144, 152), 1.15 * Brightness(136, 144));
    // The end: still playing when the show ends at about 157.8 s, silent from 159.5 s.
    EXPECT_GT(Rms(156, 157.8), 500);
    EXPECT_LT(Rms(159.5, 160), 5);
}
