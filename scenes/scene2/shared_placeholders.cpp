// Placeholders until scene two's effects land.
#include "scenes/scene2/bullseyes.h"
#include "scenes/scene2/cube_field.h"

void drawBullseyes(float) {}
void drawCubeField(float) {}
