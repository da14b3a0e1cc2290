// Full-height passes laid over scene three's finished picture, under the screen projection.
#pragma once

// Two 100-wide bars at the left and right edges through which the frame shows as v (1 - v).
void drawSideBars();

// The whole frame through v (1 - v) on every other half-period of sin(20000 t).
bool strobeIsOn(float t);
void drawStrobe(float t);

// Black over everything, clearing linearly within 0.01 from the second half's start.
float blackFadeAlpha(float t);
void drawBlackFade(float t);
