// Fifteen tinted smoke sprites in a column at the centre, turned towards the camera.
#pragma once

// Degrees about the vertical axis that turn a sprite's front (+z) towards an eye at
// (eyeX, *, eyeZ), with the show's rounded pi.
float facingHeading(float eyeX, float eyeZ);

// Sprite i's tint at show clock t; each channel runs from -0.1 to 0.9.
struct SpriteTint {
    float red, green, blue;
};
SpriteTint facingSmokeTint(float t, int i);

void drawFacingSmoke(float eyeX, float eyeY, float eyeZ, float t);
