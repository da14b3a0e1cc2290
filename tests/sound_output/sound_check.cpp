// The checks of the sound-card tests, one subcommand each; status 0 pass, 1 fail, 77 skip.
//   sound_check driver NAME                       is SDL's audio driver NAME built in?
//   sound_check timecode-wave FILE SECONDS        writes timecode music
//   sound_check match-pcm PIECE OUTPUT            the piece, decoded, against what SDL wrote
//   sound_check clock-pace LOG                    the show's clock against real time, late on
//   sound_check clock-steady LOG PAUSES           the show's clock against real time, all along,
//                                                 through PAUSES pauses in the drawing
//   sound_check match-clock LOG POSITIONS RECORDING FRAMES [lost|replays]
//                                                 the show's clock against the sound server,
//                                                 which with "lost" went away during the show,
//                                                 and with "replays" may play a quantum again
// PIECE, OUTPUT and RECORDING are raw 16-bit little-endian stereo.
#include "tests/sound_output/clock_match.h"
#include "tests/sound_output/pcm_match.h"
#include "tests/sound_output/timecode.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr double kEndShare = 0.986539; // the show ends at this share of its music
constexpr int kToleranceLsb = 2;
constexpr double kClockToleranceMs = 30;
// At the exit the last block may have been mixed but not yet written out.
constexpr size_t kBlockSlack = 1024;
constexpr size_t kFewestComparisons = 10;
// SDL's own pace for a lost device, sleeps of whole milliseconds, was 16% slow here.
constexpr double kPaceTolerance = 0.05;
constexpr double kFewestFrameMs = 20; // the silent output's cursor moves in 10 ms blocks
constexpr std::uint32_t kReplayFrames = 4096;
constexpr double kPauseMs = 2500; // no frame for this long: the show was kept from drawing

bool readPcm(const char* path, std::vector<std::int16_t>* pcm) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    pcm->resize(bytes.size() / 2);
    std::memcpy(pcm->data(), bytes.data(), pcm->size() * 2);
    return true;
}

int driver(const char* name) {
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
        if (std::strcmp(SDL_GetAudioDriver(i), name) == 0) return 0;
    std::printf("SDL here was built without the '%s' audio driver\n", name);
    return 77;
}

