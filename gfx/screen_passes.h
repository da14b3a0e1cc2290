// The full-screen zoom glow and the screen projection the scenes end their frames with.
#pragma once

#include "gfx/gl.h"

// The scenes' perspective: 60 degrees, 4:3, near 1, far 2500; leaves the modelview selected.
void setScenePerspective();

// x -400..400, y -300..300, z -50..50: one unit per pixel, origin at the window's centre.
void setOrthoProjection();

// Five layers of sceneOneGlow, each zoomed in by step on every side, alpha 0.2 down to 0.04.
void drawFeedbackZoom(float step);

// Five layers of the given texture, zoomed as above, all with the same alpha.
void drawTextureZoom(float step, float alpha, GLuint texture);

// Makes target a side x side texture of the given internal format holding the window's
// lower-left corner; the bound texture is target afterwards. A target that already has that
// size and format keeps its storage and takes only the part of the window it holds.
void copyWindowCorner(GLuint target, GLenum format, GLsizei side);

// The glow that scenes two to four lay over their finished picture: the frame copied into
// target, the whole frame as the viewport, and five layers of the copy zoomed by step, each at
// alpha.
void drawGlowPass(GLuint target, float step, float alpha);

// The window's lower-left 1024 x 1024 into target as GL_RGB (the window fills s 0..0.78125,
// t 0..0.5859375 of it).
void copyFrameTo(GLuint target);
