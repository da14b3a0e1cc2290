// A short Ogg Vorbis file streamed end to end through the worker: every refill lands in the half
// just played, what is heard is the whole file in order, and the stream stops itself once the
// last sample has been heard, its clock standing at the length.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1);
constexpr size_t kSecond = 176400; // bytes of 16-bit stereo at 44100 Hz

// One half of the sound's buffer as the output would play it.
std::string Half(const ManualOutput* output, int half) {
    return output->Bytes(DWORD(half * kSecond), kSecond);
}

std::string Decoded(const char* fixture) {
    const std::vector<std::int16_t> pcm = DecodeOgg(Fixture(fixture), nullptr, nullptr);
    return std::string(reinterpret_cast<const char*>(pcm.data()), pcm.size() * 2);
}

std::string Second(const std::string& pcm, size_t k) {
    return pcm.substr(k * kSecond, kSecond);
}

// Mixed floats back to the 16-bit samples they came from (unity gain keeps them exact).
std::string AsPcm(const std::vector<float>& mixed) {
    std::string bytes(mixed.size() * 2, '\0');
    for (size_t i = 0; i < mixed.size(); ++i) {
        const auto v = std::int16_t(std::lround(mixed[i] * 32768.0f));
        bytes[2 * i] = char(v & 0xFF);
        bytes[2 * i + 1] = char(v >> 8 & 0xFF);
    }
    return bytes;
}

DWORD PlayTime(CdSound& sound) {
    DWORD ms = 0xDEADBEEF;
    EXPECT_TRUE(sound.GetPlayTime(&ms));
    return ms;
}

bool IsPlaying(CdSound& sound) {
    bool playing = true;
    EXPECT_TRUE(sound.IsPlaying(&playing));
    return playing;
}

struct Device {
    Device() { EXPECT_TRUE(InitDirectSound(kWindow)); }
    ~Device() {
        ReleaseDirectSound();
        RestoreDefaultOutput();
    }
};

} // namespace

TEST(Stream, EachRefillLandsInTheHalfJustPlayedAndTheLastIsFollowedBySilence) {
    ManualOutput* output = InstallManualOutput();
    Device device;
    const std::string pcm = Decoded("stream_6s5.ogg");
    ASSERT_EQ(pcm.size(), 6 * kSecond + kSecond / 2);
    auto sound = std::make_unique<CdSound>();
    ASSERT_TRUE(sound->Open(Fixture("stream_6s5.ogg").c_str()));
    const std::set<long> idle = Threads();
    EXPECT_TRUE(Half(output, 0) == Second(pcm, 0));
    EXPECT_EQ(Half(output, 1), std::string(kSecond, '\0'));

    sound->Play(); // offset 0 is reached at once: the second half gets second 1
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == Second(pcm, 1); }));
    EXPECT_TRUE(Half(output, 0) == Second(pcm, 0));
    // At second k - 1 the cursor enters the half that holds second k - 1; the other half has
    // just been heard and gets second k, while the playing half stays as it is.
    for (size_t k = 2; k <= 5; ++k) {
        output->Advance(1.0);
        // The show asks for the time every frame; the stand-in brings the cursor and its
        // notifications up to date whenever it is asked.
        EXPECT_EQ(PlayTime(*sound), DWORD(1000 * (k - 1)));
        const int refilled = int(k % 2);
        ASSERT_TRUE(WaitUntil([&] { return Half(output, refilled) == Second(pcm, k); }))
            << "second " << k;
        EXPECT_TRUE(Half(output, 1 - refilled) == Second(pcm, k - 1)) << "second " << k - 1;
    }
    // At 5 s only half a second is left for the half after second 5: it goes in, silence after.
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(*sound), 5000u);
    const std::string last = Second(pcm, 6) + std::string(kSecond / 2, '\0');
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 0) == last; }));
    // At 6 s the cursor enters it; the half behind it, second 5, turns to silence.
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(*sound), 6000u);
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == std::string(kSecond, '\0'); }));
    EXPECT_TRUE(IsPlaying(*sound));
    output->Advance(0.7);
    EXPECT_EQ(PlayTime(*sound), 6500u) << "the clock holds at the length over the silence";
    // At 7 s the cursor has left the half with the last sample: the stream stops there.
    output->Advance(0.3);
    EXPECT_EQ(PlayTime(*sound), 6500u);
    ASSERT_TRUE(WaitUntil([&] { return Threads() == idle; })) << "the worker ended";
    EXPECT_FALSE(IsPlaying(*sound));
    output->Advance(2.0);
    EXPECT_EQ(PlayTime(*sound), 6500u) << "and stays there";

    // What was heard is the whole file, in order, then silence.
    const std::string heard = AsPcm(output->Mixed());
    ASSERT_GE(heard.size(), pcm.size());
    EXPECT_TRUE(heard.compare(0, pcm.size(), pcm) == 0);
    EXPECT_EQ(heard.find_first_not_of('\0', pcm.size()), std::string::npos);

    // A later Play starts a new worker from the beginning.
    sound->Play();
    EXPECT_EQ(Threads().size(), idle.size() + 1) << "a new worker";
    EXPECT_EQ(PlayTime(*sound), 0u);
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == Second(pcm, 1); }));
    EXPECT_TRUE(Half(output, 0) == Second(pcm, 0));
    output->Advance(0.5);
    EXPECT_EQ(PlayTime(*sound), 500u);
}

