#include "scenes/scene4/scene4.h"

void drawSceneFour(float) {}
