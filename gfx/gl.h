// The GL and GLU headers the show draws through, in one place.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
