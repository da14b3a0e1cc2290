#pragma once

// The cube field from its circling camera, copied into cubeFieldPicture (512 x 512).
void renderCubeFieldPicture(float t);
