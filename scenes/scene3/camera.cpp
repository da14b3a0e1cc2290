#include "scenes/scene3/camera.h"

#include "gfx/float_trig.h"
#include "gfx/rounded_pi.h"

#include <cmath>

namespace {

// Each window starts at its bound, inclusive; the first runs from the scene's start.
constexpr double kSecondWindow = 0.350113;
constexpr double kThirdWindow = 0.449291;
constexpr double kFourthWindow = 0.499679;

} // namespace

SceneThreeCamera sceneThreeCamera(float t) {
    const float a = static_cast<float>(40.0 * t + 200);
    const float sinA = floatSin(a);
    const float cosA = floatCos(a);
    if (t < kSecondWindow) {
        // High above the first city, swinging along the diagonal.
        const float d = static_cast<float>(200.0 * sinA);
        return {{d, 700.07f, d}, {100, 0, 100}};
    }
    if (t < kThirdWindow) {
        // Low over the ground, swaying towards the rings.
        return {{static_cast<float>(10.0 * sinA), 600, static_cast<float>(400 - 300.0 * cosA)},
                {0, 200, 400}};
    }
    if (t < kFourthWindow) {
        // From below the floor at a fixed eye, looking round and up.
        const double b = -40.0 * t - kHalfPi;
        return {
            {0, -390, 0},
            {static_cast<float>(800 * std::sin(b)), 300, static_cast<float>(800 * std::cos(b))}};
    }
    // Round the centre on a tilted circle of radius 900 (and more, along the tilt).
    const float c = static_cast<float>(900.0 * cosA);
    return {{static_cast<float>(900.0 * sinA), c, c}, {0, 0, 0}};
}