int timecodeWave(const char* path, const char* seconds) {
    const auto frames = std::uint32_t(std::lround(std::atof(seconds) * kTimecodeRate));
    if (frames == 0 || !WriteTimecodeWave(path, frames)) {
        std::printf("cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int matchPcm(const char* piecePath, const char* outputPath) {
    std::vector<std::int16_t> piece, output;
    if (!readPcm(piecePath, &piece) || !readPcm(outputPath, &output)) {
        std::printf("cannot read %s or %s\n", piecePath, outputPath);
        return 1;
    }
    const size_t frames = piece.size() / 2;
    const auto required = size_t(std::floor(kEndShare * double(frames))) - kBlockSlack;
    const PcmMatch m = MatchPcm(piece, output, kToleranceLsb);
    if (!m.found) {
        std::printf("no audible sound in %zu frames of output\n", output.size() / 2);
        return 1;
    }
    std::printf("piece frame 0 at output frame %zu; %zu of %zu frames (%.4f of the piece) equal "
                "within %d LSB, worst %d\n",
                m.offset, m.matched, frames, double(m.matched) / double(frames), kToleranceLsb,
                m.worstDifference);
    bool ok = true;
    if (m.matched < m.comparable) {
        std::printf("FAIL: output departs from the piece at piece frame %zu (%.3f s)\n", m.matched,
                    double(m.matched) / kTimecodeRate);
        ok = false;
    }
    if (m.matched < required) {
        std::printf("FAIL: the output ends at piece frame %zu, before the show's end at %zu\n",
                    m.matched, required + kBlockSlack);
        ok = false;
    }
    if (m.loudAfterEnd > 0) {
        std::printf("FAIL: %zu frames of sound after the piece's end\n", m.loudAfterEnd);
        ok = false;
    }
    return ok ? 0 : 1;
}

template <typename Entry, typename Parse>
std::vector<Entry> readLines(const char* path, Parse parse) {
    std::vector<Entry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        Entry e;
        if (parse(line.c_str(), &e)) entries.push_back(e);
    }
    return entries;
}

std::vector<ShowClockEntry> readShowLog(const char* path) {
    return readLines<ShowClockEntry>(path, [](const char* l, ShowClockEntry* e) {
        long long at;
        unsigned long ms;
        if (std::sscanf(l, "%lld %lu", &at, &ms) != 2) return false;
        *e = {at, std::uint32_t(ms)};
        return true;
    });
}

// Over the later half of the run: after the device has gone, in a run that loses it. A least
// squares slope, so that one frame drawn while the machine stalled does not set the pace.
int clockPace(const char* logPath) {
    const auto show = readShowLog(logPath);
    if (show.size() < 4 || show.back().playMs == 0) {
        std::printf("FAIL: the show logged too few frames with its clock running\n");
        return 1;
    }
    const std::int64_t middle = show.front().at + (show.back().at - show.front().at) / 2;
    // A start slowed down by a busy machine may leave the clock standing at 0 until then.
    const auto from = std::find_if(show.begin(), show.end(), [middle](const ShowClockEntry& e) {
        return e.at >= middle && e.playMs > 0;
    });
    const auto n = double(show.end() - from);
    double sumT = 0, sumP = 0, sumTT = 0, sumTP = 0;
    for (auto e = from; e != show.end(); ++e) {
        const double t = double(e->at - from->at) / 1e6;
        sumT += t;
        sumP += e->playMs;
        sumTT += t * t;
        sumTP += t * e->playMs;
    }
    const double pace = (n * sumTP - sumT * sumP) / (n * sumTT - sumT * sumT);
    std::printf("over its last %.0f ms (%.0f frames) the show's clock ran at %.4f of real time\n",
                double(show.back().at - from->at) / 1e6, n, pace);
    if (std::abs(pace - 1) <= kPaceTolerance) return 0;
    std::printf("FAIL: that is off real time by more than %.0f%%\n", kPaceTolerance * 100);
    return 1;
}

// With no sound device the music runs with the monotonic clock, however long the show was not
// drawing (a hidden window, a stopped process): play position minus real time must stay put
// within one frame. The frame right after a pause in the log may still read the time before
// it: the output's thread and the frame loop resume together. Each stretch between pauses
// counts by its median, so a frame logged late on a busy machine does not, time lost does.
int clockSteady(const char* logPath, const char* pausesText) {
    const auto show = readShowLog(logPath);
    std::vector<double> steps, stretch, medians;
    const auto closeStretch = [&] {
        if (stretch.empty()) return;
        std::nth_element(stretch.begin(), stretch.begin() + stretch.size() / 2, stretch.end());
        medians.push_back(stretch[stretch.size() / 2]);
        stretch.clear();
    };
    int pauses = 0;
    size_t running = 0;
    for (size_t i = 1; i < show.size(); ++i) {
        const double stepMs = double(show[i].at - show[i - 1].at) / 1e6;
        if (stepMs > kPauseMs) {
            std::printf("no frame for %.0f ms from %u ms of the music\n", stepMs,
                        show[i - 1].playMs);
            ++pauses;
            closeStretch();
        } else if (show[i].playMs > 0) {
            steps.push_back(stepMs);
            stretch.push_back(show[i].playMs - double(show[i].at - show.front().at) / 1e6);
            ++running;
        }
    }
    closeStretch();
    if (pauses < std::atoi(pausesText) || running < 10) {
        std::printf("FAIL: %d pauses in the drawing, %zu frames with the clock running\n", pauses,
                    running);
        return 1;
    }
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    const double frameMs = std::max(steps[steps.size() / 2], kFewestFrameMs);
    const auto [low, high] = std::minmax_element(medians.begin(), medians.end());
    std::printf("a frame every %.1f ms (median); play position minus real time, stretch by "
                "stretch, spans %.1f ms\n",
                frameMs, *high - *low);
    return *high - *low <= frameMs ? 0 : 1;
}

int matchClock(const char* logPath, const char* positionsPath, const char* recordingPath,
               const char* framesText, bool lost, bool replays) {
    const auto frames = std::uint32_t(std::strtoul(framesText, nullptr, 10));
    const auto show = readShowLog(logPath);
    const auto server =
        readLines<ServerPosition>(positionsPath, [](const char* l, ServerPosition* p) {
            long long at;
            double frame;
            if (std::sscanf(l, "%lld %lf", &at, &frame) != 2) return false;
            *p = {at, frame};
            return true;
        });
    std::vector<std::int16_t> pcm;
    if (!readPcm(recordingPath, &pcm)) {
        std::printf("cannot read %s\n", recordingPath);
        return 1;
    }
    std::vector<StereoFrame> recording(pcm.size() / 2);
    for (size_t i = 0; i < recording.size(); ++i) recording[i] = {pcm[2 * i], pcm[2 * i + 1]};

    const Playback p = ReadPlayback(recording, frames);
    // Wine's DirectSound moves its cursor in 10 ms steps, and counts as played what it has
    // handed to the server, which holds up to KV_CLOCK_LEAD_MS and more after an underrun:
    // there the show must lead by at most that and the tolerance on the whole, and follow the
    // server within the tolerance of its own lead.
    const char* tolerance = std::getenv("KV_CLOCK_TOLERANCE_MS");
    const double toleranceMs = tolerance ? std::atof(tolerance) : kClockToleranceMs;
    const char* maxLead = std::getenv("KV_CLOCK_LEAD_MS");
    double leadMs = 0;
    ClockAgreement a = CompareClocks(show, server, recording, frames);
    if (maxLead && a.steady.compared > 0) {
        leadMs = std::max(0.0, a.steady.meanMs);
        std::vector<ShowClockEntry> behind = show;
        for (ShowClockEntry& e : behind) e.playMs -= std::min(e.playMs, std::uint32_t(leadMs));
        std::printf("the show leads the server by %.1f ms on the whole, up to %s ms expected\n",
                    a.steady.meanMs, maxLead);
        if (a.steady.meanMs < -toleranceMs || a.steady.meanMs > std::atof(maxLead) + toleranceMs) {
            std::printf("FAIL: that lead is not what the server holds\n");
            return 1;
        }
        a = CompareClocks(behind, server, recording, frames);
    }
    const double lengthMs = frames * 1000.0 / kTimecodeRate;
    std::printf("server played the piece from frame %u to frame %u of %u (%.4f of it), with %zu "
                "silent and %u skipped frames in dropouts; %zu frames logged, %zu server "
                "positions\n",
                p.first, p.last, frames, double(p.last) / frames, p.silentFrames, p.skipped,
                show.size(), server.size());
    const auto print = [](const char* where, const ClockOffsets& o) {
        std::printf("show clock minus server position %s, over %zu frames: mean %+.2f ms, worst "
                    "%.2f ms (at %.0f ms)\n",
                    where, o.compared, o.meanMs, o.worstMs, o.worstAtMs);
    };
    print("at every frame", a.all);
    print("where the server played the piece and answered on time", a.steady);
    bool ok = true;
    // A server held stopped may play again what it had in hand when it resumes.
    // PipeWire, hard pressed by a busy machine, was seen to play up to 2304 frames again.
    if (p.backwards > (replays ? kReplayFrames : 0) && !lost) {
        std::printf("FAIL: the server played %u frames again or out of order\n", p.backwards);
        ok = false;
    }
    const double leadFrames = leadMs * kTimecodeRate / 1000;
    if (!lost && p.last + kBlockSlack + leadFrames < std::floor(kEndShare * frames)) {
        std::printf("FAIL: the server stopped at %.3f s, before the show's end\n",
                    p.last / double(kTimecodeRate));
        ok = false;
    }
    if (a.steady.compared < kFewestComparisons) {
        std::printf("FAIL: only %zu frames could be compared\n", a.steady.compared);
        ok = false;
    }
    if (a.steady.worstMs > toleranceMs) {
        std::printf("FAIL: the show's clock strays %.2f ms from the server's\n", a.steady.worstMs);
        ok = false;
    }
    if (show.size() >= 2)
        std::printf("the show's last two frames were at %u and %u ms of the music, its end at "
                    "%.1f ms\n",
                    show[show.size() - 2].playMs, show.back().playMs,
                    kEndShare * std::floor(lengthMs));
    // The show counts its length in whole milliseconds.
    if (show.empty() || show.back().playMs + 1 < kEndShare * std::floor(lengthMs)) {
        std::printf("FAIL: the last frame logged is not past the show's end\n");
        ok = false;
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "driver" && argc == 3) return driver(argv[2]);
    if (command == "timecode-wave" && argc == 4) return timecodeWave(argv[2], argv[3]);
    if (command == "match-pcm" && argc == 4) return matchPcm(argv[2], argv[3]);
    if (command == "clock-pace" && argc == 3) return clockPace(argv[2]);
    if (command == "clock-steady" && argc == 4) return clockSteady(argv[2], argv[3]);
    const bool lost = argc == 7 && std::strcmp(argv[6], "lost") == 0;
    const bool replays = argc == 7 && std::strcmp(argv[6], "replays") == 0;
    if (command == "match-clock" && (argc == 6 || lost || replays))
        return matchClock(argv[2], argv[3], argv[4], argv[5], lost, replays);
    std::fprintf(stderr, "usage: see the head of tests/sound_output/sound_check.cpp\n");
    return 2;
}
