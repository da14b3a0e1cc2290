#include "scenes/scene2/scene2.h"

void drawSceneTwo(float) {}
