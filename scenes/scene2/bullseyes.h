#pragma once

// Eight pulsing bullseyes; shared with scene three.
void drawBullseyes(float t);
