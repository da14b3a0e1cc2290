// The full-screen picture that scene four multiplies its finished frame by.
#pragma once

// Expects the screen projection; white leaves the frame as it is, black blacks it out.
void drawEyeMask();
