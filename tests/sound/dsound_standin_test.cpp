// The DirectSound stand-in on its own: regions, playing once and looping, the cursor as heard,
// notifications, gains and formats, on an output whose clock the test moves.
#include "platform/dsound.h"
#include "platform/sync.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr DWORD kAllControls =
    DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GETCURRENTPOSITION2;
HWND const kWindow = reinterpret_cast<HWND>(0x1);

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits) {
    const WORD align = WORD(channels * (bits / 8));
    return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

class StandIn : public testing::Test {
  protected:
    void Open(double latency = 0) {
        output = InstallManualOutput(latency);
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
        ASSERT_EQ(device->SetCooperativeLevel(kWindow, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override {
        for (IDirectSoundBuffer* b : buffers) b->Release();
        if (device) device->Release();
        RestoreDefaultOutput();
    }
    IDirectSoundBuffer* Make(WAVEFORMATEX format, DWORD bytes, DWORD flags = kAllControls) {
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), flags, bytes, 0, &format, {}};
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        if (buffer) buffers.push_back(buffer);
        return buffer;
    }
    // Writes the whole buffer through Lock and Unlock.
    static void Fill(IDirectSoundBuffer* b, DWORD bytes, const void* data) {
        void *r1, *r2;
        DWORD n1, n2;
        ASSERT_EQ(b->Lock(0, bytes, &r1, &n1, &r2, &n2, 0), DS_OK);
        std::memcpy(r1, data, n1);
        ASSERT_EQ(b->Unlock(r1, n1, r2, n2), DS_OK);
    }
    static void FillConstant16(IDirectSoundBuffer* b, DWORD bytes, std::int16_t value) {
        std::vector<std::int16_t> v(bytes / 2, value);
        Fill(b, bytes, v.data());
    }
    static DWORD Cursor(IDirectSoundBuffer* b) {
        DWORD play = 0xDEAD;
        EXPECT_EQ(b->GetCurrentPosition(&play, nullptr), DS_OK);
        return play;
    }
    static DWORD Status(IDirectSoundBuffer* b) {
        DWORD status = 0xDEAD;
        EXPECT_EQ(b->GetStatus(&status), DS_OK);
        return status;
    }

    ManualOutput* output = nullptr;
    IDirectSound8* device = nullptr;
    std::vector<IDirectSoundBuffer*> buffers;
};

} // namespace

TEST_F(StandIn, LockGivesOneOrTwoRegionsAndUnlockCommitsThem) {
    Open();
    IDirectSoundBuffer* b = Make(Pcm(1, 8000, 16), 1000);
    void *r1, *r2;
    DWORD n1, n2;
    ASSERT_EQ(b->Lock(900, 200, &r1, &n1, &r2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(n2, 100u);
    ASSERT_NE(r2, nullptr);
    std::memset(r1, 0x41, n1);
    std::memset(r2, 0x42, n2);
    ASSERT_EQ(b->Unlock(r1, n1, r2, n2), DS_OK);

    ASSERT_EQ(b->Lock(0, 1000, &r1, &n1, &r2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 1000u);
    EXPECT_EQ(r2, nullptr);
    EXPECT_EQ(n2, 0u);
    const auto* bytes = static_cast<const unsigned char*>(r1);
    EXPECT_EQ(bytes[0], 0x42);
    EXPECT_EQ(bytes[99], 0x42);
    EXPECT_EQ(bytes[100], 0);
    EXPECT_EQ(bytes[899], 0);
    EXPECT_EQ(bytes[900], 0x41);
    EXPECT_EQ(bytes[999], 0x41);
    void *again, *again2;
    DWORD m1, m2;
    EXPECT_EQ(b->Lock(0, 10, &again, &m1, &again2, &m2, 0), DSERR_INVALIDCALL) << "one at a time";
    char foreign[4];
    EXPECT_EQ(b->Unlock(foreign, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Unlock(r1, 1001, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Unlock(r1, n1, nullptr, 0), DS_OK);
    EXPECT_EQ(b->Unlock(r1, n1, nullptr, 0), DSERR_INVALIDCALL) << "not locked";

    EXPECT_EQ(b->Lock(0, 1001, &r1, &n1, &r2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(1000, 1, &r1, &n1, &r2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(900, 200, &r1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM)
        << "a range that wraps needs the second region";
}

// Writing happens in place while the output keeps pulling: the mix skips what is locked
// instead of waiting for it, and plays what was written once it is unlocked.
TEST_F(StandIn, TheMixPlaysALockedRangeAsSilenceAndNeverWaitsForIt) {
    Open();
    IDirectSoundBuffer* b = Make(Pcm(1, 44100, 16), 8820); // 0.1 s mono, looping
    FillConstant16(b, 8820, 8192);                         // 0.25
    void *r1, *r2;
    DWORD n1, n2;
    ASSERT_EQ(b->Lock(4410, 4410, &r1, &n1, &r2, &n2, 0), DS_OK); // the second 0.05 s
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    output->Advance(0.1); // the mix runs on the output's thread of the test, lock held
    std::vector<std::int16_t> half(2205, 16384); // 0.5
    std::memcpy(r1, half.data(), n1);
    ASSERT_EQ(b->Unlock(r1, n1, r2, n2), DS_OK);
    output->Advance(0.1);
    const std::vector<float> mixed = output->Mixed();
    ASSERT_EQ(mixed.size(), 2u * 8820);
    EXPECT_EQ(mixed[2 * 2204], 0.25f);
    EXPECT_EQ(mixed[2 * 2205], 0.0f) << "locked: silence";
    EXPECT_EQ(mixed[2 * 4409], 0.0f);
    EXPECT_EQ(mixed[2 * 4410], 0.25f) << "the second pass";
    EXPECT_EQ(mixed[2 * 6615], 0.5f) << "what was written under the lock";
}

TEST_F(StandIn, PlayedOnceItStopsAtTheEndWithItsCursorBackAtZero) {
    Open();
    IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 17640); // 0.1 s
    FillConstant16(b, 17640, 16384);
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    output->Advance(0.05);
    EXPECT_EQ(Status(b), DSBSTATUS_PLAYING);
    EXPECT_EQ(Cursor(b), 8820u);
    output->Advance(0.06);
    EXPECT_EQ(Status(b), 0u);
    EXPECT_EQ(Cursor(b), 0u);

    const std::vector<float> mixed = output->Mixed();
    ASSERT_GE(mixed.size(), 2u * 4851);
    EXPECT_EQ(mixed[0], 0.5f);
    EXPECT_EQ(mixed[2 * 4409 + 1], 0.5f);
    EXPECT_EQ(mixed[2 * 4410], 0.0f) << "nothing after the end";
}

// Every block pulled after the last frame was mixed is empty; none of them may put the end off.
TEST(StandInLatency, PlayedOnceItEndsUnderAnyOutputLatency) {
    for (double latency : {0.0, 0.004, 0.023, 0.05, 0.3}) {
        SCOPED_TRACE(latency);
        ManualOutput* output = InstallManualOutput(latency);
        IDirectSound8* device = nullptr;
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
        WAVEFORMATEX format = Pcm(2, 44100, 16);
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), 0, 8820 * 4, 0, &format, {}}; // 0.2 s
        IDirectSoundBuffer* b = nullptr;
        ASSERT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
        ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
        DWORD status = 0, cursor = 1;
        output->Advance(0.2 + latency - 0.005);
        ASSERT_EQ(b->GetStatus(&status), DS_OK);
        EXPECT_EQ(status, DSBSTATUS_PLAYING) << "5 ms of it still to be heard";
        ASSERT_EQ(b->GetCurrentPosition(&cursor, nullptr), DS_OK);
        EXPECT_GT(cursor, 8820u * 4 - 221 * 4);
        output->Advance(0.01);
        ASSERT_EQ(b->GetStatus(&status), DS_OK);
        EXPECT_EQ(status, 0u) << "stopped once the last frame was heard";
        ASSERT_EQ(b->GetCurrentPosition(&cursor, nullptr), DS_OK);
        EXPECT_EQ(cursor, 0u);
        b->Release();
        device->Release();
    }
    RestoreDefaultOutput();
}

TEST_F(StandIn, LoopingRepeatsTheBufferAndWrapsTheCursor) {
    Open();
    IDirectSoundBuffer* b = Make(Pcm(1, 44100, 16), 8820); // 0.1 s mono
    std::vector<std::int16_t> ramp(4410);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = std::int16_t(i * 7);
    Fill(b, 8820, ramp.data());
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    output->Advance(0.25);
    EXPECT_EQ(Status(b), DSBSTATUS_PLAYING);
    EXPECT_EQ(Cursor(b), 4410u); // 0.05 s into the third pass
    const std::vector<float> mixed = output->Mixed();
    for (size_t i : {size_t(0), size_t(4409), size_t(4410), size_t(9000), size_t(11024)}) {
        EXPECT_EQ(mixed[2 * i], ramp[i % 4410] / 32768.0f) << i;
        EXPECT_EQ(mixed[2 * i + 1], ramp[i % 4410] / 32768.0f) << "mono goes to both sides";
    }
    ASSERT_EQ(b->Stop(), DS_OK);
    EXPECT_EQ(Cursor(b), 4410u) << "Stop keeps the position";
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    output->Advance(0.02);
    EXPECT_EQ(Cursor(b), 4410u + 1764) << "and Play goes on from there";
}

TEST_F(StandIn, TheCursorIsWhatIsHeardAndRunsWithTheClockBetweenCallbacks) {
    Open(0.02); // each block is heard 20 ms after the output pulls it
    IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 352800);
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    output->Advance(0.01);
    EXPECT_EQ(Cursor(b), 0u) << "nothing heard yet";
    output->Advance(0.09);
    EXPECT_EQ(Cursor(b), 3528u * 4) << "0.1 s on the clock, 0.08 s heard";
    DWORD last = Cursor(b);
    for (int step = 0; step < 3; ++step) {
        output->Drift(0.003); // no callback comes
        const DWORD now = Cursor(b);
        EXPECT_GE(now - last, 132u * 4);
        EXPECT_LE(now - last, 133u * 4);
        last = now;
    }
    // A block whose sound comes later than the clock would say: the cursor waits, no step back.
    output->PullHeardAt(output->Now() + 0.05);
    EXPECT_EQ(Cursor(b), last);
    output->Drift(0.01);
    EXPECT_EQ(Cursor(b), last);
}

TEST_F(StandIn, NotificationsFireWhenTheHeardCursorReachesTheirOffsets) {
    Open(0.05);
    IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 352800);
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(b->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)), DS_OK);
    HANDLE e0 = CreateEventA(nullptr, 0, 0, nullptr), e1 = CreateEventA(nullptr, 0, 0, nullptr);
    const DSBPOSITIONNOTIFY positions[2] = {{0, e0}, {176400, e1}};
    ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);

    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_TRUE(Signalled(e0)) << "the start of play reaches offset 0";
    EXPECT_FALSE(Signalled(e0)) << "auto-reset";
    EXPECT_EQ(notify->SetNotificationPositions(2, positions), DSERR_INVALIDCALL);

    output->Advance(1.04);
    EXPECT_FALSE(Signalled(e1)) << "heard at 0.99 s";
    output->Advance(0.02);
    EXPECT_TRUE(Signalled(e1));
    EXPECT_FALSE(Signalled(e0));
    output->Advance(1.0);
    EXPECT_TRUE(Signalled(e0)) << "the wrap";
    EXPECT_FALSE(Signalled(e1));

    // Moving the cursor of a playing buffer onto an offset reaches it; a stopped one waits.
    ASSERT_EQ(b->SetCurrentPosition(176400), DS_OK);
    EXPECT_TRUE(Signalled(e1));
    ASSERT_EQ(b->Stop(), DS_OK);
    ASSERT_EQ(b->SetCurrentPosition(0), DS_OK);
    EXPECT_FALSE(Signalled(e0));
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_TRUE(Signalled(e0));

    ASSERT_EQ(b->Stop(), DS_OK);
    const DSBPOSITIONNOTIFY outside[1] = {{352800, e0}};
    EXPECT_EQ(notify->SetNotificationPositions(1, outside), DSERR_INVALIDPARAM);
    notify->Release();
    CloseHandle(e0);
    CloseHandle(e1);
}

TEST_F(StandIn, VolumeAndPanScaleWhatIsMixed) {
    Open();
    IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 17640);
    FillConstant16(b, 17640, 16384); // 0.5 on both sides
    ASSERT_EQ(b->SetVolume(-600), DS_OK);
    ASSERT_EQ(b->SetPan(10000), DS_OK);
    LONG volume = 1, pan = 0;
    ASSERT_EQ(b->GetVolume(&volume), DS_OK);
    ASSERT_EQ(b->GetPan(&pan), DS_OK);
    EXPECT_EQ(volume, -600);
    EXPECT_EQ(pan, 10000);
    EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetPan(-10001), DSERR_INVALIDPARAM);
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    output->Advance(0.01);
    std::vector<float> mixed = output->Mixed();
    EXPECT_EQ(mixed[0], 0.0f) << "panned hard right: the left side is silent";
    EXPECT_NEAR(mixed[1], 0.5 * 0.501187, 1e-5) << "-6 dB";

    // The primary buffer's volume is the device's master level.
    DSBUFFERDESC desc{
        sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME, 0, 0, nullptr, {}};
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    ASSERT_EQ(primary->SetVolume(-2000), DS_OK);
    primary->Release(); // the level stays
    output->Advance(0.01);
    mixed = output->Mixed();
    EXPECT_NEAR(mixed[2 * 441 + 1], 0.5 * 0.501187 * 0.1, 1e-6);
}

