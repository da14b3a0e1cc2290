#include "gfx/textures.h"

namespace tex {
GLuint title2, target1, aba2, target2, target3, sc02cross, letter01, letter02, letter03, target4,
    target5, target6, moll4, smoke4, sc03objecs03, target7, r, eyeeye2, greeting, target8;
} // namespace tex
