#pragma once

// Fifteen smoke layers drawn off to the side and copied into smokePicture (512 x 512).
void renderSmokePicture(float t);
