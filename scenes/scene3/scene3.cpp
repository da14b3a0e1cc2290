#include "scenes/scene3/scene3.h"

void drawSceneThree(float) {}
