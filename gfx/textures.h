// The texture table: twenty GL names made once at start-up, in this order, and never freed.
// Each is named for what it holds; the pictures read from Data/ and the render targets the
// scenes copy the frame into are listed in the order start-up makes them.
#pragma once

#include "gfx/gl.h"

namespace tex {
extern GLuint title,  // scene one's title lettering
    sceneOneGlow,     // target: scene one's frame, laid back over it in fading layers
    floorCubeSkin,    // the cubes of scene two's floor
    unusedTargetA,    // target: made, never drawn into
    sceneTwoGlow,     // target: scene two's frame, for its glow
    crossShellSkin,   // scene two's cross shell
    uprightBanner,    // scene two's lettering before the first cut
    bannerAlongX,     // and the two after it
    bannerAlongZ,     //
    unusedTargetB,    // target: made, never drawn into
    lateScenesGlow,   // target: scenes three's and four's frames, for their glow
    cubeFieldPicture, // target: scene three's cube-field picture
    wheelFace,        // scene three's wheels
    smokePuff,        // the smoke layers
    structureSkin,    // scene three's towers and column rings
    smokePicture,     // target: the smoke picture behind the wheels
    hubMark,          // the marks on the wheels' hubs
    eyeMask,          // scene four's eye mask
    greeting,         // scene four's greeting
    wallPicture;      // target: scene one's room, shown on its walls
} // namespace tex
