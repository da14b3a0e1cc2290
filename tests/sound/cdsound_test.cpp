// CdSound and the device functions through the stand-in, on an output whose clock the test
// moves: buffer geometry, the play-time arithmetic, Play, Stop, Pause and SetPlayTime.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound/sound_loader.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1);

// The secondary buffer's bytes, read under the sound's lock as the worker writes under it.
std::string Contents(CdSound& sound) {
    EnterCriticalSection(&sound.csLock);
    void *r1, *r2;
    DWORD n1, n2;
    std::string bytes;
    if (SUCCEEDED(sound.pDSBuffer->Lock(0, sound.dwBufferBytes, &r1, &n1, &r2, &n2, 0))) {
        bytes.assign(static_cast<const char*>(r1), n1);
        sound.pDSBuffer->Unlock(r1, n1, r2, n2);
    }
    LeaveCriticalSection(&sound.csLock);
    return bytes;
}

DWORD Cursor(CdSound& sound) {
    DWORD play = 0;
    EXPECT_EQ(sound.pDSBuffer->GetCurrentPosition(&play, nullptr), DS_OK);
    return play;
}

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

TEST_F(Sound, UpToOneMebibyteSitsWholeInABufferPlayedOnce) {
    ASSERT_TRUE(sound->Open(Fixture("static_limit.wav").c_str()));
    EXPECT_TRUE(sound->bStatic);
    EXPECT_EQ(sound->dwBufferBytes, 1048576u);
    EXPECT_EQ(sound->pLoader->GetBufferSize(), 1048576u);
    EXPECT_EQ(sound->pDSNotify, nullptr);
    EXPECT_EQ(sound->hEvents[0], nullptr);
    EXPECT_EQ(sound->wAlignMask, 1);
    EXPECT_EQ(sound->GetTotalTime(), 5944u);
    const std::string file = ReadFile(Fixture("static_limit.wav"));
    EXPECT_TRUE(Contents(*sound) == file.substr(file.size() - 1048576));

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
    ASSERT_TRUE(sound->bStatic);
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

TEST_F(Sound, MoreThanOneMebibyteStreamsThroughTwoSeconds) {
    // 8-bit mono, one byte over the limit.
    const std::string path = TempPath("over_limit.wav");
    WriteFile(path, RiffBytes({{"fmt ", FormatBody(1, 1, 44100, 8)},
                               {"data", std::string(1048577, '\x80')}}));
    ASSERT_TRUE(sound->Open(path.c_str()));
    EXPECT_FALSE(sound->bStatic);
    EXPECT_EQ(sound->dwBufferBytes, 88200u);
    EXPECT_EQ(sound->pLoader->GetBufferSize(), 44100u);
    EXPECT_EQ(sound->notifyPositions[1].dwOffset, 44100u);
    EXPECT_EQ(sound->wAlignMask, 0);

    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    EXPECT_FALSE(sound->bStatic);
    EXPECT_EQ(sound->dwBufferBytes, 352800u);
    EXPECT_EQ(sound->pLoader->GetBufferSize(), 176400u);
    EXPECT_EQ(sound->notifyPositions[0].dwOffset, 0u);
    EXPECT_EQ(sound->notifyPositions[1].dwOffset, 176400u);
    EXPECT_NE(sound->notifyPositions[0].hEventNotify, nullptr);
    EXPECT_EQ(sound->wAlignMask, 1);
    EXPECT_EQ(sound->GetTotalTime(), 10000u);
    const std::string buffer = Contents(*sound);
    EXPECT_TRUE(buffer.substr(0, 176400) == Second(pcm, 0));
    EXPECT_EQ(buffer.substr(176400), std::string(176400, '\0'));
}

TEST_F(Sound, PlayTimeCountsWrapsFromTheCursor) {
    DWORD ms = 0xDEADBEEF;
    EXPECT_FALSE(sound->GetPlayTime(&ms)) << "no buffer";
    EXPECT_EQ(ms, 0xDEADBEEFu);

    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    ASSERT_EQ(sound->pDSBuffer->SetCurrentPosition(300000), DS_OK);
    EXPECT_EQ(PlayTime(*sound), 1700u);
    ASSERT_EQ(sound->pDSBuffer->SetCurrentPosition(10000), DS_OK);
    EXPECT_EQ(PlayTime(*sound), 2056u) << "352800 + 10000 bytes";
    EXPECT_EQ(sound->dwPlayedBase, 352800u);
}

// Gaps between polls as long as the looping buffer or longer (a hidden window, a stopped
// process): every wrap still counts, and a buffer played once reads the same.
TEST_F(Sound, PlayTimeHoldsAcrossLongGapsBetweenPolls) {
    for (const char* fixture : {"stereo_441000.ogg", "static_limit.wav"}) {
        SCOPED_TRACE(fixture);
        sound = std::make_unique<CdSound>();
        ASSERT_TRUE(sound->Open(Fixture(fixture).c_str()));
        sound->Play();
        for (const auto& [gap, expected] : {std::pair{0.5, 500u}, {2.0, 2500u}, {2.5, 5000u}}) {
            output->Advance(gap);
            EXPECT_EQ(PlayTime(*sound), expected) << "after a gap of " << gap << " s";
        }
    }
}

TEST_F(Sound, AStreamPlaysOnAcrossItsWraps) {
    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    sound->Play();
    EXPECT_TRUE(sound->bStreaming);
    for (int step = 1; step <= 9; ++step) {
        output->Advance(0.5);
        ASSERT_EQ(PlayTime(*sound), DWORD(500 * step));
        // Once a second the worker has put the next second into the half just played.
        if (step % 2 == 0) {
            const size_t next = size_t(step / 2 + 1);
            const size_t half = next % 2;
            ASSERT_TRUE(WaitUntil([&] {
                return Contents(*sound).substr(half * 176400, 176400) == Second(pcm, next);
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
    sound->Play();
    output->Advance(1.5);
    EXPECT_EQ(PlayTime(*sound), 1500u);
    ASSERT_TRUE(WaitUntil([&] { return Contents(*sound).substr(0, 176400) == Second(pcm, 2); }));

    const std::uintptr_t worker = sound->hWorker;
    EXPECT_TRUE(sound->Stop());
    bool playing = true;
    ASSERT_TRUE(sound->IsPlaying(&playing));
    EXPECT_FALSE(playing);
    EXPECT_EQ(Cursor(*sound), 0u);
    EXPECT_EQ(PlayTime(*sound), 0u);
    const std::string rewound = Contents(*sound);
    EXPECT_TRUE(rewound.substr(0, 176400) == Second(pcm, 0));
    EXPECT_EQ(rewound.substr(176400), std::string(176400, '\0'));
    EXPECT_TRUE(sound->bStreaming) << "the worker waits on";

    sound->Play();
    EXPECT_EQ(sound->hWorker, worker);
    ASSERT_TRUE(WaitUntil([&] { return Contents(*sound).substr(176400) == Second(pcm, 1); }));
    output->Advance(0.25);
    EXPECT_EQ(PlayTime(*sound), 250u);
}

TEST_F(Sound, PauseKeepsThePlaceAndAWakeAfterItEndsTheWorkerWithoutRewinding) {
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    sound->Play();
    output->Advance(0.9);
    // Hold the lock so the worker's wake at 1 s cannot be served before the pause.
    EnterCriticalSection(&sound->csLock);
    output->Advance(0.2);
    sound->Pause();
    LeaveCriticalSection(&sound->csLock);
    ASSERT_TRUE(WaitUntil([&] { return !sound->bStreaming; }));
    EXPECT_EQ(Cursor(*sound), 194040u) << "1.1 s: still where it was paused";
    EXPECT_EQ(PlayTime(*sound), 1100u);

    sound->Play();
    EXPECT_TRUE(sound->bStreaming) << "a new worker";
    output->Advance(0.4);
    EXPECT_EQ(PlayTime(*sound), 1500u);
}

TEST_F(Sound, SetPlayTimeGoesToWholeSeconds) {
    const std::string pcm = Decoded("stereo_441000.ogg");
    ASSERT_TRUE(sound->Open(Fixture("stereo_441000.ogg").c_str()));
    sound->Play();
    ASSERT_TRUE(WaitUntil([&] { return Contents(*sound).substr(176400) == Second(pcm, 1); }));
    output->Advance(0.3);
    ASSERT_TRUE(sound->SetPlayTime(2500));
    EXPECT_EQ(sound->dwPlayedBase, 352800u) << "two whole seconds, not 441000";
    EXPECT_EQ(PlayTime(*sound), 2000u);
    ASSERT_TRUE(WaitUntil([&] {
        const std::string b = Contents(*sound);
        return b.substr(0, 176400) == Second(pcm, 2) && b.substr(176400) == Second(pcm, 3);
    }));
    output->Advance(0.5);
    EXPECT_EQ(PlayTime(*sound), 2500u);

    ASSERT_TRUE(sound->Open(Fixture("static_limit.wav").c_str()));
    ASSERT_TRUE(sound->SetPlayTime(1999));
    EXPECT_EQ(Cursor(*sound), 176400u);
    EXPECT_EQ(PlayTime(*sound), 1000u);
    ASSERT_TRUE(sound->SetPlayTime(0));
    EXPECT_EQ(PlayTime(*sound), 0u) << "a move back is not a wrap";
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
    CaptureStderr();
    EXPECT_FALSE(sound->Open("Data/no_such_sound.ogg"));
    EXPECT_EQ(GetCapturedStderr(), "Error: File open error : Data/no_such_sound.ogg\n");
    EXPECT_EQ(sound->pLoader, nullptr);

    CaptureStderr();
    EXPECT_TRUE(sound->Open(Fixture("mono_22050.ogg").c_str()));
    EXPECT_FALSE(sound->Open(Fixture("not_audio.txt").c_str()));
    EXPECT_EQ(sound->pLoader, nullptr);
    EXPECT_EQ(GetCapturedStderr(), "Error: Cannot play " + Fixture("not_audio.txt") +
                                       ": neither Ogg Vorbis nor PCM WAVE.\n");

    // A WAVE file it cannot play is named once, gets no buffer, and is not tried as Ogg.
    CaptureStderr();
    EXPECT_FALSE(sound->Open(Fixture("s32_pcm.wav").c_str()));
    EXPECT_EQ(GetCapturedStderr(), "Error: Cannot play " + Fixture("s32_pcm.wav") +
                                       ": 32 bits per sample (8, 16 and 24 play).\n");
    EXPECT_EQ(sound->pDSBuffer, nullptr);
    EXPECT_EQ(sound->pLoader, nullptr);
    // Nor can one without a single frame.
    const std::string empty = TempPath("empty.wav");
    WriteFile(empty, RiffBytes({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"data", "\x01\x02"}}));
    CaptureStderr();
    EXPECT_FALSE(sound->Open(empty.c_str()));
    EXPECT_EQ(GetCapturedStderr(), "Error: The sound holds no samples. : CdSound::Open()\n");
    EXPECT_EQ(sound->pDSBuffer, nullptr);
    EXPECT_EQ(sound->pLoader, nullptr);

    ASSERT_TRUE(sound->Open(Fixture("s24_extensible.wav").c_str()));
    EXPECT_EQ(sound->wAlignMask, 3);
    ASSERT_TRUE(sound->Open(Fixture("s24_pcm.wav").c_str()));
    EXPECT_EQ(sound->wAlignMask, 3);
    ASSERT_TRUE(sound->Open(Fixture("u8_mono_22050.wav").c_str()));
    EXPECT_EQ(sound->wAlignMask, 0);
}

TEST(SoundWithoutDevice, NothingIsLockedReadOrPlayed) {
    ReleaseDirectSound();
    CdSound sound;
    CaptureStderr();
    EXPECT_FALSE(sound.Open(Fixture("stereo_441000.ogg").c_str()));
    EXPECT_EQ(GetCapturedStderr(),
              "Error: Create Secondary Buffer failed. : CdSound::CreateSecondaryBuffer()\n");
    EXPECT_EQ(sound.pDSBuffer, nullptr);
    sound.Play();
    sound.Pause();
    EXPECT_FALSE(sound.bStreaming);
    EXPECT_FALSE(sound.Stop());
    EXPECT_FALSE(sound.SetPlayTime(1000));
    EXPECT_FALSE(sound.FillBuffer(0));
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
    sound->Play();
    output->Advance(1.2);
    sound.reset(); // wakes the worker, joins it, then lets the lock and the buffer go
    SUCCEED();
}
