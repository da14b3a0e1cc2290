// Placeholder until the shared pictures land.
#include "scenes/scene3/pictures.h"

void renderSmokePicture(float) {}
void renderCubeFieldPicture(float) {}
