// With no window there is nothing to swap: the frame is read back from the pbuffer instead.
#include <GL/freeglut_std.h>

extern "C" void glutSwapBuffers() {}
