#include "scenes/scene3/cube_walls.h"

#include "gfx/curves.h"
#include "gfx/gl.h"
#include "gfx/primitives.h"
#include "gfx/textures.h"
#include "gfx/float_trig.h"
#include "gfx/timeline.h"

#include <cmath>

namespace {

// From here every cube is opaque black and no longer depends on the probe.
constexpr double kBlackFrom = kSecondHalfFromStart;
constexpr float kClearFrom = 0.7f;

float cellCentre(int k) {
    return static_cast<float>(55.0 * k - 247.5);
}

// The eight-beat hop of column u: up to 35 units at a beat's middle, 0 between beats.
float hopOf(float t, int u) {
    float hop = 0;
    // The windows follow one another; where rounding lets two touch, the later one wins.
    for (float b0 = 0; b0 < 0.15f; b0 = static_cast<float>(b0 + 0.0253)) {
        if (!(b0 + 0.1997 <= t && t < b0 + 0.225)) continue;
        float breakpoints[9];
        setBreakpoints(static_cast<float>(b0 + 0.199), static_cast<float>(b0 + 0.225), breakpoints);
        for (int k = 1; k <= 8; ++k) {
            // Each column lags the one before, so the hop ripples along the wall.
            const float lo =
                static_cast<float>(breakpoints[k - 1] + 0.00015f * static_cast<double>(u));
            const float hi =
                static_cast<float>(breakpoints[k] + 0.00015f * static_cast<double>(u) - 0.0025f);
            if (lo <= t && t < hi) {
                const float p = (t - lo) / (hi - lo);
                hop = static_cast<float>(140.0 * p - 140.0 * p * p);
            }
        }
    }
    return hop;
}

float visibilityOf(float t, const ProbePoint& probePoint, float hop, int u, int v) {
    const double dx = static_cast<double>(hop) - probePoint.x;
    const double dy = static_cast<double>(cellCentre(v)) - probePoint.y;
    const double dz = static_cast<double>(cellCentre(u)) - probePoint.z;
    float sum = static_cast<float>(dx * dx + dy * dy);
    sum = static_cast<float>(sum + dz * dz);
    const float dist = static_cast<float>(std::sqrt(static_cast<double>(sum)));
    float vis = static_cast<float>(dist / 400.0);
    if (vis < 0) vis = 0;
    if (vis > 1) vis = 1;
    return t >= kBlackFrom ? 1 : vis;
}

// The cubes fall one after another along a parabola, 1200 units in 0.02 of the show clock.
float dropOf(float t, int u, int v) {
    const float start = static_cast<float>(kFallStart + 0.002 * u + 0.003 * v);
    if (t < start) return 0;
    const float end = start + 0.02f;
    const float s = t < end ? t : end;
    const float q = (s - start) / (end - start);
    return static_cast<float>(-1200.0 * q * q);
}

void drawWallCube(int wall, int u, int v, const CubeWallTables& tab, bool black) {
    const float vis = tab.visibility[u][v];
    glPushMatrix();
    glTranslatef(0, -125, 0);
    if (wall == 0) {
        glTranslatef(200, 0, 0);
        glRotatef(180, 0, 1, 0);
    } else {
        glTranslatef(-200, 0, 0);
    }
    glPushMatrix();
    // Wall 0 is turned, which reverses z: reading wall 1 backwards makes facing cubes hop
    // together.
    const float hop = wall == 0 ? tab.hop[u][v] : tab.hop[9 - u][v];
    glTranslatef(hop, static_cast<float>(55.0 * v - 247.5 + tab.drop[u][v]), cellCentre(u));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glLineWidth(1);
    glColor4f(0, 0, 0, 0.3f);
    drawCubeWire(50);

    // The tile hangs just in front of the corridor face and is seen from both sides.
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(27, 0, 0);
    glRotatef(-90, 0, 1, 0);
    glColor4f(1, 1, 1, vis - kClearFrom);
    glBindTexture(GL_TEXTURE_2D, tex::cubeFieldPicture);
    glEnable(GL_TEXTURE_2D);
    drawTextureTile(49, u, v);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glEnable(GL_CULL_FACE);

    if (black) {
        glColor4f(0, 0, 0, vis);
    } else {
        // The milky body shows only when the probe is at least 400 away.
        const float alpha =
            vis - static_cast<double>(kClearFrom) >= 0.3 ? static_cast<float>(vis - 0.3) : 0.0f;
        glColor4f(vis, vis, vis, alpha);
    }
    drawCube(49);
    glDisable(GL_BLEND);
    glPopMatrix();
    glPopMatrix();
}

} // namespace

ProbePoint advanceProbe(ProbePoint& probePoint, float t) {
    const ProbePoint seen = probePoint;
    const float a = static_cast<float>(300.0 * t);
    const float s = floatSin(a);
    const float c = floatCos(a);
    probePoint.x = static_cast<float>(300.0 * s);
    probePoint.y = static_cast<float>(300.0 * s);
    probePoint.z = static_cast<float>(300.0 * c);
    return seen;
}

void buildCubeWallTables(float t, const ProbePoint& probe, CubeWallTables& out) {
    for (int u = 0; u < 10; ++u) {
        const float hop = hopOf(t, u);
        for (int v = 0; v < 10; ++v) {
            out.hop[u][v] = hop;
            out.visibility[u][v] = visibilityOf(t, probe, hop, u, v);
            out.drop[u][v] = dropOf(t, u, v);
        }
    }
}

void drawCubeWalls(float t, const ProbePoint& probe) {
    CubeWallTables tables;
    buildCubeWallTables(t, probe, tables);
    const bool black = t >= kBlackFrom;
    for (int wall = 0; wall < 2; ++wall)
        for (int u = 0; u < 10; ++u)
            for (int v = 0; v < 10; ++v)
                if (tables.drop[u][v] > -1200) drawWallCube(wall, u, v, tables, black);
}

void drawTextureTile(float size, int a, int b) {
    const float h = size / 2;
    const float s0 = a / 10.0f, s1 = (a + 1) / 10.0f;
    const float t0 = b / 10.0f, t1 = (b + 1) / 10.0f;
    const float v[4][8] = {
        {s0, t1, 0, 0, -1, -h, h, 0},
        {s0, t0, 0, 0, -1, -h, -h, 0},
        {s1, t0, 0, 0, -1, h, -h, 0},
        {s1, t1, 0, 0, -1, h, h, 0},
    };
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, v);
    glDrawArrays(GL_QUADS, 0, 4);
}
