#include "tests/sound_output/clock_match.h"

#include <algorithm>
#include <cmath>
#include <optional>

Playback ReadPlayback(const std::vector<StereoFrame>& recording, std::uint32_t pieceFrames) {
    Playback p;
    bool begun = false;
    size_t silentRun = 0;
    for (const StereoFrame& frame : recording) {
        const auto index = TimecodeIndex(frame, pieceFrames);
        if (!index) {
            silentRun += begun ? 1 : 0;
            continue;
        }
        if (!begun) {
            p.first = *index;
        } else if (*index <= p.last) {
            ++p.backwards;
        } else {
            p.skipped += *index - p.last - 1;
            p.silentFrames += silentRun;
        }
        silentRun = 0;
        if (!begun || *index > p.last) p.last = *index;
        begun = true;
    }
    return p;
}

namespace {

// Server positions further apart than this are too stale to interpolate between.
constexpr std::int64_t kFreshNs = 50000000;
// A server running dry drops and delays frames on the way in and out of a dropout: the piece
// counts as playing only this many frames (50 ms) clear of one.
constexpr size_t kSteadyMargin = kTimecodeRate / 20;

struct OffsetSum {
    ClockOffsets offsets;
    double sum = 0;
    void Add(double offsetMs, double playMs) {
        sum += offsetMs;
        offsets.meanMs = sum / double(++offsets.compared);
        if (std::abs(offsetMs) > offsets.worstMs) {
            offsets.worstMs = std::abs(offsetMs);
            offsets.worstAtMs = playMs;
        }
    }
};

} // namespace

ClockAgreement CompareClocks(const std::vector<ShowClockEntry>& show,
                             const std::vector<ServerPosition>& server,
                             const std::vector<StereoFrame>& recording, std::uint32_t pieceFrames) {
    // Piece frames played when each recorded frame begins; held through frames without
    // timecode.
    std::vector<double> playedAt(recording.size());
    std::vector<size_t> silentBefore(recording.size() + 1); // frames without timecode
    double held = 0;
    for (size_t i = 0; i < recording.size(); ++i) {
        const auto index = TimecodeIndex(recording[i], pieceFrames);
        playedAt[i] = index ? *index : held;
        silentBefore[i + 1] = silentBefore[i] + (index ? 0 : 1);
        if (index) held = *index + 1.0;
    }
    const auto playingAround = [&](size_t frame) {
        const size_t from = frame > kSteadyMargin ? frame - kSteadyMargin : 0;
        const size_t to = std::min(recording.size(), frame + kSteadyMargin + 1);
        return silentBefore[to] == silentBefore[from];
    };

    OffsetSum all, steady;
    for (const ShowClockEntry& e : show) {
        const auto after =
            std::lower_bound(server.begin(), server.end(), e.at,
                             [](const ServerPosition& p, std::int64_t at) { return p.at < at; });
        if (after == server.begin() || after == server.end()) continue;
        const ServerPosition& before = *(after - 1);
        const double share = double(e.at - before.at) / double(after->at - before.at);
        const double frame =
            before.recordedFrame + share * (after->recordedFrame - before.recordedFrame);
        if (frame < 0 || frame >= double(recording.size())) continue;
        const auto whole = size_t(frame);
        const double position = playedAt[whole];
        if (e.playMs == 0 && position == 0) continue;
        const double offsetMs = e.playMs - position * 1000.0 / kTimecodeRate;
        all.Add(offsetMs, e.playMs);
        if (playingAround(whole) && after->at - before.at <= kFreshNs)
            steady.Add(offsetMs, e.playMs);
    }
    return {all.offsets, steady.offsets};
}
