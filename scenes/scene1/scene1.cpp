#include "scenes/scene1/scene1.h"

void drawSceneOne(float) {}
