#include "gfx/textures.h"

namespace tex {
GLuint title, sceneOneGlow, floorCubeSkin, unusedTargetA, sceneTwoGlow, crossShellSkin,
    uprightBanner, bannerAlongX, bannerAlongZ, unusedTargetB, lateScenesGlow, cubeFieldPicture,
    wheelFace, smokePuff, structureSkin, smokePicture, hubMark, eyeMask, greeting, wallPicture;
} // namespace tex
