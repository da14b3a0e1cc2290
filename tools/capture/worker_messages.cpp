#include "tools/capture/worker_messages.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

constexpr size_t kLongestLine = 8192;

// Doubles as text that reads back to the same bits.
std::string exact(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

bool readNumber(std::istringstream& in, double& v) {
    std::string word;
    if (!(in >> word)) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(word.c_str(), &end);
    return *end == '\0' && errno == 0;
}

bool readCount(std::istringstream& in, int64_t& v) {
    std::string word;
    if (!(in >> word)) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtoll(word.c_str(), &end, 10);
    return *end == '\0' && errno == 0 && v >= 0;
}

} // namespace

std::string stretchMessage(const Stretch& s) {
    return "stretch " + std::to_string(s.index) + " " + std::to_string(s.first) + " " +
           std::to_string(s.end) + " " + s.path + "\n";
}

bool parseStretchMessage(const std::string& line, Stretch& s) {
    std::istringstream in(line);
    std::string word;
    int64_t index = 0;
    if (!(in >> word) || word != "stretch" || !readCount(in, index) || index > 1000000 ||
        !readCount(in, s.first) || !readCount(in, s.end) || s.end <= s.first)
        return false;
    s.index = int(index);
    in >> std::ws;
    std::getline(in, s.path);
    return !s.path.empty();
}

std::string frameReport() {
    return "frame\n";
}

std::string doneReport(int index) {
    return "done " + std::to_string(index) + "\n";
}

std::string timesReport(const FrameTimes& f, const EncoderTimes& e) {
    std::string text = "times";
    for (int s = 0; s < 5; ++s)
        text += " " + std::to_string(f.frames[s]) + " " + exact(f.drawing[s]) + " " +
                exact(f.readBack[s]) + " " + exact(e.waiting[s]);
    return text + " " + exact(f.skipped) + " " + std::to_string(f.skippedFrames) + " " +
           exact(e.cpuSeconds) + "\n";
}

std::string failedReport(const std::string& why) {
    std::string text = "failed " + why.substr(0, kLongestLine / 2);
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text + "\n";
}

Report parseReport(const std::string& line) {
    Report r;
    std::istringstream in(line);
    std::string word;
    if (!(in >> word)) return r;
    bool ok = false;
    if (word == "failed") {
        r.kind = Report::Failed;
        in >> std::ws;
        std::getline(in, r.text);
        return r;
    }
    if (word == "frame") {
        r.kind = Report::Frame;
        ok = true;
    } else if (word == "done") {
        int64_t index = 0;
        ok = readCount(in, index) && index <= 1000000;
        r.index = int(index);
        r.kind = Report::Done;
    } else if (word == "times") {
        ok = true;
        for (int s = 0; s < 5 && ok; ++s)
            ok = readCount(in, r.frames.frames[s]) && readNumber(in, r.frames.drawing[s]) &&
                 readNumber(in, r.frames.readBack[s]) && readNumber(in, r.encoder.waiting[s]);
        ok = ok && readNumber(in, r.frames.skipped) && readCount(in, r.frames.skippedFrames) &&
             readNumber(in, r.encoder.cpuSeconds);
        r.encoder.used = true;
        r.kind = Report::Times;
    }
    if (!ok || (in >> word)) r.kind = Report::Bad;
    return r;
}

void addTimes(FrameTimes& total, const FrameTimes& more) {
    for (int s = 0; s < 5; ++s) {
        total.frames[s] += more.frames[s];
        total.drawing[s] += more.drawing[s];
        total.readBack[s] += more.readBack[s];
    }
    total.skipped += more.skipped;
    total.skippedFrames += more.skippedFrames;
}

void addTimes(EncoderTimes& total, const EncoderTimes& more) {
    for (int s = 0; s < 5; ++s) total.waiting[s] += more.waiting[s];
    total.cpuSeconds += more.cpuSeconds;
    total.used = total.used || more.used;
}

void LineBuffer::add(const char* bytes, size_t n) {
    pending_.append(bytes, n);
}

bool LineBuffer::next(std::string& line) {
    const size_t newline = pending_.find('\n');
    if (newline == std::string::npos) {
        if (pending_.size() > kLongestLine) bad_ = true;
        return false;
    }
    if (newline > kLongestLine) bad_ = true;
    line.assign(pending_, 0, newline);
    pending_.erase(0, newline + 1);
    return !bad_;
}
