#include "tools/offscreen/frame_clock.h"

#include <cmath>
#include <cstdlib>
#include <numeric>

namespace {

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

// Up to seven digits; zero allowed here, refused by the caller where it matters.
bool parseDigits(const std::string& text, int64_t& value) {
    if (text.empty() || text.size() > 7) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

} // namespace

bool parseFrameRate(const std::string& text, FrameRate& rate, std::string* error) {
    const std::string bad = "not a frame rate: \"" + text + "\" (use 60, 29.97 or 60000/1001)";
    int64_t num = 0, den = 1;
    const size_t slash = text.find('/');
    const size_t dot = text.find('.');
    if (slash != std::string::npos) {
        if (!parseDigits(text.substr(0, slash), num) || !parseDigits(text.substr(slash + 1), den))
            return fail(error, bad);
    } else if (dot != std::string::npos) {
        // A decimal is taken exactly: 29.97 is 2997/100.
        const std::string whole = dot ? text.substr(0, dot) : "0";
        const std::string frac = text.substr(dot + 1);
        int64_t w = 0, f = 0;
        if (frac.size() > 3 || !parseDigits(whole, w) || !parseDigits(frac, f))
            return fail(error, bad);
        for (size_t i = 0; i < frac.size(); ++i) den *= 10;
        num = w * den + f;
    } else if (!parseDigits(text, num)) {
        return fail(error, bad);
    }
    if (num <= 0 || den <= 0) return fail(error, bad);
    const int64_t g = std::gcd(num, den);
    num /= g;
    den /= g;
    if (num > 1000 * den || num * 1000 < den)
        return fail(error, "frame rate out of range: " + text + " (1/1000 to 1000)");
    rate.num = num;
    rate.den = den;
    return true;
}

bool secondsToPlayMs(double seconds, uint32_t& playMs) {
    if (!(seconds >= 0) || seconds > 4294967.0) return false;
    playMs = static_cast<uint32_t>(std::floor(seconds * 1000 + 1e-6));
    return true;
}
