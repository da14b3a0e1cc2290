#include "mixdown.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFadeStart = 152.0; // the last phrase dies away before the end of the file
constexpr double kFadeEnd = 159.5;
// Vorbis smears transients a little above the input's peak: leave about 2 dB for that.
constexpr float kPeak = 0.8f;

// Bass and harmony dip under every kick and swell back: the pump of the groove.
std::vector<float> sideChain(const std::vector<double>& kicks) {
    std::vector<float> gain(kFrames, 1.0f);
    for (size_t k = 0; k < kicks.size(); ++k) {
        const size_t begin = size_t(std::llround(kicks[k] * kRate));
        const size_t end = k + 1 < kicks.size() ? size_t(std::llround(kicks[k + 1] * kRate))
                                                : std::min(kFrames, begin + size_t(kRate));
        for (size_t i = begin; i < end && i < kFrames; ++i)
            gain[i] = float(1.0 - 0.5 * std::exp(-double(i - begin) / kRate / 0.11));
    }
    return gain;
}

float fade(size_t i) {
    const double t = double(i) / kRate;
    if (t <= kFadeStart) return 1.0f;
    if (t >= kFadeEnd) return 0.0f;
    const double u = (t - kFadeStart) / (kFadeEnd - kFadeStart);
    return float(0.5 + 0.5 * std::cos(3.14159265358979323846 * u));
}

} // namespace

Track Mixdown(Stems& stems) {
    PingPongDelay(stems.lead, 3 * kBeat / 4, 0.38f, 0.45f);
    const std::vector<float> duck = sideChain(stems.kicks);
    Track mix(kFrames);
    float peak = 0;
    for (size_t i = 0; i < kFrames; ++i) {
        const float g = fade(i);
        const float l = stems.drums.left[i] +
                        duck[i] * (stems.bass.left[i] + stems.harmony.left[i]) + stems.lead.left[i];
        const float r = stems.drums.right[i] +
                        duck[i] * (stems.bass.right[i] + stems.harmony.right[i]) +
                        stems.lead.right[i];
        mix.left[i] = g * l;
        mix.right[i] = g * r;
        peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    }
    const float scale = peak > 0 ? kPeak / peak : 1.0f;
    for (size_t i = 0; i < kFrames; ++i) {
        mix.left[i] *= scale;
        mix.right[i] *= scale;
    }
    return mix;
}
