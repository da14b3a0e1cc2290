// A short Ogg Vorbis file streamed end to end through the worker: every refill lands in the half
// just played, what is heard is the file in order, and the stream stops and rewinds itself
// one to two seconds before the end of its data.
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <thread>

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x1);
constexpr size_t kSecond = 176400; // bytes of 16-bit stereo at 44100 Hz

std::string Half(CdSound& sound, int half) {
    EnterCriticalSection(&sound.csLock);
    void *r1, *r2;
    DWORD n1, n2;
    std::string bytes;
    if (SUCCEEDED(sound.pDSBuffer->Lock(DWORD(half * kSecond), kSecond, &r1, &n1, &r2, &n2, 0))) {
        bytes.assign(static_cast<const char*>(r1), n1);
        sound.pDSBuffer->Unlock(r1, n1, r2, n2);
    }
    LeaveCriticalSection(&sound.csLock);
    return bytes;
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

TEST(Stream, EachRefillLandsInTheHalfJustPlayedUntilTheDataRunsOut) {
    ManualOutput* output = InstallManualOutput();
    Device device;
    const std::string pcm = Decoded("stream_6s5.ogg");
    ASSERT_EQ(pcm.size(), 6 * kSecond + kSecond / 2);
    auto sound = std::make_unique<CdSound>();
    ASSERT_TRUE(sound->Open(Fixture("stream_6s5.ogg").c_str()));
    EXPECT_TRUE(Half(*sound, 0) == Second(pcm, 0));
    EXPECT_EQ(Half(*sound, 1), std::string(kSecond, '\0'));

    sound->Play(); // offset 0 is reached at once: the second half gets second 1
    ASSERT_TRUE(WaitUntil([&] { return Half(*sound, 1) == Second(pcm, 1); }));
    EXPECT_TRUE(Half(*sound, 0) == Second(pcm, 0));
    // At second k - 1 the cursor enters the half that holds second k - 1; the other half has
    // just been heard and gets second k, while the playing half stays as it is.
    for (size_t k = 2; k <= 5; ++k) {
        output->Advance(1.0);
        // The show asks for the time every frame; the stand-in brings the cursor and its
        // notifications up to date whenever it is asked.
        DWORD ms = 0;
        ASSERT_TRUE(sound->GetPlayTime(&ms));
        EXPECT_EQ(ms, DWORD(1000 * (k - 1)));
        const int refilled = int(k % 2);
        ASSERT_TRUE(WaitUntil([&] { return Half(*sound, refilled) == Second(pcm, k); }))
            << "second " << k;
        EXPECT_TRUE(Half(*sound, 1 - refilled) == Second(pcm, k - 1)) << "second " << k - 1;
    }
    // At 5 s the half for second 6 is due, but only half a second is left: the stream stops,
    // cutting off second 5 as it starts, and everything goes back to the beginning.
    output->Advance(1.0);
    DWORD atEnd = 0;
    ASSERT_TRUE(sound->GetPlayTime(&atEnd));
    EXPECT_EQ(atEnd, 5000u);
    ASSERT_TRUE(WaitUntil([&] { return !sound->bStreaming; }));
    EXPECT_FALSE(IsPlaying(*sound));
    EXPECT_EQ(sound->dwPlayedBase, 0u);
    DWORD cursor = 1;
    ASSERT_EQ(sound->pDSBuffer->GetCurrentPosition(&cursor, nullptr), DS_OK);
    EXPECT_EQ(cursor, 0u);
    EXPECT_TRUE(Half(*sound, 0) == Second(pcm, 0));
    EXPECT_EQ(Half(*sound, 1), std::string(kSecond, '\0'));

    // What was heard is the file from its start, in order, up to the cut.
    const std::string heard = AsPcm(output->Mixed());
    ASSERT_GE(heard.size(), 5 * kSecond);
    EXPECT_TRUE(heard.substr(0, 5 * kSecond) == pcm.substr(0, 5 * kSecond));

    // A later Play starts a new worker from the beginning.
    sound->Play();
    EXPECT_TRUE(sound->bStreaming);
    ASSERT_TRUE(WaitUntil([&] { return Half(*sound, 1) == Second(pcm, 1); }));
    output->Advance(0.5);
    DWORD ms = 0;
    ASSERT_TRUE(sound->GetPlayTime(&ms));
    EXPECT_EQ(ms, 500u);
}

TEST(Stream, DataOfWholeSecondsEndsOnAnEmptyRead) {
    ManualOutput* output = InstallManualOutput();
    Device device;
    const std::string pcm = Decoded("stream_6s.ogg");
    ASSERT_EQ(pcm.size(), 6 * kSecond);
    CdSound sound;
    ASSERT_TRUE(sound.Open(Fixture("stream_6s.ogg").c_str()));
    sound.Play();
    for (size_t k = 1; k <= 5; ++k) {
        const int refilled = int(k % 2);
        ASSERT_TRUE(WaitUntil([&] { return Half(sound, refilled) == Second(pcm, k); })) << k;
        output->Advance(1.0);
        DWORD ms = 0;
        ASSERT_TRUE(sound.GetPlayTime(&ms));
    }
    ASSERT_TRUE(WaitUntil([&] { return !sound.bStreaming; }));
    EXPECT_FALSE(IsPlaying(sound));
    EXPECT_TRUE(Half(sound, 0) == Second(pcm, 0));
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
        ASSERT_TRUE(WaitUntil([&] { return !sound.bStreaming; }));
        EXPECT_FALSE(IsPlaying(sound));
        DWORD ms = 1;
        ASSERT_TRUE(sound.GetPlayTime(&ms));
        EXPECT_EQ(ms, 0u) << "rewound";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sound.Cleanup();
    } // the device and its output are gone: the tap is quiet

    const std::string heard = AsPcm(mixed);
    // Find where play began: the first place the file's first tenth of a second is heard.
    const std::string opening = pcm.substr(0, kSecond / 10);
    const size_t start = heard.find(opening);
    ASSERT_NE(start, std::string::npos);
    ASSERT_EQ(start % 4, 0u);
    ASSERT_GE(heard.size(), start + 5 * kSecond);
    EXPECT_TRUE(heard.compare(start, 5 * kSecond, pcm, 0, 5 * kSecond) == 0)
        << "five seconds heard in order, no gap, no repeat";
    // Then a little of second 5 at most, and silence.
    size_t tail = start + 5 * kSecond;
    while (tail < heard.size() && tail < start + 6 * kSecond && heard[tail] == pcm[tail - start])
        ++tail;
    tail -= tail % 4;
    EXPECT_EQ(heard.find_first_not_of('\0', tail), std::string::npos);
}
