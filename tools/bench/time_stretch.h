// One stretch timed in this process: the child's side of the benchmark.
#pragma once

#include "tools/bench/stretches.h"

// Brings the show to the stretch's first frame, draws `frames` frames and prints their
// resultLine on standard output; returns the exit status (1 after saying what went wrong).
int timeStretch(const Stretch& stretch, int frames);
