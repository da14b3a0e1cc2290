// The show on a screen of any size: each frame is drawn at its own size into a framebuffer object
// and shown scaled to fit the window, aspect kept, black around it.
#pragma once

#include "shell/frame_box.h"

// Makes the frame-sized framebuffer like the window's own (colour, alpha and depth bits) and
// draws into it from now on. False, with a message on stderr, if the GL has no framebuffer
// objects; the window's framebuffer is then left as it was.
bool startScaledFrame();

// A scene dispatcher: draws the frame at t into the framebuffer and scales it to the window,
// for the caller's swap.
void drawShowScaled(float t);

// The window's size, as GLUT reports it to the reshape callback.
void setScaledWindowSize(int width, int height);
