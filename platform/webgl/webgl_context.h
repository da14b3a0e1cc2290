// Brings up the GL the show draws through on a page's canvas.
#pragma once

// Makes the WebGL context on the canvas (a CSS selector) current and resets the GL 1.1 state
// to a fresh context's; false, with the reason printed, if that cannot be done.
bool openWebGLContext(const char* canvasSelector);
