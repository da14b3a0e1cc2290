// The title picture, printed dark into the middle of the frame once during scene one.
#pragma once

// Grey level of the title at t: 0 leaves the frame untouched, 1 is full strength.
float titleStrength(float t);

void drawTitle(float t);
