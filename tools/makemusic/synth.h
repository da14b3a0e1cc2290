// The instruments of the show's music. Each call adds one hit or one note into a stereo track
// at a time in seconds; nothing is random that a seed does not fix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kRate = 44100;

struct Track {
    explicit Track(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    std::vector<float> left;
    std::vector<float> right;
};

// xorshift32: the same seed gives the same hiss on every build.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    float Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return float(state_) * (2.0f / 4294967296.0f) - 1.0f;
    }

  private:
    std::uint32_t state_;
};

double MidiToHz(double note);

// Drums.
void Kick(Track& track, double at, float gain);
void Snare(Track& track, double at, float gain, std::uint32_t seed);
void Clap(Track& track, double at, float gain, std::uint32_t seed);
void Hat(Track& track, double at, float gain, bool open, float pan, std::uint32_t seed);
void Crash(Track& track, double at, float gain, std::uint32_t seed);
// Noise that rises over length and stops dead: the run-up to a new section.
void Swell(Track& track, double at, double length, float gain, std::uint32_t seed);

// Pitched voices. cutoff is the low-pass frequency the note opens to, in Hz.
struct Note {
    double at;
    double length;
    double pitch; // MIDI note number
    float gain;
    float cutoff;
};
void Bass(Track& track, const Note& note);
void Pluck(Track& track, const Note& note, float pan);
void Lead(Track& track, const Note& note, bool dark);
void Pad(Track& track, double at, double length, const int* pitches, int count, float gain,
         float cutoff);

// A ping-pong echo of the whole track, mixed back into it.
void PingPongDelay(Track& track, double delay, float feedback, float level);
