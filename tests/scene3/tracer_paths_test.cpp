#include "scenes/scene3/tracer_paths.h"
#include "tests/support/glrec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TracerPaths : public ::testing::Test {
  protected:
    void SetUp() override {
        glrec::reset();
        walk = TracerWalk{};
    }
    TracerWalk walk;
};

TEST_F(TracerPaths, PathIsRectilinearAndEndsOnARepeatedWaypoint) {
    EXPECT_EQ(tracerPath[0].x, 0);
    EXPECT_EQ(tracerPath[0].z, 0);
    double length = 0;
    for (int i = 1; i < kTracerWaypoints; ++i) {
        const float dx = tracerPath[i].x - tracerPath[i - 1].x;
        const float dz = tracerPath[i].z - tracerPath[i - 1].z;
        EXPECT_TRUE(dx == 0 || dz == 0) << "waypoint " << i;
        length += std::fabs(dx) + std::fabs(dz);
    }
    EXPECT_EQ(length, 11570);
    EXPECT_EQ(tracerPath[101].x, tracerPath[102].x);
    EXPECT_EQ(tracerPath[101].z, tracerPath[102].z);
}

TEST_F(TracerPaths, WalksATenthOfTheStepAlongXFirst) {
    walkTracer(walk, 80);
    EXPECT_EQ(walk.tracerHead.x, 8);
    EXPECT_EQ(walk.tracerHead.z, 0);
    EXPECT_EQ(walk.tracerIndex, 1);
}

TEST_F(TracerPaths, PassingAWaypointSnapsOntoItAndTurnsTowardsTheNextInTheSameFrame) {
    walk.tracerHead = {196, 0};
    walkTracer(walk, 80);
    EXPECT_EQ(walk.tracerIndex, 2);
    EXPECT_EQ(walk.tracerHead.x, 200);
    EXPECT_EQ(walk.tracerHead.z, 8);
}

TEST_F(TracerPaths, LandingExactlyOnAWaypointReachesItAndTheWalkGoesOn) {
    walk.tracerHead = {192, 0};
    walkTracer(walk, 80);
    EXPECT_EQ(walk.tracerIndex, 2);
    EXPECT_EQ(walk.tracerHead.x, 200);
    EXPECT_EQ(walk.tracerHead.z, 8);
    walkTracer(walk, 80);
    EXPECT_EQ(walk.tracerHead.z, 16);
}

TEST_F(TracerPaths, SteadyFramesWalkTheWholePathAndStopOnTheLastWaypoint) {
    // Steps a steady frame rate gives, which land on the waypoints' grid again and again.
    for (const float step : {500.0f, 83.3125f, 166.65625f}) {
        SetUp();
        int frames = 0;
        while (walk.tracerIndex < 102 && frames < 100000) walkTracer(walk, step), ++frames;
        EXPECT_EQ(walk.tracerIndex, 102) << "step " << step;
        // About 11570 units at a tenth of the step a frame, less what each snap drops.
        EXPECT_LT(frames, 11570 / (step * 0.1f) + 2 * 102) << "step " << step;
        for (int i = 0; i < 50; ++i) walkTracer(walk, step);
        EXPECT_EQ(walk.tracerIndex, 102);
        EXPECT_EQ(walk.tracerHead.x, 1000);
        EXPECT_EQ(walk.tracerHead.z, 430);
    }
}

TEST_F(TracerPaths, ArmsAndCentreFallOneAfterAnother) {
    float drop[5];
    tracerDrops(0.609f, drop);
    for (float d : drop) EXPECT_EQ(d, 0);

    tracerDrops(0.619523f, drop);
    EXPECT_NEAR(drop[0], -300, 0.01);
    EXPECT_NEAR(drop[1], -75, 0.01);
    EXPECT_NEAR(drop[2], 0, 0.01);
    EXPECT_EQ(drop[3], 0);
    EXPECT_EQ(drop[4], 0);

    tracerDrops(std::nextafter(0.629523f, 1.0f), drop);
    EXPECT_EQ(drop[0], -1200);
    EXPECT_GT(drop[1], -1200);
    tracerDrops(0.65f, drop);
    for (float d : drop) EXPECT_EQ(d, -1200);
}

// The line strips drawn, one per arm still standing: their vertices and the arm's turn.
struct Strip {
    std::vector<std::array<float, 3>> points;
    double armAngle;
};
std::vector<Strip> recordedStrips() {
    std::vector<Strip> strips;
    double angle = 0;
    bool inStrip = false;
    for (const glrec::Call& c : glrec::calls()) {
        if (c.name == "glRotatef" && c.arg(2) == 1) angle = c.arg(0);
        if (c.name == "glBegin") {
            // The head marker's circle is a line strip too, but drawn away from the origin.
            inStrip = c.arg(0) == GL_LINE_STRIP && c.modelview[13] == 0;
            if (inStrip) strips.push_back({{}, angle});
        }
        if (c.name == "glEnd") inStrip = false;
        if (inStrip && c.name == "glVertex3f")
            strips.back().points.push_back({float(c.arg(0)), float(c.arg(1)), float(c.arg(2))});
    }
    return strips;
}

TEST_F(TracerPaths, FourArmsTrailTheWalkedPathToTheHeadOnTheFloor) {
    walk.tracerIndex = 5;
    walk.tracerHead = {380, 150};
    drawTracerPaths(0.5f, walk);
    const auto strips = recordedStrips();
    ASSERT_EQ(strips.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(strips[k].armAngle, 90 * k);
        ASSERT_EQ(strips[k].points.size(), 6u);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(strips[k].points[i],
                      (std::array<float, 3>{tracerPath[i].x, -400, tracerPath[i].z}));
        EXPECT_EQ(strips[k].points[5], (std::array<float, 3>{380, -400, 150}));
    }
    // Head markers: flat discs at the head, turned with their arm; the centre disc above.
    const auto translates = glrec::named("glTranslatef");
    ASSERT_EQ(translates.size(), 5u);
    const auto head = glrec::apply(translates[1].modelview, 380, -400, 150);
    EXPECT_NEAR(head[0], 150, 1e-9); // arm 1, a quarter turn about +y: (x, z) to (z, -x)
    EXPECT_NEAR(head[1], -400, 1e-9);
    EXPECT_NEAR(head[2], -380, 1e-9);
    EXPECT_EQ(translates[4].args, (std::vector<double>{0, -398, 0}));
    EXPECT_EQ(glrec::state().modelview.size(), 1u);
}

TEST_F(TracerPaths, FallingArmsDropTheirPathButNotTheirHead) {
    walk.tracerIndex = 3;
    walk.tracerHead = {300, 50};
    drawTracerPaths(0.619523f, walk);
    const auto strips = recordedStrips();
    ASSERT_EQ(strips.size(), 4u);
    EXPECT_NEAR(strips[0].points[0][1], -700, 0.01);
    EXPECT_NEAR(strips[1].points[0][1], -475, 0.01);
    EXPECT_EQ(strips[3].points[0][1], -400);
    for (const Strip& s : strips) EXPECT_EQ(s.points.back()[1], -400);

    glrec::reset();
    drawTracerPaths(std::nextafter(0.629523f, 1.0f), walk);
    const auto later = recordedStrips();
    ASSERT_EQ(later.size(), 3u) << "arm 0 has fallen out";
    EXPECT_EQ(later[0].armAngle, 90);

    glrec::reset();
    drawTracerPaths(0.65f, walk);
    EXPECT_EQ(glrec::count("glBegin"), 0u);
}

} // namespace
