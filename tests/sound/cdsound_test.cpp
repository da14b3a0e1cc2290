// CdSound and the device functions through the stand-in, on an output whose clock the test
// moves: buffer geometry, the play-time arithmetic, Play, Stop, Pause and SetPlayTime.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1);

DWORD PlayTime(CdSound& sound) {
    DWORD ms = 0xDEADBEEF;
    EXPECT_TRUE(sound.GetPlayTime(&ms));
    return ms;
}

class Sound : public testing::Test {
  protected:
    void SetUp() override {
        output = InstallManualOutput();
        ASSERT_TRUE(InitDirectSound(kWindow));
        sound = std::make_unique<CdSound>();
    }
    void TearDown() override {
        sound.reset();
        ReleaseDirectSound();
        RestoreDefaultOutput();
    }
    // Second k of the decoded file, as the stream worker puts it in the buffer.
    std::string Second(const std::string& pcm, size_t k) const {
        return k * 176400 < pcm.size() ? pcm.substr(k * 176400, 176400) : std::string();
    }
    std::string Decoded(const char* fixture) const {
        const std::vector<std::int16_t> pcm = DecodeOgg(Fixture(fixture), nullptr, nullptr);
        return std::string(reinterpret_cast<const char*>(pcm.data()), pcm.size() * 2);
    }

    ManualOutput* output = nullptr;
    std::unique_ptr<CdSound> sound;
};

} // namespace

