#pragma once

// Four rows of six bobbing spheres, one row on each side of the floor.
void drawSphereRows(float t);
