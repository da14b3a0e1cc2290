// The GLUT callbacks of the show window and the music start-up behind the show clock.
#pragma once

#include "platform/win32.h"

class CdSound;

extern CdSound* soundStream;
extern double totalLengthMs;
extern HWND showWindow;
extern void (*sceneDispatcher)(float t);
// Set for --fullscreen: the window keeps the size it is given instead of snapping back.
extern void (*windowResized)(int width, int height);

// Brings up the sound device once, opens "Data/tech.ogg" and reads its length.
bool startSound();

// Draws the frame at t through the dispatcher and swaps; the process ends after the frame that
// reaches the end of the show.
void showFrame(float t);

void onDisplay();
void onIdle();
void onKeyboard(unsigned char key, int x, int y);
void onReshape(int width, int height);
