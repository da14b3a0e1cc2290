// Extended precision: the x87 80-bit format, with a 64-bit significand.
//
// The show clock, the curves, the tracer's steps, the carousel's slots, the orbiting blocks,
// the facing smoke and the greeting work a sum, a quotient or a sine in it and round the
// result to float. With a 53-bit or a 113-bit significand some of those results round
// differently by a float step, and frames stop being byte-identical to the ones the tests and
// the stills were made with. WebAssembly has only the 113-bit format; frames there match
// closely, not byte for byte.
#pragma once

#include <limits>

using Extended = long double;

#ifndef __EMSCRIPTEN__
static_assert(std::numeric_limits<Extended>::digits == 64,
              "frames are byte-identical only with the x87 80-bit long double");
#endif
