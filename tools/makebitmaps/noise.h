// Value noise from an integer hash: the same seed gives the same picture on every build.
#pragma once

#include <cstdint>

// Smooth noise in 0..1 over the plane; the lattice repeats every periodX cells in x and
// periodY in y (0: no repeat), so a picture sampled over whole periods tiles without a seam.
double valueNoise(double x, double y, uint32_t seed, int periodX = 0, int periodY = 0);

// Sum of octaves, each twice the frequency and half the amplitude of the one before,
// normalised to 0..1.
double fbm(double x, double y, uint32_t seed, int octaves, int periodX = 0, int periodY = 0);
