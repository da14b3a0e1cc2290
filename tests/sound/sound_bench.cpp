// Figures of the sound engine, not tests: run from the build directory,
//   tests/sound/sound_bench [--benchmark_filter=...]
// Decode: one second of Data/tech.ogg. Frames: 100 frames at 60 per second, counting distinct
// show-clock values. Drift: the show clock against the wall clock over 60 s.
#include "show/data_files.h"
#include "sound/cdsound.h"
#include "sound/dsound_device.h"
#include "sound/ogg_vorbis.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
HWND const kWindow = reinterpret_cast<HWND>(0x1);

void DecodeOneSecond(benchmark::State& state) {
    COggVorbis ogg;
    if (ogg.Open(data_files::kMusic) < 0 || !ogg.AllocBuffer(176400)) {
        state.SkipWithError("no Data/tech.ogg");
        return;
    }
    for (auto _ : state) {
        const int got = ogg.Read(0);
        benchmark::DoNotOptimize(got);
        if (got < 176400) {
            state.PauseTiming();
            ogg.Seek(0);
            state.ResumeTiming();
        }
    }
    state.SetLabel("one second of tech.ogg per iteration");
}
BENCHMARK(DecodeOneSecond)->Unit(benchmark::kMillisecond);

// The show's clock as the shell forms it, from a playing CdSound.
struct Show {
    Show() {
        ok = InitDirectSound(kWindow) && sound->Open(data_files::kMusic);
        total = sound->GetTotalTime();
        if (ok) sound->Play();
    }
    ~Show() {
        sound.reset(); // before the device it plays on
        ReleaseDirectSound();
    }
    DWORD Ms() {
        DWORD ms = 0;
        sound->GetPlayTime(&ms);
        return ms;
    }
    float T() { return float(static_cast<long double>(Ms()) / total); }
    bool ok = false;
    double total = 0;
    std::unique_ptr<CdSound> sound = std::make_unique<CdSound>();
};

void DistinctClockValues(benchmark::State& state) {
    for (auto _ : state) {
        Show show;
        if (!show.ok) {
            state.SkipWithError("no sound");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // past the start
        std::set<float> seen;
        const auto start = Clock::now();
        auto previous = start;
        double shortestGap = 1e9;
        for (int frame = 0; frame < 100; ++frame) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(16667 * frame));
            const auto now = Clock::now();
            if (frame > 0)
                shortestGap = std::min(
                    shortestGap, std::chrono::duration<double, std::milli>(now - previous).count());
            previous = now;
            seen.insert(show.T());
        }
        state.counters["distinct_t"] = double(seen.size());
        // A frame drawn late is followed at once by the next: the clock cannot tell them apart.
        state.counters["shortest_frame_gap_ms"] = shortestGap;
    }
}
BENCHMARK(DistinctClockValues)->Iterations(1)->Unit(benchmark::kMillisecond);

void ClockDrift60s(benchmark::State& state) {
    for (auto _ : state) {
        Show show;
        if (!show.ok) {
            state.SkipWithError("no sound");
            return;
        }
        while (show.Ms() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto wall0 = Clock::now();
        const double ms0 = show.Ms();
        double worst = 0, drift = 0;
        // Asked every frame, as the shell does: wraps are counted once per pass.
        for (int frame = 1; frame <= 3600; ++frame) {
            std::this_thread::sleep_until(wall0 + std::chrono::microseconds(16667 * frame));
            const double wall =
                std::chrono::duration<double, std::milli>(Clock::now() - wall0).count();
            drift = (show.Ms() - ms0) - wall;
            worst = std::max(worst, std::fabs(drift));
        }
        state.counters["drift_ms"] = drift;
        state.counters["worst_ms"] = worst;
    }
}
BENCHMARK(ClockDrift60s)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
