#pragma once

// Fifteen smoke layers drawn off to the side and copied into target7 (512 x 512).
void renderSmokePicture(float t);

// The cube field from its circling camera, copied into target6 (512 x 512).
void renderCubeFieldPicture(float t);
