// The GL, GLU and GLUT headers the show draws through, in one place.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/freeglut_std.h>
