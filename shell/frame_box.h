// Where an 800 x 600 frame goes in a window of another size: centred, as large as fits with
// its aspect kept.
#pragma once

constexpr int kShowWidth = 800;
constexpr int kShowHeight = 600;

struct FrameBox {
    int x, y, width, height;
};

constexpr FrameBox fitFrame(int windowWidth, int windowHeight) {
    // Compared as whole products, so a window of exactly the frame's shape has no bars.
    FrameBox box{0, 0, windowWidth, windowHeight};
    if (long(windowWidth) * kShowHeight > long(windowHeight) * kShowWidth)
        box.width = int(long(windowHeight) * kShowWidth / kShowHeight);
    else
        box.height = int(long(windowWidth) * kShowHeight / kShowWidth);
    box.x = (windowWidth - box.width) / 2;
    box.y = (windowHeight - box.height) / 2;
    return box;
}