TEST(SoundDevice, MakeWaveFormatFillsThePcmRecord) {
    WAVEFORMATEX f{};
    ASSERT_TRUE(MakeWaveFormat(&f, 2, 44100, 16));
    EXPECT_EQ(f.wFormatTag, 1);
    EXPECT_EQ(f.nChannels, 2);
    EXPECT_EQ(f.nSamplesPerSec, 44100u);
    EXPECT_EQ(f.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(f.nBlockAlign, 4);
    EXPECT_EQ(f.wBitsPerSample, 16);
    EXPECT_EQ(f.cbSize, 18);
    EXPECT_FALSE(MakeWaveFormat(nullptr, 2, 44100, 16));
}

TEST(SoundDevice, StartsAndClampsTheMasterLevels) {
    ReleaseDirectSound(); // before any start-up: nothing to do
    InstallManualOutput();
    ASSERT_TRUE(InitDirectSound(kWindow));
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_TRUE(CreatePrimaryBuffer(&primary));
    primary->Release();
    EXPECT_FALSE(CreatePrimaryBuffer(nullptr));

    LONG level = 1;
    ASSERT_TRUE(SetMasterVolume(500));
    ASSERT_TRUE(GetMasterVolume(&level));
    EXPECT_EQ(level, 0);
    ASSERT_TRUE(SetMasterVolume(-20000));
    ASSERT_TRUE(GetMasterVolume(&level));
    EXPECT_EQ(level, -10000);
    ASSERT_TRUE(SetMasterPan(20000));
    ASSERT_TRUE(GetMasterPan(&level));
    EXPECT_EQ(level, 10000);
    ASSERT_TRUE(SetMasterPan(-20000));
    ASSERT_TRUE(GetMasterPan(&level));
    EXPECT_EQ(level, -10000);
    ReleaseDirectSound();
    EXPECT_EQ(GetDirectSound(), nullptr);
    RestoreDefaultOutput();
}

TEST(SoundDevice, FailuresAreNamedAndReportedFalse) {
    SetAudioOutputFactory([] { return std::unique_ptr<AudioOutput>(); });
    CaptureStderr();
    EXPECT_FALSE(InitDirectSound(kWindow));
    EXPECT_EQ(GetCapturedStderr(), "Error: Failed : DirectSoundCreate8()\n");
    CaptureStderr();
    EXPECT_FALSE(SetMasterVolume(0)) << "no device, no primary buffer";
    EXPECT_EQ(GetCapturedStderr(), "Error: Failed : CreateSoundBuffer()\n");

    InstallManualOutput();
    CaptureStderr();
    EXPECT_FALSE(InitDirectSound(nullptr));
    EXPECT_EQ(GetCapturedStderr(), "Error: Failed : SetCooperativeLevel()\n");
    ReleaseDirectSound();
    RestoreDefaultOutput();
}

// What the device is asked for: the whole sound in one buffer up to 1 MiB, else two seconds
// with a notification at each half and the first second in the first half.
TEST_F(Sound, TheBufferTakesTheWholeSoundOrTwoSecondsOfIt) {
    std::string ramp(1048577, '\0'); // 8-bit mono, one byte over the limit
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = char(i % 251);
    const std::string overLimit = TempPath("over_limit.wav");
    WriteFile(overLimit, RiffBytes({{"fmt ", FormatBody(1, 1, 44100, 8)}, {"data", ramp}}));
    const std::string staticLimit = ReadFile(Fixture("static_limit.wav"));
    const std::string stereo = Decoded("stereo_441000.ogg");
    struct Case {
        std::string file;
        DWORD lengthMs;
        std::vector<DWORD> notifyAt;
        std::string contents;
    };
    const Case cases[] = {
        {Fixture("static_limit.wav"), 5944, {}, staticLimit.substr(staticLimit.size() - 1048576)},
        // Unsigned 8-bit silence is 0x80.
        {overLimit, 23777, {0, 44100}, ramp.substr(0, 44100) + std::string(44100, '\x80')},
        {Fixture("stereo_441000.ogg"),
         10000,
         {0, 176400},
         Second(stereo, 0) + std::string(176400, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(sound->Open(c.file.c_str()));
        EXPECT_EQ(sound->GetTotalTime(), c.lengthMs);
        VoiceView view;
        ASSERT_TRUE(output->Peek(&view));
        std::vector<DWORD> notifyAt;
        for (const DSBPOSITIONNOTIFY& n : view.notify) {
            notifyAt.push_back(n.dwOffset);
            EXPECT_NE(n.hEventNotify, nullptr);
        }
        EXPECT_EQ(notifyAt, c.notifyAt);
        EXPECT_EQ(view.bytes, c.contents.size());
        EXPECT_TRUE(std::string(view.data.begin(), view.data.end()) == c.contents);
    }
}

TEST_F(Sound, UpToOneMebibytePlaysOnceAndEndsAtItsLength) {
    ASSERT_TRUE(sound->Open(Fixture("static_limit.wav").c_str()));
    sound->Play();
    output->Advance(3.0);
    EXPECT_EQ(PlayTime(*sound), 3000u);
    output->Advance(3.0);
    bool playing = true;
    ASSERT_TRUE(sound->IsPlaying(&playing));
    EXPECT_FALSE(playing) << "played once";
    EXPECT_EQ(PlayTime(*sound), 5944u) << "the end counts as the whole sound";
}

// The show's first frame can come after a short piece has ended: the end must show all the
// same, and a pause must not pass for it.
TEST_F(Sound, APlayedOnceBufferEndsAtItsLengthWhenNobodyWatchedItEnd) {
    ASSERT_TRUE(sound->Open(Fixture("piece_1s1.wav").c_str()));
    sound->Play();
    output->Advance(2.0);
    EXPECT_EQ(PlayTime(*sound), 1100u);
    EXPECT_EQ(PlayTime(*sound), 1100u);

    sound->Play(); // again, from the start
    output->Advance(0.5);
    EXPECT_EQ(PlayTime(*sound), 500u);
    sound->Pause();
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(*sound), 500u) << "paused, not ended";
    sound->Play();
    output->Advance(0.25);
    EXPECT_EQ(PlayTime(*sound), 750u);
    ASSERT_TRUE(sound->SetPlayTime(0));
    output->Advance(0.25);
    EXPECT_EQ(PlayTime(*sound), 250u);
    EXPECT_TRUE(sound->Stop());
    EXPECT_EQ(PlayTime(*sound), 0u);
}

// Every wrap of the looping buffer counts (352800 bytes + 10000 is 2056 ms), also across gaps
// between polls as long as the buffer or longer (a hidden window, a stopped process); a buffer
// played once reads the same.
TEST_F(Sound, PlayTimeCountsEveryWrapAcrossGapsBetweenPolls) {
    struct Poll {
        double gap;
        DWORD ms;
    };
    const std::pair<const char*, std::vector<Poll>> cases[] = {
        {"static_limit.wav", {{0.5, 500}, {2.0, 2500}, {2.5, 5000}}},
        {"stereo_441000.ogg", {{1.7, 1700}, {0.3567, 2056}, {2.0, 4056}, {2.5, 6556}}},
    };
    for (const auto& [fixture, polls] : cases) {
        SCOPED_TRACE(fixture);
        sound = std::make_unique<CdSound>();
        ASSERT_TRUE(sound->Open(Fixture(fixture).c_str()));
        sound->Play();
        for (const Poll& poll : polls) {
            output->Advance(poll.gap);
            EXPECT_EQ(PlayTime(*sound), poll.ms) << "after a gap of " << poll.gap << " s";
        }
    }
}

TEST_F(Sound, AStreamPlaysOnAcrossItsWraps) {
    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    sound->Play();
    for (int step = 1; step <= 9; ++step) {
        output->Advance(0.5);
        ASSERT_EQ(PlayTime(*sound), DWORD(500 * step));
        // Once a second the worker has put the next second into the half just played.
        if (step % 2 == 0) {
            const size_t next = size_t(step / 2 + 1);
            const DWORD half = DWORD(next % 2);
            ASSERT_TRUE(WaitUntil([&] {
                return output->Bytes(half * 176400, 176400) == Second(pcm, next);
            })) << "second "
                << next;
        }
    }
    bool playing = false;
    ASSERT_TRUE(sound->IsPlaying(&playing));
    EXPECT_TRUE(playing);
}

TEST_F(Sound, StopRewindsAndPlayResumesWithTheSameWorker) {
    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    EXPECT_FALSE(sound->Stop()) << "not playing";
    const std::set<long> idle = Threads();
    sound->Play();
    const std::set<long> withWorker = Threads();
    EXPECT_EQ(withWorker.size(), idle.size() + 1);
    output->Advance(1.5);
    EXPECT_EQ(PlayTime(*sound), 1500u);
    ASSERT_TRUE(WaitUntil([&] { return output->Bytes(0, 176400) == Second(pcm, 2); }));

    EXPECT_TRUE(sound->Stop());
    bool playing = true;
    ASSERT_TRUE(sound->IsPlaying(&playing));
    EXPECT_FALSE(playing);
    EXPECT_EQ(PlayTime(*sound), 0u);
    const std::string rewound = output->Bytes();
    EXPECT_TRUE(rewound.substr(0, 176400) == Second(pcm, 0));
    EXPECT_EQ(rewound.substr(176400), std::string(176400, '\0'));

    sound->Play();
    ASSERT_TRUE(WaitUntil([&] { return output->Bytes(176400) == Second(pcm, 1); }));
    EXPECT_EQ(Threads(), withWorker) << "the worker waited on and refills again";
    output->Advance(0.25);
    EXPECT_EQ(PlayTime(*sound), 250u);
}

// A wake pending when the buffer stops (here the test's own, on the event of the middle) ends
// the worker where it is; Play then starts another.
TEST_F(Sound, PauseKeepsThePlaceAndAWakeAfterItEndsTheWorkerWithoutRewinding) {
    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    const std::set<long> idle = Threads();
    sound->Play();
    const std::set<long> first = Threads();
    ASSERT_TRUE(WaitUntil([&] { return output->Bytes(176400) == Second(pcm, 1); }));
    output->Advance(0.9);
    sound->Pause();
    VoiceView view;
    ASSERT_TRUE(output->Peek(&view, 0, 0));
    ASSERT_EQ(view.notify.size(), 2u);
    SetEvent(view.notify[1].hEventNotify);
    ASSERT_TRUE(WaitUntil([&] { return Threads() == idle; })) << "the worker ended";
    EXPECT_EQ(PlayTime(*sound), 900u) << "still where it was paused";

    sound->Play();
    const std::set<long> second = Threads();
    EXPECT_EQ(second.size(), first.size());
    EXPECT_NE(second, first) << "a new worker";
    output->Advance(0.4);
    EXPECT_EQ(PlayTime(*sound), 1300u);
    ASSERT_TRUE(WaitUntil([&] { return output->Bytes(0, 176400) == Second(pcm, 2); }));
}

TEST_F(Sound, SetPlayTimeGoesToWholeSeconds) {
    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    sound->Play();
    ASSERT_TRUE(WaitUntil([&] { return output->Bytes(176400) == Second(pcm, 1); }));
    output->Advance(0.3);
    ASSERT_TRUE(sound->SetPlayTime(2500));
    EXPECT_EQ(PlayTime(*sound), 2000u) << "two whole seconds, not 2500";
    ASSERT_TRUE(WaitUntil([&] {
        const std::string b = output->Bytes();
        return b.substr(0, 176400) == Second(pcm, 2) && b.substr(176400) == Second(pcm, 3);
    }));
    output->Advance(0.5);
    EXPECT_EQ(PlayTime(*sound), 2500u);

    ASSERT_TRUE(sound->Open(Fixture("static_limit.wav").c_str()));
    ASSERT_TRUE(sound->SetPlayTime(1999));
    EXPECT_EQ(PlayTime(*sound), 1000u);
    ASSERT_TRUE(sound->SetPlayTime(0));
    EXPECT_EQ(PlayTime(*sound), 0u) << "a move back is not a wrap";

    ASSERT_TRUE(sound->Open(Fixture("s24_mono_22050.wav").c_str()));
    ASSERT_TRUE(sound->SetPlayTime(1000));
    EXPECT_EQ(PlayTime(*sound), 1000u) << "on a whole 3-byte frame";
}

TEST_F(Sound, VolumeAndPanAreClamped) {
    ASSERT_TRUE(sound->Open(Fixture("s16_stereo_44100.wav").c_str()));
    LONG value = 1;
    ASSERT_TRUE(sound->SetVolume(100));
    ASSERT_TRUE(sound->GetVolume(&value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(sound->SetPan(-12000));
    ASSERT_TRUE(sound->GetPan(&value));
    EXPECT_EQ(value, -10000);
}

TEST_F(Sound, OpenTriesWaveThenOggAndNamesAMissingFileOnce) {
    VoiceView view;
    CaptureStderr();
    EXPECT_FALSE(sound->Open("Data/no_such_sound.ogg"));
    EXPECT_EQ(GetCapturedStderr(), "Error: File open error : Data/no_such_sound.ogg\n");
    EXPECT_EQ(sound->GetTotalTime(), 0u) << "no loader held";

    CaptureStderr();
    EXPECT_TRUE(sound->Open(Fixture("mono_22050.ogg").c_str()));
    EXPECT_FALSE(sound->Open(Fixture("not_audio.txt").c_str()));
    EXPECT_EQ(sound->GetTotalTime(), 0u);
    EXPECT_FALSE(output->Peek(&view)) << "the last sound's buffer went with it";
    EXPECT_EQ(GetCapturedStderr(), "Error: Cannot play " + Fixture("not_audio.txt") +
                                       ": neither Ogg Vorbis nor PCM WAVE.\n");

    // A WAVE file it cannot play is named once, gets no buffer, and is not tried as Ogg.
    CaptureStderr();
    EXPECT_FALSE(sound->Open(Fixture("s32_pcm.wav").c_str()));
    EXPECT_EQ(GetCapturedStderr(), "Error: Cannot play " + Fixture("s32_pcm.wav") +
                                       ": 32 bits per sample (8, 16 and 24 play).\n");
    EXPECT_FALSE(output->Peek(&view));
    EXPECT_EQ(sound->GetTotalTime(), 0u);
    // Nor can one without a single frame.
    const std::string empty = TempPath("empty.wav");
    WriteFile(empty, RiffBytes({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"data", "\x01\x02"}}));
    CaptureStderr();
    EXPECT_FALSE(sound->Open(empty.c_str()));
    EXPECT_EQ(GetCapturedStderr(), "Error: The sound holds no samples. : CdSound::Open()\n");
    EXPECT_FALSE(output->Peek(&view));
    EXPECT_EQ(sound->GetTotalTime(), 0u);

    for (const char* playable : {"s24_extensible.wav", "s24_pcm.wav", "u8_mono_22050.wav"})
        EXPECT_TRUE(sound->Open(Fixture(playable).c_str())) << playable;
}

TEST(SoundWithoutDevice, NothingIsLockedReadOrPlayed) {
    ReleaseDirectSound();
    CdSound sound;
    CaptureStderr();
    EXPECT_FALSE(sound.Open(Fixture("stereo_441000.ogg").c_str()));
    EXPECT_EQ(GetCapturedStderr(),
              "Error: Create Secondary Buffer failed. : CdSound::CreateSecondaryBuffer()\n");
    const std::set<long> idle = Threads();
    sound.Play();
    sound.Pause();
    EXPECT_EQ(Threads(), idle) << "no worker without a buffer";
    EXPECT_FALSE(sound.Stop());
    EXPECT_FALSE(sound.SetPlayTime(1000));
    bool playing = true;
    EXPECT_FALSE(sound.IsPlaying(&playing));
    EXPECT_TRUE(playing) << "left unwritten";
    DWORD ms = 7;
    EXPECT_FALSE(sound.GetPlayTime(&ms));
    EXPECT_EQ(ms, 7u);
    EXPECT_EQ(sound.GetTotalTime(), 10000u) << "the file itself was read";
}

TEST_F(Sound, DestroyingAPlayingStreamEndsItsWorkerFirst) {
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    const std::set<long> idle = Threads();
    sound->Play();
    output->Advance(1.2);
    ASSERT_NE(Threads(), idle);
    sound.reset(); // wakes the worker, joins it, then lets the lock and the buffer go
    EXPECT_TRUE(WaitUntil([&] { return Threads() == idle; }));
}
