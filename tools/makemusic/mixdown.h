// From the stems to the finished stereo track: side-chain, echo, fade-out and a peak level
// with room to spare for the encoder.
#pragma once

#include "score.h"

Track Mixdown(Stems& stems);
