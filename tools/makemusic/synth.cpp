#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

size_t firstFrame(double at) {
    return size_t(std::llround(at * kRate));
}

// The span of frames [begin, end) of a sound starting at `at` and lasting `length` seconds,
// clipped to the track.
struct Span {
    size_t begin, end;
};
Span spanOf(const Track& track, double at, double length) {
    const size_t begin = std::min(firstFrame(at), track.frames());
    const size_t end = std::min(begin + size_t(length * kRate), track.frames());
    return {begin, end};
}

// Zavalishin's state-variable filter: stable under fast cutoff changes.
class LowPass {
  public:
    void Set(double hz, double q) {
        hz = std::clamp(hz, 20.0, 0.45 * kRate);
        const double g = std::tan(kPi * hz / kRate);
        const double k = 1.0 / q;
        a1_ = 1.0 / (1.0 + g * (g + k));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }
    float Process(float x) {
        const double v3 = x - ic2_;
        const double v1 = a1_ * ic1_ + a2_ * v3;
        const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = 2 * v1 - ic1_;
        ic2_ = 2 * v2 - ic2_;
        return float(v2);
    }

  private:
    double a1_ = 0, a2_ = 0, a3_ = 0, ic1_ = 0, ic2_ = 0;
};

// One-pole high-pass, for the hiss of hats and snares.
class HighPass {
  public:
    explicit HighPass(double hz) : a_(std::exp(-2 * kPi * hz / kRate)) {}
    float Process(float x) {
        const float y = float(a_ * (y_ + x - x_));
        x_ = x;
        y_ = y;
        return y;
    }

  private:
    double a_;
    float x_ = 0, y_ = 0;
};

// Band-limited sawtooth (PolyBLEP), so high notes do not alias.
class Saw {
  public:
    explicit Saw(double phase = 0) : phase_(phase) {}
    float Next(double hz) {
        const double dt = hz / kRate;
        double blep = 0;
        if (phase_ < dt) {
            const double t = phase_ / dt;
            blep = t + t - t * t - 1;
        } else if (phase_ > 1 - dt) {
            const double t = (phase_ - 1) / dt;
            blep = t * t + t + t + 1;
        }
        const double v = 2 * phase_ - 1 - blep;
        phase_ += dt;
        if (phase_ >= 1) phase_ -= 1;
        return float(v);
    }

  private:
    double phase_;
};

float envelope(double t, double attack, double length, double release) {
    if (t < attack) return float(t / attack);
    if (t < length) return 1.0f;
    return float(std::max(0.0, 1.0 - (t - length) / release));
}

void add(Track& track, size_t i, float v, float pan) {
    track.left[i] += v * std::min(1.0f, 1.0f - pan);
    track.right[i] += v * std::min(1.0f, 1.0f + pan);
}

} // namespace

double MidiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// Every kick is the same sound: it is made once and laid down at each beat.
const std::vector<float>& kickSound() {
    static const std::vector<float> sound = [] {
        std::vector<float> v(size_t(0.42 * kRate));
        double phase = 0;
        Noise click(0xC11C);
        for (size_t i = 0; i < v.size(); ++i) {
            const double t = double(i) / kRate;
            phase += (46 + 120 * std::exp(-t / 0.03)) / kRate;
            float x = float(std::sin(2 * kPi * phase) * std::exp(-t / 0.22));
            if (t < 0.004) x += 0.35f * click.Next() * float(1 - t / 0.004);
            v[i] = std::tanh(1.4f * x);
        }
        return v;
    }();
    return sound;
}

void Kick(Track& track, double at, float gain) {
    const std::vector<float>& sound = kickSound();
    const Span s = spanOf(track, at, double(sound.size()) / kRate);
    for (size_t i = s.begin; i < s.end; ++i) add(track, i, gain * sound[i - s.begin], 0);
}

void Snare(Track& track, double at, float gain, std::uint32_t seed) {
    const Span s = spanOf(track, at, 0.3);
    Noise noise(seed);
    HighPass hiss(900);
    double phase = 0;
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        phase += (180 + 60 * std::exp(-t / 0.02)) / kRate;
        const float body = float(std::sin(2 * kPi * phase) * std::exp(-t / 0.06));
        const float snap = hiss.Process(noise.Next()) * float(std::exp(-t / 0.11));
        add(track, i, gain * (0.55f * body + 0.7f * snap), 0);
    }
}

void Clap(Track& track, double at, float gain, std::uint32_t seed) {
    const Span s = spanOf(track, at, 0.35);
    Noise noise(seed);
    HighPass hiss(1200);
    LowPass tone;
    tone.Set(2600, 1.2);
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        // Three quick slaps, then the room.
        double e = std::exp(-std::fmod(std::min(t, 0.03), 0.01) / 0.003) * (t < 0.03);
        e += 0.8 * std::exp(-std::max(0.0, t - 0.03) / 0.09) * (t >= 0.03);
        const float v = tone.Process(hiss.Process(noise.Next()));
        add(track, i, gain * 1.6f * float(e) * v, 0.1f);
    }
}

void Hat(Track& track, double at, float gain, bool open, float pan, std::uint32_t seed) {
    const double decay = open ? 0.16 : 0.028;
    const Span s = spanOf(track, at, open ? 0.5 : 0.09);
    Noise noise(seed);
    HighPass first(6500), second(6500);
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        const float v = second.Process(first.Process(noise.Next()));
        add(track, i, gain * v * float(std::exp(-t / decay)), pan);
    }
}

