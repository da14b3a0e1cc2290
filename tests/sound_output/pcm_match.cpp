#include "tests/sound_output/pcm_match.h"

#include <algorithm>
#include <cstdlib>

namespace {

size_t firstAudible(const std::vector<std::int16_t>& pcm) {
    const auto it = std::find_if(pcm.begin(), pcm.end(), [](std::int16_t v) { return v != 0; });
    return size_t(it - pcm.begin()) / 2;
}

} // namespace

PcmMatch MatchPcm(const std::vector<std::int16_t>& piece, const std::vector<std::int16_t>& output,
                  int tolerance) {
    PcmMatch m;
    const size_t pieceFrames = piece.size() / 2;
    const size_t outputFrames = output.size() / 2;
    const size_t pieceStart = firstAudible(piece);
    const size_t outputStart = firstAudible(output);
    if (pieceStart >= pieceFrames || outputStart >= outputFrames || outputStart < pieceStart)
        return m;
    m.found = true;
    m.offset = outputStart - pieceStart;
    m.comparable = std::min(pieceFrames, outputFrames - m.offset);
    for (; m.matched < m.comparable; ++m.matched) {
        const size_t p = 2 * m.matched;
        const size_t o = 2 * (m.offset + m.matched);
        const int worst =
            std::max(std::abs(output[o] - piece[p]), std::abs(output[o + 1] - piece[p + 1]));
        if (worst > tolerance) break;
        m.worstDifference = std::max(m.worstDifference, worst);
    }
    for (size_t f = m.offset + pieceFrames; f < outputFrames; ++f)
        if (output[2 * f] != 0 || output[2 * f + 1] != 0) ++m.loudAfterEnd;
    return m;
}
