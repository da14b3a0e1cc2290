// The capture program reads the music's length through the show's own way of opening it, so
// the two agree on every file the show plays and refuse the same others.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound_test_support.h"
#include "tools/offscreen/music_length.h"

#include <gtest/gtest.h>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST(MusicLength, TheCaptureAndTheShowAgreeOnEveryFileTheShowPlays) {
    InstallManualOutput();
    ASSERT_TRUE(InitDirectSound(reinterpret_cast<HWND>(0x1)));
    for (const char* file : {"s16_stereo_44100.wav", "u8_mono_22050.wav", "s24_pcm.wav",
                             "s24_extensible.wav", "mono_22050.ogg", "piece_over_limit.wav"}) {
        SCOPED_TRACE(file);
        CdSound sound;
        ASSERT_TRUE(sound.Open(Fixture(file).c_str()));
        double ms = -1;
        std::string error;
        ASSERT_TRUE(musicLengthMs(Fixture(file), ms, &error)) << error;
        EXPECT_EQ(ms, sound.GetTotalTime());
        EXPECT_GT(ms, 0);
    }
    ReleaseDirectSound();
    RestoreDefaultOutput();
}

TEST(MusicLength, RefusesWhatTheShowCannotShow) {
    double ms = 0;
    std::string error;
    CaptureStderr();
    EXPECT_FALSE(musicLengthMs(Fixture("s32_pcm.wav"), ms, &error));
    EXPECT_NE(error.find("not an Ogg Vorbis file or a WAVE file the show plays"), std::string::npos)
        << error;
    EXPECT_NE(GetCapturedStderr().find("32 bits per sample"), std::string::npos);

    // 44 frames of 16-bit stereo at 44100 Hz: under a millisecond, a clock of 0 over 0.
    const std::string blip = TempPath("blip.wav");
    WriteFile(blip, RiffBytes({{"fmt ", FormatBody(1, 2, 44100, 16)},
                               {"data", std::string(44 * 4, '\x10')}}));
    EXPECT_FALSE(musicLengthMs(blip, ms, &error));
    EXPECT_EQ(error, blip + " is too short to show: it lasts under 1 ms");
    // One frame more is a millisecond.
    WriteFile(blip, RiffBytes({{"fmt ", FormatBody(1, 2, 44100, 16)},
                               {"data", std::string(45 * 4, '\x10')}}));
    ASSERT_TRUE(musicLengthMs(blip, ms, &error)) << error;
    EXPECT_EQ(ms, 1);
}
