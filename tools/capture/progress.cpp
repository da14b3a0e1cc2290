#include "tools/capture/progress.h"

#include "tools/offscreen/wall_clock.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

std::string clockText(double seconds) {
    const long s = std::lround(seconds);
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

} // namespace

std::string progressLine(const std::string& what, int64_t done, int64_t total, double seconds) {
    constexpr int kWidth = 30;
    const double share = total > 0 ? double(done) / double(total) : 1;
    const int filled = int(share * kWidth);
    std::string bar(size_t(filled), '#');
    bar.resize(kWidth, '.');
    char text[160];
    const double rate = seconds > 0 ? double(done) / seconds : 0;
    const std::string left = rate > 0 ? clockText(double(total - done) / rate) + " left" : "";
    std::snprintf(text, sizeof text, "%s [%s] %lld/%lld frames  %.1f fps  %s", what.c_str(),
                  bar.c_str(), static_cast<long long>(done), static_cast<long long>(total), rate,
                  left.c_str());
    return text;
}

Progress::Progress(std::string what, int64_t total, bool enabled)
    : what_(std::move(what)), total_(total), enabled_(enabled), terminal_(isatty(2) == 1),
      start_(wallSeconds()) {}

void Progress::update(int64_t done) {
    if (!enabled_) return;
    const double t = wallSeconds();
    if (terminal_) {
        if (done < total_ && t - lastShown_ < 0.25) return;
        lastShown_ = t;
        std::fprintf(stderr, "\r%s\033[K", progressLine(what_, done, total_, t - start_).c_str());
    } else {
        const int64_t tenth = total_ > 0 ? done * 10 / total_ : 10;
        if (tenth == lastTenth_) return;
        lastTenth_ = tenth;
        std::fprintf(stderr, "%s\n", progressLine(what_, done, total_, t - start_).c_str());
    }
}

void Progress::finish() {
    if (!enabled_ || finished_) return;
    finished_ = true;
    update(total_);
    if (terminal_) std::fputc('\n', stderr);
}
