// Where the show's frame goes in a window of another size: centred, as large as fits with
// its aspect kept.
#pragma once

#include "gfx/frame.h"

struct FrameBox {
    int x, y, width, height;
};

constexpr FrameBox fitFrame(int windowWidth, int windowHeight) {
    // Compared as whole products, so a window of exactly the frame's shape has no bars.
    FrameBox box{0, 0, windowWidth, windowHeight};
    if (long(windowWidth) * kFrameHeight > long(windowHeight) * kFrameWidth)
        box.width = int(long(windowHeight) * kFrameWidth / kFrameHeight);
    else
        box.height = int(long(windowWidth) * kFrameHeight / kFrameWidth);
    box.x = (windowWidth - box.width) / 2;
    box.y = (windowHeight - box.height) / 2;
    return box;
}
