// The texture table: twenty GL names made once at start-up, in this order, and never freed.
#pragma once

#include "gfx/gl.h"

// Named after their files or as render targets; short names such as r stay out of the global
// scope so that no local of the same name can hide one.
namespace tex {
extern GLuint title2, target1, aba2, target2, target3, sc02cross, letter01, letter02, letter03,
    target4, target5, target6, moll4, smoke4, sc03objecs03, target7, r, eyeeye2, greeting, target8;
} // namespace tex
