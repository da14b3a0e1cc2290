// Curves that turn the show clock into motion.
#pragma once

// Base at start, peak at the window's middle, base again at end and beyond; no clamp below.
float pingPong(float x, float start, float end, float base, float peak);

// Divides [start, end] into eight equal beats: beat k is [breakpoints[k], breakpoints[k+1]).
// Every user fills its own table in the frame that reads it; nothing is carried over.
void setBreakpoints(float start, float end, float (&breakpoints)[9]);
