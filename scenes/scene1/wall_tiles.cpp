#include "scenes/scene1/wall_tiles.h"

#include "gfx/float_trig.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"

#include <cmath>

namespace {

// Each wall stands across one axis at +-500, its rows and columns run along the other two,
// and the turn makes its tiles face into the room.
struct Wall {
    int across, rowAxis, columnAxis;
    float at;
    float turn, ax, ay, az; // degrees about (ax, ay, az); 0: no turn is sent
};
constexpr Wall kWalls[6] = {
    {2, 0, 1, -500, 0, 0, 0, 0},   // faces +Z
    {1, 0, 2, -500, -90, 1, 0, 0}, // floor, faces +Y
    {0, 1, 2, -500, 90, 0, 1, 0},  // faces +X
    {2, 0, 1, 500, 180, 1, 0, 0},  // faces -Z
    {1, 0, 2, 500, 90, 1, 0, 0},   // ceiling, faces -Y
    {0, 1, 2, 500, -90, 0, 1, 0},  // faces -X
};

struct TileTable {
    float centre[150][3];
};

constexpr TileTable buildWallTilePositions() {
    TileTable table = {};
    for (int w = 0; w < 6; ++w)
        for (int row = 0; row < 5; ++row)
            for (int k = 0; k < 5; ++k) {
                float* p = table.centre[25 * w + 5 * row + k];
                p[kWalls[w].across] = kWalls[w].at;
                p[kWalls[w].rowAxis] = static_cast<float>(-400 + 200 * row);
                p[kWalls[w].columnAxis] = static_cast<float>(-400 + 200 * k);
            }
    return table;
}

constexpr TileTable kTiles = buildWallTilePositions();

float shade(int n) {
    const float angle = 0.15f * static_cast<float>(n);
    return floatCos(angle);
}

} // namespace

const float* wallTilePosition(int wall, int row, int column) {
    return kTiles.centre[25 * wall + 5 * row + column];
}

TileColour wallTileColour(int wall, int row, int column) {
    return {shade(wall) - 0.1f, shade(row), shade(column)};
}

float wallTileAlpha(int row, float t) {
    const float angle = static_cast<float>(static_cast<double>(0.3f) * row + 200.0 * t);
    const double a = 1 + 0.5 * std::sin(static_cast<double>(angle));
    return static_cast<float>(a > 1 ? 1 : a);
}

void drawWallTiles(float t, bool textured) {
    for (int w = 0; w < 6; ++w) {
        const Wall& wall = kWalls[w];
        for (int row = 0; row < 5; ++row) {
            const float alpha = wallTileAlpha(row, t);
            for (int k = 0; k < 5; ++k) {
                const float* p = wallTilePosition(w, row, k);
                const TileColour c = wallTileColour(w, row, k);
                glPushMatrix();
                glTranslatef(p[0], p[1], p[2]);
                if (wall.turn != 0) glRotatef(wall.turn, wall.ax, wall.ay, wall.az);
                // Without alpha the pre-pass tiles stay opaque although blending is on.
                if (textured)
                    glColor4f(c.red, c.green, c.blue, alpha);
                else
                    glColor3f(c.red, c.green, c.blue);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
                glEnable(GL_BLEND);
                glBindTexture(GL_TEXTURE_2D, tex::wallPicture);
                if (textured) glEnable(GL_TEXTURE_2D);
                drawSquare(200);
                glDisable(GL_TEXTURE_2D);
                glColor3f(0, 0, 0);
                drawSquareOutline(200);
                glPopMatrix();
            }
        }
    }
}