TEST_F(StandIn, EveryWidthTheLoadersGiveMixesAtItsOwnPace) {
    Open();
    IDirectSoundBuffer* u8 = Make(Pcm(1, 22050, 8), 22050); // one second
    std::vector<unsigned char> quarter(22050, 0xA0);        // +0.25
    Fill(u8, 22050, quarter.data());
    IDirectSoundBuffer* s24 = Make(Pcm(2, 44100, 24), 60000);
    std::vector<unsigned char> half(60000);
    for (size_t i = 0; i < half.size(); i += 3) half[i + 2] = 0x40; // 0x400000: +0.5
    Fill(s24, 60000, half.data());
    ASSERT_EQ(u8->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(s24->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    output->Advance(0.1);
    EXPECT_EQ(Cursor(u8), 2205u) << "22050 bytes a second";
    EXPECT_EQ(Cursor(s24), 4410u * 6);
    const std::vector<float> mixed = output->Mixed();
    EXPECT_EQ(mixed[200], 0.75f);
    EXPECT_EQ(mixed[201], 0.75f);
}

TEST_F(StandIn, RefusesWhatItDoesNotPlay) {
    Open();
    DSBUFFERDESC primaryDesc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, {}};
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&primaryDesc, &primary, nullptr), DS_OK);
    WAVEFORMATEX cd = Pcm(2, 44100, 16);
    EXPECT_EQ(primary->SetFormat(&cd), DS_OK);
    WAVEFORMATEX surround = Pcm(6, 44100, 16);
    EXPECT_EQ(primary->SetFormat(&surround), DSERR_BADFORMAT);
    EXPECT_EQ(primary->Play(0, 0, 0), DSERR_INVALIDCALL) << "the device's mix is its own";
    void* notify = nullptr;
    EXPECT_EQ(primary->QueryInterface(IID_IDirectSoundNotify, &notify), E_NOINTERFACE);
    primary->Release();
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);

    struct Case {
        const char* what;
        WAVEFORMATEX format;
        DWORD bytes;
        HRESULT result;
    };
    WAVEFORMATEX oddFrame = cd;
    oddFrame.nBlockAlign = 3;
    const Case cases[] = {
        {"a frame size at odds with the format", oddFrame, 4000, DSERR_BADFORMAT},
        {"32-bit samples, which no loader gives", Pcm(2, 44100, 32), 4000, DSERR_BADFORMAT},
        {"a rate under 100 Hz", Pcm(1, 99, 16), 4000, DSERR_BADFORMAT},
        {"less than a frame", cd, 3, DSERR_INVALIDPARAM},
    };
    for (const Case& c : cases) {
        WAVEFORMATEX format = c.format;
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), 0, c.bytes, 0, &format, {}};
        IDirectSoundBuffer* b = nullptr;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), c.result) << c.what;
        EXPECT_EQ(b, nullptr) << c.what;
    }
    IDirectSoundBuffer* b = Make(cd, 4000);
    DWORD play = 0, write = 0;
    EXPECT_EQ(b->GetCurrentPosition(&play, &write), DSERR_INVALIDPARAM) << "no write cursor";
    void *r1, *r2;
    DWORD n1, n2;
    EXPECT_EQ(b->Lock(0, 4000, &r1, &n1, &r2, &n2, 2), DSERR_INVALIDPARAM) << "no lock flags";
    IDirectSoundNotify* n = nullptr;
    ASSERT_EQ(b->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&n)), DS_OK);
    HANDLE e = CreateEventA(nullptr, 0, 0, nullptr);
    const DSBPOSITIONNOTIFY three[3] = {{0, e}, {1000, e}, {2000, e}};
    EXPECT_EQ(n->SetNotificationPositions(3, three), DSERR_INVALIDPARAM);
    n->Release();
    CloseHandle(e);

    IDirectSound8* second = nullptr;
    const GUID other{1, 2, 3, {4}};
    EXPECT_EQ(DirectSoundCreate8(&other, &second, nullptr), DSERR_NODRIVER);
}

TEST(SilentOutput, IsPacedByTheMonotonicClock) {
    SetAudioOutputFactory([] { return MakeSilentOutput(); });
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    WAVEFORMATEX format = Pcm(2, 44100, 16);
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), 0, 352800, 0, &format, {}};
    IDirectSoundBuffer* b = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    DWORD cursor = 0;
    ASSERT_EQ(b->GetCurrentPosition(&cursor, nullptr), DS_OK);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double heard = cursor / 176400.0;
    EXPECT_LE(heard, wall + 0.001) << "never ahead of the wall clock";
    EXPECT_GE(heard, wall - 0.1);
    b->Release();
    device->Release();
    RestoreDefaultOutput();
}

TEST(SilentOutput, StandsInForAMissingDeviceWithOneLine) {
    if (OpenSdlOutput()) GTEST_SKIP() << "this machine has a sound device";
    testing::internal::CaptureStderr();
    const std::unique_ptr<AudioOutput> output = OpenAudioOutput();
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("the show plays without sound"), std::string::npos) << said;
}
