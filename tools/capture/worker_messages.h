// What a parallel capture and its workers tell each other: one line a message, through pipes.
#pragma once

#include "tools/capture/capture_context.h"

#include <cstdint>
#include <string>

// Parent to worker: draw frames first..end-1 and encode them to path.
struct Stretch {
    int index = 0;
    int64_t first = 0, end = 0;
    std::string path;
};
std::string stretchMessage(const Stretch& s);
bool parseStretchMessage(const std::string& line, Stretch& s);

// Worker to parent: a frame drawn, a stretch's part file complete, and at the end where its
// time went; or why it failed, for the parent to say once for all.
struct Report {
    enum Kind { Frame, Done, Times, Failed, Bad } kind = Bad;
    int index = 0;    // Done
    std::string text; // Failed
    FrameTimes frames;
    EncoderTimes encoder;
};
std::string frameReport();
std::string doneReport(int index);
std::string timesReport(const FrameTimes& frames, const EncoderTimes& encoder);
std::string failedReport(const std::string& why);
Report parseReport(const std::string& line);

// Adds a worker's times to a total.
void addTimes(FrameTimes& total, const FrameTimes& more);
void addTimes(EncoderTimes& total, const EncoderTimes& more);

// Bytes from a pipe, cut into lines (without their newline). A line longer than any message
// makes the buffer bad: what sent it is not speaking this protocol.
class LineBuffer {
  public:
    void add(const char* bytes, size_t n);
    bool next(std::string& line);
    bool bad() const { return bad_; }
    bool empty() const { return pending_.empty(); }

  private:
    std::string pending_;
    bool bad_ = false;
};
