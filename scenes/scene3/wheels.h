// Twelve flickering wheels on two tilted orbits of radius 550, facing the origin.
#pragma once

// The two brightness levels the wheels flicker between.
struct WheelFlicker {
    float face; // wheel faces and picture discs: 1 or 0.5
    float hub;  // hub discs: 0.5 or 0
};
WheelFlicker wheelFlicker(float t);

// One wheel in its own frame, facing +z: the face, the glass disc showing the cube-field
// picture, six hubs on the rim and the smoke glow behind. Scene four's wheels are these too.
void drawWheel(const WheelFlicker& levels);

void drawWheels(float t);
