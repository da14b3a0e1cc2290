#include "scenes/scene2/letter_banners.h"

#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "gfx/timeline.h"

#include <algorithm>

namespace {

struct Turn {
    float angle, x, y, z;
};

struct Banner {
    const GLuint* texture;
    float red, green, blue;
    float width, height;
    Turn turns[2]; // in order; a zero angle is no turn
};

constexpr Turn kNone = {0, 0, 0, 0};
constexpr Turn kLieFlat = {-90, 1, 0, 0};

// Multiplied into the frame by one minus the tinted picture: white lettering keeps only the
// channels the tint leaves out.
const Banner kUpright = {&tex::uprightBanner, 1, 0.5f, 1, 512, 128, {kNone, kNone}};
const Banner kAlongX = {&tex::bannerAlongX, 1, 1, 0.5f, 640, 80, {kLieFlat, kNone}};
const Banner kAlongZ = {&tex::bannerAlongZ, 0.5f, 1, 1, 1280, 80, {{90, 0, 1, 0}, kLieFlat}};

void drawBanner(const Banner& b, float x, float y, float z) {
    glPushMatrix();
    glTranslatef(x, y, z);
    for (const Turn& turn : b.turns)
        if (turn.angle != 0) glRotatef(turn.angle, turn.x, turn.y, turn.z);
    glBindTexture(GL_TEXTURE_2D, *b.texture);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    glEnable(GL_BLEND);
    glColor3f(b.red, b.green, b.blue);
    drawRect(b.width, b.height);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

} // namespace

void drawLetterBanners(float t) {
    // The slide would end at 0.250144, just after the banners are gone.
    const float u = (std::min(t, 0.250144f) - 0.149518f) / 0.100626f;
    if (t < kCutToCentre) {
        drawBanner(kUpright, 250, -350, 100);
    } else if (t < kCutBack) {
        drawBanner(kAlongX, 450 - 400 * u, -560, 100);
        drawBanner(kAlongZ, 0, -550, 400 * u - 400);
    }
}
