#include "scenes/scene3/disc_carousel.h"

#include "gfx/gl.h"
#include "gfx/extended.h"
#include "gfx/primitives.h"
#include "gfx/timeline.h"

namespace {

constexpr double kSceneStart = kSceneThreeStart;

void drawCarouselDisc(float angle) {
    glPushMatrix();
    glRotatef(angle, 0, 1, 0);
    glTranslatef(0, 0, 550);
    glRotatef(180, 0, 1, 0); // facing the axis
    glColor3f(0.2f, 0.2f, 0.2f);
    drawDisc(50, 20);
    glPopMatrix();
}

} // namespace

CarouselFrame advanceCarousel(int32_t& carouselState, float t) {
    // The ring turns 1000 degrees per unit of the show clock, the sweep 4000 more.
    const double ring = t * 1000.0;
    const double sweep = (t - kSceneStart) * 4000;
    CarouselFrame f = {};
    f.leadAngle = static_cast<float>(sweep + ring + 30);
    for (int i = 0; i < 6; ++i) f.slotAngle[i] = static_cast<float>(60.0L * i + ring + 30);

    switch (carouselState) {
    case kCarouselNotStarted:
        if (t >= kSceneStart) {
            carouselState = kCarouselFilling;
            f.leading = true;
        }
        break;
    case kCarouselFilling: {
        // The flags follow the clock rather than accumulate: a frame that carries the sweep
        // past a whole turn wraps round and the filling goes on from the wrapped angle.
        const int passed = static_cast<int>(sweep) % 360;
        bool all = true;
        for (int i = 0; i < 6; ++i) all &= f.slot[i] = passed > 60 * i;
        if (all)
            carouselState = kCarouselFull;
        else
            f.leading = true;
        break;
    }
    default:
        for (bool& s : f.slot) s = true;
        break;
    }
    return f;
}

void drawDiscCarousel(const CarouselFrame& f) {
    if (f.leading) drawCarouselDisc(f.leadAngle);
    for (int i = 0; i < 6; ++i)
        if (f.slot[i]) drawCarouselDisc(f.slotAngle[i]);
}
