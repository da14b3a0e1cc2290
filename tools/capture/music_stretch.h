// The music of a stretch of video, decoded by the show's own loader (so a chained Ogg file plays
// through all its links, as in the show) into an in-memory file that ffmpeg reads as raw PCM.
#pragma once

#include <string>

class MusicStretch {
  public:
    MusicStretch() = default;
    MusicStretch(const MusicStretch&) = delete;
    MusicStretch& operator=(const MusicStretch&) = delete;
    ~MusicStretch();

    // The samples from start for duration seconds, or as many as the music has.
    bool decode(const std::string& path, double start, double duration, std::string* error);

    int fd() const { return fd_; }
    // ffmpeg's input options for the PCM: format, rate and channels.
    std::string format() const { return format_; }
    int rate() const { return rate_; }
    int channels() const { return channels_; }

  private:
    int fd_ = -1;
    std::string format_;
    int rate_ = 0, channels_ = 0;
};