void Crash(Track& track, double at, float gain, std::uint32_t seed) {
    const Span s = spanOf(track, at, 2.5);
    Noise left(seed), right(seed * 7 + 1);
    HighPass hl(3000), hr(3000);
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        const float e = gain * float(std::exp(-t / 0.7));
        track.left[i] += e * hl.Process(left.Next());
        track.right[i] += e * hr.Process(right.Next());
    }
}

void Swell(Track& track, double at, double length, float gain, std::uint32_t seed) {
    const Span s = spanOf(track, at, length);
    Noise noise(seed);
    LowPass filter;
    for (size_t i = s.begin; i < s.end; ++i) {
        const double u = double(i - s.begin) / double(s.end - s.begin);
        if ((i - s.begin) % 32 == 0) filter.Set(300 + 9000 * u * u, 1.5);
        const float v = filter.Process(noise.Next()) * gain * float(u * u);
        add(track, i, v, float(0.6 * std::sin(2 * kPi * 3 * u)));
    }
}

void Bass(Track& track, const Note& note) {
    const Span s = spanOf(track, note.at, note.length + 0.03);
    const double hz = MidiToHz(note.pitch);
    Saw saw;
    LowPass filter;
    double sub = 0;
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        if ((i - s.begin) % 16 == 0)
            filter.Set(note.cutoff * (0.35 + 0.65 * std::exp(-t / 0.09)), 1.6);
        sub += hz / kRate;
        const float tone = filter.Process(saw.Next(hz)) + 0.6f * float(std::sin(2 * kPi * sub));
        add(track, i, note.gain * tone * envelope(t, 0.004, note.length, 0.03), 0);
    }
}

void Pluck(Track& track, const Note& note, float pan) {
    const Span s = spanOf(track, note.at, note.length + 0.25);
    const double hz = MidiToHz(note.pitch);
    Saw a, b(0.37);
    LowPass filter;
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        if ((i - s.begin) % 16 == 0) filter.Set(400 + note.cutoff * std::exp(-t / 0.06), 2.0);
        const float v = filter.Process(0.5f * (a.Next(hz) + b.Next(hz * 1.004)));
        add(track, i, note.gain * v * float(std::exp(-t / 0.12)), pan);
    }
}

void Lead(Track& track, const Note& note, bool dark) {
    const Span s = spanOf(track, note.at, note.length + 0.15);
    const double hz = MidiToHz(note.pitch);
    Saw a, b(0.5), c(0.25);
    LowPass filter;
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        // Vibrato creeps in once the note has settled.
        const double depth = 0.004 * std::min(1.0, std::max(0.0, (t - 0.18) / 0.3));
        const double f = hz * (1 + depth * std::sin(2 * kPi * 5.5 * t));
        if ((i - s.begin) % 16 == 0) {
            const double open =
                dark ? 0.5 + 0.5 * std::exp(-t / 0.25) : 0.7 + 0.3 * std::exp(-t / 0.4);
            filter.Set(note.cutoff * open, dark ? 3.0 : 1.2);
        }
        float v = a.Next(f) + 0.7f * b.Next(f * 1.006) + (dark ? 0.8f * c.Next(f * 0.5) : 0.0f);
        v = filter.Process(0.4f * v);
        const float e = envelope(t, 0.01, note.length, 0.15);
        track.left[i] += note.gain * e * v;
        track.right[i] += note.gain * e * v;
    }
}

void Pad(Track& track, double at, double length, const int* pitches, int count, float gain,
         float cutoff) {
    const double release = 0.6;
    const Span s = spanOf(track, at, length + release);
    // Two detuned saws a note on each side; the notes share one filter a side.
    std::vector<Saw> saws;
    std::vector<double> hz;
    for (int n = 0; n < count; ++n) {
        const double f = MidiToHz(pitches[n]);
        for (int k = 0; k < 4; ++k) saws.emplace_back(0.1 * n + 0.2 * k);
        hz.insert(hz.end(), {f * 0.996, f * 1.003, f * 1.004, f * 0.997});
    }
    LowPass fl, fr;
    fl.Set(cutoff, 0.8);
    fr.Set(cutoff, 0.8);
    for (size_t i = s.begin; i < s.end; ++i) {
        const double t = double(i - s.begin) / kRate;
        float left = 0, right = 0;
        for (size_t v = 0; v < saws.size(); v += 4) {
            left += saws[v].Next(hz[v]) + saws[v + 1].Next(hz[v + 1]);
            right += saws[v + 2].Next(hz[v + 2]) + saws[v + 3].Next(hz[v + 3]);
        }
        const float e = gain * envelope(t, 0.35, length, release) / float(count);
        track.left[i] += e * fl.Process(left);
        track.right[i] += e * fr.Process(right);
    }
}

void PingPongDelay(Track& track, double delay, float feedback, float level) {
    const size_t d = size_t(delay * kRate);
    std::vector<float> echoLeft(track.frames(), 0.0f), echoRight(track.frames(), 0.0f);
    LowPass darkenLeft, darkenRight;
    darkenLeft.Set(3500, 0.7);
    darkenRight.Set(3500, 0.7);
    for (size_t i = d; i < track.frames(); ++i) {
        // The echo starts on the left and crosses sides on every repeat, a little darker.
        const float mono = 0.5f * (track.left[i - d] + track.right[i - d]);
        echoLeft[i] = darkenLeft.Process(mono + feedback * echoRight[i - d]);
        echoRight[i] = darkenRight.Process(echoLeft[i - d]);
    }
    for (size_t i = 0; i < track.frames(); ++i) {
        track.left[i] += level * echoLeft[i];
        track.right[i] += level * echoRight[i];
    }
}
