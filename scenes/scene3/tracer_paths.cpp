#include "scenes/scene3/tracer_paths.h"

#include "gfx/gl.h"
#include "gfx/extended.h"
#include "gfx/primitives.h"
#include "gfx/timeline.h"

// clang-format off
const TracerPoint tracerPath[kTracerWaypoints] = {
    {0, 0},      {200, 0},    {200, 50},   {400, 50},   {400, 150},
    {350, 150},  {350, 100},  {430, 100},  {430, -100}, {350, -100},   //   0-9
    {350, -130}, {380, -130}, {380, -50},  {480, -50},  {480, 0},
    {480, 70},   {320, 70},   {320, 210},  {530, 210},  {530, -100},   //  10-19
    {600, -100}, {600, 50},   {500, 50},   {500, 120},  {550, 120},
    {550, 170},  {530, 170},  {480, 170},  {480, 240},  {650, 240},    //  20-29
    {650, -250}, {270, -250}, {270, 320},  {230, 320},  {230, 280},
    {390, 280},  {390, 300},  {680, 300},  {680, 0},    {730, 0},      //  30-39
    {730, -80},  {630, -80},  {630, -180}, {560, -180}, {560, -280},
    {500, -280}, {500, -150}, {590, -150}, {590, -300}, {680, -300},   //  40-49
    {680, -50},  {780, -50},  {780, 80},   {620, 80},   {620, 330},
    {350, 330},  {350, 230},  {450, 230},  {450, -150}, {430, -150},   //  50-59
    {430, -200}, {220, -200}, {220, -140}, {320, -140}, {320, -340},
    {220, -340}, {220, -310}, {240, -310}, {240, -280}, {290, -280},   //  60-69
    {290, -330}, {360, -330}, {360, -260}, {190, -260}, {190, -110},
    {290, -110}, {290, 100},  {240, 100},  {240, 180},  {390, 180},    //  70-79
    {390, 260},  {540, 260},  {540, 210},  {740, 210},  {740, 260},
    {790, 260},  {790, 290},  {760, 290},  {760, 240},  {810, 240},    //  80-89
    {810, 320},  {860, 320},  {860, 370},  {920, 370},  {920, 330},
    {880, 330},  {880, 430},  {1000, 430}, {1000, 360}, {930, 360},    //  90-99
    {930, 430},  {1000, 430}, {1000, 430},                             // 100-102
};
// clang-format on

namespace {

constexpr float kFloor = -400;
constexpr float kFallen = -1200;

// One axis of the walk. A step that ends on the target reaches it as one that passes it does:
// the head's coordinates sit on a grid that the waypoints share, so steady frame rates land on
// them exactly, and a walk that waited to pass them would stand still there for good.
bool stepAxis(float& head, float target, Extended step) {
    if (head < target) {
        head = static_cast<float>(head + step);
        return head >= target;
    }
    if (head > target) {
        head = static_cast<float>(head - step);
        return head <= target;
    }
    return false;
}

void reachWaypoint(TracerWalk& walk) {
    walk.tracerHead = tracerPath[walk.tracerIndex];
    ++walk.tracerIndex;
}

void drawArm(const TracerWalk& walk, int arm, float drop) {
    const TracerPoint& head = walk.tracerHead;
    glPushMatrix();
    glRotatef(90.0f * arm, 0, 1, 0);

    // The walked path falls; the stretch to the head and the head itself stay on the floor.
    glPushMatrix();
    glColor3f(1, 0, 0);
    glBegin(GL_LINE_STRIP);
    const float y = drop + kFloor;
    for (int i = 0; i < walk.tracerIndex; ++i) glVertex3f(tracerPath[i].x, y, tracerPath[i].z);
    glVertex3f(head.x, kFloor, head.z);
    glEnd();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(head.x, kFloor, head.z);
    glRotatef(-90, 1, 0, 0); // lying flat, facing up
    glColor3f(1, 0, 0);
    drawDisc(15, 15);
    drawCircle(18, 15);
    glPopMatrix();

    glPopMatrix();
}

} // namespace

void walkTracer(TracerWalk& walk, float frameStep) {
    const Extended step = 0.1f * static_cast<Extended>(frameStep);
    if (stepAxis(walk.tracerHead.x, tracerPath[walk.tracerIndex].x, step)) reachWaypoint(walk);
    if (stepAxis(walk.tracerHead.z, tracerPath[walk.tracerIndex].z, step)) reachWaypoint(walk);
}

void tracerDrops(float t, float drop[5]) {
    for (int i = 0; i < 5; ++i) {
        // Each arm in turn, then the centre, falls 1200 along a parabola within 0.02.
        const float g = static_cast<float>(i * 0.005 + kFallStart);
        const float h = static_cast<float>(g + 0.02);
        if (t < g) {
            drop[i] = 0;
            continue;
        }
        const Extended x = t > h ? h : t;
        const Extended u = (x - g) / (static_cast<Extended>(h) - g);
        drop[i] = static_cast<float>(-1200 * u * u);
    }
}

void drawTracerPaths(float t, const TracerWalk& walk) {
    float drop[5];
    tracerDrops(t, drop);
    for (int arm = 0; arm < 4; ++arm)
        if (drop[arm] > kFallen) drawArm(walk, arm, drop[arm]);

    if (drop[4] > kFallen) {
        glPushMatrix();
        glTranslatef(0, drop[4] - 398, 0);
        glRotatef(-90, 1, 0, 0);
        glColor3f(1, 0, 0);
        drawDisc(50, 30);
        drawCircle(55, 30);
        glPopMatrix();
    }
}
