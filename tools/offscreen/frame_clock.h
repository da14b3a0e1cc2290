// A capture's frame rate and times as given on the command line.
#pragma once

#include "show/clock.h"

#include <cstdint>
#include <string>

// Accepts "60", "29.97" or "60000/1001"; rates from 1/1000 to 1000 frames per second.
bool parseFrameRate(const std::string& text, FrameRate& rate, std::string* error);

// Seconds as whole milliseconds, with a hair of slack so that a printed k / rate maps back to
// frame k's position despite binary rounding.
bool secondsToPlayMs(double seconds, uint32_t& playMs);
