#pragma once

// Two clusters of six additive discs circling two points of the screen; screen space only.
void drawGlowDiscs(float t);
