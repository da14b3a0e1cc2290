// The show drawn frame after frame on a virtual clock, as a run at a fixed rate would draw it.
#pragma once

#include "tools/offscreen/frame_clock.h"

#include <cstdint>
#include <vector>

// Where the time of one kind of work went, per scene (index 0 for frames of no scene).
struct FrameTimes {
    int64_t frames[5] = {};
    double drawing[5] = {};  // drawShow up to a finished picture
    double readBack[5] = {}; // glReadPixels and the flip
    double skipped = 0;      // frames drawn only to carry the show's state forward
    int64_t skippedFrames = 0;
};

class ShowRun {
  public:
    ShowRun(FrameRate rate, double totalMs) : rate_(rate), totalMs_(totalMs) {}

    // Brings the show through every frame before k not yet drawn, as stepTowards does, without
    // keeping their pictures: the show then stands where a run would have left it.
    template <typename Tick> void skipTo(int64_t k, Tick tick) {
        while (next_ < k) {
            stepAhead(k);
            tick(next_);
        }
    }
    // Draws frame k (the next one) and reads it back.
    void drawFrame(int64_t k, std::vector<unsigned char>& rgb);
    // Draws at a show clock between frames, after the frames before it; does not advance.
    void drawAt(float t, std::vector<unsigned char>& rgb);

    const FrameTimes& times() const { return times_; }
    // The first frame not drawn yet.
    int64_t next() const { return next_; }

  private:
    void stepAhead(int64_t target);
    void timed(float t, std::vector<unsigned char>& rgb);
    FrameRate rate_;
    double totalMs_;
    int64_t next_ = 0;
    FrameTimes times_;
};