TEST(Stream, DataOfWholeSecondsEndsOneHalfAfterAnEmptyRead) {
    ManualOutput* output = InstallManualOutput();
    Device device;
    const std::string pcm = Decoded("stream_6s.ogg");
    ASSERT_EQ(pcm.size(), 6 * kSecond);
    CdSound sound;
    ASSERT_TRUE(sound.Open(Fixture("stream_6s.ogg").c_str()));
    const std::set<long> idle = Threads();
    sound.Play();
    for (size_t k = 1; k <= 5; ++k) {
        const int refilled = int(k % 2);
        ASSERT_TRUE(WaitUntil([&] { return Half(output, refilled) == Second(pcm, k); })) << k;
        output->Advance(1.0);
        EXPECT_EQ(PlayTime(sound), DWORD(1000 * k));
    }
    // Second 5 plays; the read for the half behind it finds nothing.
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 0) == std::string(kSecond, '\0'); }));
    EXPECT_TRUE(IsPlaying(sound));
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(sound), 6000u);
    ASSERT_TRUE(WaitUntil([&] { return Threads() == idle; })) << "the worker ended";
    EXPECT_FALSE(IsPlaying(sound));
    const std::string heard = AsPcm(output->Mixed());
    EXPECT_TRUE(heard.compare(0, pcm.size(), pcm) == 0);
}

TEST(Stream, StopAndSetPlayTimeNearTheEndKeepTheirMeaning) {
    ManualOutput* output = InstallManualOutput();
    Device device;
    const std::string pcm = Decoded("stream_6s5.ogg");
    CdSound sound;
    ASSERT_TRUE(sound.Open(Fixture("stream_6s5.ogg").c_str()));
    const std::set<long> idle = Threads();
    // Into the last second: the buffer starts with the half second left, silence after it.
    ASSERT_TRUE(sound.SetPlayTime(6000));
    EXPECT_TRUE(Half(output, 0) == Second(pcm, 6) + std::string(kSecond / 2, '\0'));
    sound.Play();
    output->Advance(0.8);
    EXPECT_EQ(PlayTime(sound), 6500u);
    // An explicit Stop in the silence rewinds to the start, as ever.
    EXPECT_TRUE(sound.Stop());
    EXPECT_EQ(PlayTime(sound), 0u);
    EXPECT_TRUE(Half(output, 0) == Second(pcm, 0));
    sound.Play();
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == Second(pcm, 1); }));
    output->Advance(1.5);
    EXPECT_EQ(PlayTime(sound), 1500u);

    // After the end, SetPlayTime puts the stream back in the middle and Play goes on from there.
    ASSERT_TRUE(sound.SetPlayTime(6000));
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == std::string(kSecond, '\0'); }));
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(sound), 6500u);
    ASSERT_TRUE(WaitUntil([&] { return Threads() == idle; })) << "the worker ended";
    ASSERT_TRUE(sound.SetPlayTime(2000));
    EXPECT_EQ(PlayTime(sound), 2000u);
    sound.Play();
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == Second(pcm, 3); }));
    output->Advance(0.25);
    EXPECT_EQ(PlayTime(sound), 2250u);
}

