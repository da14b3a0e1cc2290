// ffmpeg, fed raw frames through a pipe, writing H.264 in MP4 with the music muxed in; or
// writing one stretch of a parallel capture without music, or joining such stretches.
#pragma once

#include "tools/offscreen/frame_clock.h"
#include "tools/capture/options.h"

#include <string>
#include <sys/types.h>
#include <vector>

class MusicStretch;

struct EncoderSettings {
    FrameRate rate;
    const MusicStretch* music = nullptr; // the music of the stretch, muxed in unless a part
    bool lossless = false;               // RGB H.264 at qp 0: decodes to exactly the frames sent
    std::string preset = kDefaultPreset; // x264's speed for the lossy default
    std::string output;                  // written as MP4 whatever its name, unless a part
    // A stretch of a parallel capture: the video alone, as MPEG-TS.
    bool part = false;
    // Joins the parts this concat list names (in order, without re-encoding) instead of
    // taking frames, giving frame k the time k / rate as a single encode would.
    std::string joinList;
};

// The full path of an executable found on PATH, or "" if there is none.
std::string findOnPath(const std::string& name);

class Encoder {
  public:
    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ~Encoder();

    bool start(const std::string& ffmpeg, const EncoderSettings& settings, std::string* error);
    // One RGB frame, top row first.
    bool write(const std::vector<unsigned char>& rgb, std::string* error);
    // Closes the pipe and waits for ffmpeg; false with its last words, on one line, if it failed.
    bool finish(std::string* error);
    // CPU time ffmpeg used, known after finish.
    double cpuSeconds() const { return cpuSeconds_; }

  private:
    std::string failure(const std::string& what, int status) const;
    pid_t pid_ = -1;
    int pipe_ = -1;
    int log_ = -1; // ffmpeg's stderr, in memory: no file to leave behind, no disk to fill
    double cpuSeconds_ = 0;
};
