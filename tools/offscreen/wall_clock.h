// Seconds on a steady clock, for timing work.
#pragma once

#include <chrono>

inline double wallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