// A wake for a half that is already filled, as one taken just before FillBuffer started the
// buffer afresh but served after it (here the test's own, on the event of the middle), is let
// pass: serving it would skip a second.
TEST(Stream, AWakeForAHalfAlreadyFilledDoesNotSkipASecond) {
    ManualOutput* output = InstallManualOutput();
    Device device;
    const std::string pcm = Decoded("stream_6s5.ogg");
    CdSound sound;
    ASSERT_TRUE(sound.Open(Fixture("stream_6s5.ogg").c_str()));
    sound.Play();
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == Second(pcm, 1); }));
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(sound), 1000u);
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 0) == Second(pcm, 2); }));

    VoiceView view;
    ASSERT_TRUE(output->Peek(&view, 0, 0));
    ASSERT_EQ(view.notify.size(), 2u);
    const HANDLE middle = view.notify[1].hEventNotify;
    SetEvent(middle);
    // It happened once the worker has taken that wake: the event is clear.
    ASSERT_TRUE(WaitUntil([&] {
        if (!Signalled(middle)) return true;
        SetEvent(middle); // not taken yet: put it back for the worker
        return false;
    }));
    output->Advance(1.0);
    EXPECT_EQ(PlayTime(sound), 2000u);
    ASSERT_TRUE(WaitUntil([&] { return Half(output, 1) == Second(pcm, 3); }));
    EXPECT_TRUE(Half(output, 0) == Second(pcm, 2));
    const std::string heard = AsPcm(output->Mixed());
    EXPECT_TRUE(heard.compare(0, 2 * kSecond, pcm, 0, 2 * kSecond) == 0);
}

// The same file on the real silent output, its clock run twice as fast: the worker races the
// output's own thread, as it does in the show.
TEST(Stream, PlaysInOrderOnTheSilentOutput) {
    std::mutex heardMutex;
    std::vector<float> mixed;
    SetAudioOutputFactory([&] {
        return MakeSilentOutput(2.0, [&](const float* frames, int count) {
            std::lock_guard<std::mutex> lock(heardMutex);
            mixed.insert(mixed.end(), frames, frames + 2 * count);
        });
    });
    const std::string pcm = Decoded("stream_6s5.ogg");
    {
        Device device;
        CdSound sound;
        ASSERT_TRUE(sound.Open(Fixture("stream_6s5.ogg").c_str()));
        sound.Play();
        ASSERT_TRUE(WaitUntil([&] { return !IsPlaying(sound); }));
        EXPECT_EQ(PlayTime(sound), 6500u) << "the end holds";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } // the sound, then the device and its output are gone: the tap is quiet

    const std::string heard = AsPcm(mixed);
    // Find where play began: the first place the file's first tenth of a second is heard.
    const std::string opening = pcm.substr(0, kSecond / 10);
    const size_t start = heard.find(opening);
    ASSERT_NE(start, std::string::npos);
    ASSERT_EQ(start % 4, 0u);
    ASSERT_GE(heard.size(), start + pcm.size());
    EXPECT_TRUE(heard.compare(start, pcm.size(), pcm) == 0)
        << "every sample heard in order, no gap, no repeat";
    EXPECT_EQ(heard.find_first_not_of('\0', start + pcm.size()), std::string::npos);
}
