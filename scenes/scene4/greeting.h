// The greeting picture that rises on the right of scene four.
#pragma once

// Height of the picture's centre: -200 as the scene begins, one unit up per 0.001 of t.
float greetingHeight(float t);

void drawGreeting(float t);
