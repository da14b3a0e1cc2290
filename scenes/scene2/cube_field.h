#pragma once

// The floor of 400 cubes; shared with scenes three and four through the cube-field picture.
void drawCubeField(float t);
