// Scene one: a room of picture tiles seen by a circling camera, with the cube cluster inside.
#pragma once

// Both passes of one frame; the dispatcher has cleared and loaded the identity.
void drawSceneOne(float t);

// The 256 x 256 pre-pass whose grey picture the wall tiles show; leaves wallPicture holding it.
void renderWallPicture(float t);
