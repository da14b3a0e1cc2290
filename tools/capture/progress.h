// A progress bar on stderr: frames done, frames per second, time left.
#pragma once

#include <cstdint>
#include <string>

// The bar's text for a moment of the work; "" for the time left until there is a rate.
std::string progressLine(const std::string& what, int64_t done, int64_t total, double seconds);

class Progress {
  public:
    // Redrawn in place on a terminal; elsewhere (a log, a test) one line a tenth of the way.
    Progress(std::string what, int64_t total, bool enabled);
    void update(int64_t done);
    void finish();

  private:
    std::string what_;
    int64_t total_;
    bool enabled_, terminal_;
    double start_, lastShown_ = -1;
    int64_t lastTenth_ = -1;
    bool finished_ = false;
};
