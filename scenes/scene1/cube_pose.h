// Where one cube of scene one stands and how far it is turned.
#pragma once

struct CubePose {
    float x, y, z;    // centre
    float ax, ay, az; // degrees, applied in this order
};
