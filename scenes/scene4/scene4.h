// The closing scene: wheels, the rising greeting, a zoom glow and the eye mask.
#pragma once

void drawSceneFour(float t);
