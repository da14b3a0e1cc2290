// The makers of the show's twelve pictures, each given the size its table entry asks for.
#pragma once

#include "image.h"

Image makeTitle(int w, int h);      // "KELVASTER", bright on black
Image makeLetter01(int w, int h);   // upright banner
Image makeLetter02(int w, int h);   // long floor banner
Image makeLetter03(int w, int h);   // longest floor banner
Image makeGreeting(int w, int h);   // greetings list, bright on black
Image makeCrossStamp(int w, int h); // dark cross on white
Image makeCubePanel(int w, int h);  // tileable plate for the floor cubes
Image makeTowerPanel(int w, int h); // tileable facade for towers and columns
Image makeWheelFace(int w, int h);
Image makeHubCap(int w, int h);
Image makeSmoke(int w, int h);   // soft cloud on black
Image makeEyeMask(int w, int h); // white opening, black edges
